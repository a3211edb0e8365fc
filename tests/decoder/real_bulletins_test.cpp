// Real bulletins end to end: every land report gets its station lines, the
// whole real data set decodes without fault, and the result does not depend
// on how the stream is cut into Parse calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "decoder_test_support.h"

namespace nimbo {
namespace {

using testing::DecoderHarness;

// Parse takes zero-terminated text, so a NUL byte in a capture ends a call;
// the comparisons below are about cutting, so NULs are left out first.
std::string WithoutNul(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
  return text;
}

std::string DecodeInPieces(const std::string& text, std::size_t piece, bool relax) {
  DecoderHarness harness;
  harness.Decoder().put_DecoderRelax(relax ? 1 : 0);
  if (piece == 0) {
    // By lines.
    std::size_t start = 0;
    while (start < text.size()) {
      const auto end = text.find('\n', start);
      const std::size_t stop = end == std::string::npos ? text.size() : end + 1;
      harness.Feed(text.substr(start, stop - start));
      start = stop;
    }
  } else {
    for (std::size_t at = 0; at < text.size(); at += piece) harness.Feed(text.substr(at, piece));
  }
  return harness.Sink().Transcript();
}

bool InCatalogue(const std::string& number) {
  static const std::string catalogue = "\n" + testing::ReadFile(NIMBO_CATALOGUE_SOURCE);
  return catalogue.find("\n" + number + " ") != std::string::npos;
}

TEST(RealBulletinsTest, EveryCataloguedLandStationGetsItsNameAndPosition) {
  DecoderHarness harness;
  harness.Feed(testing::ReadTestData("synop/metno-kvnorcom/synop/data0600"));
  const auto& events = harness.Sink().events;
  int land = 0;
  int catalogued = 0;
  for (std::size_t i = 0; i + 3 < events.size(); ++i) {
    const std::string& value = events[i + 1].text;
    if (events[i].text != "Station Identity:  " || value.size() != 12 || value[0] == ' ' ||
        value.find_first_not_of("0123456789") != 5) {
      continue;
    }
    ++land;
    const std::string number = value.substr(0, 5);
    if (!InCatalogue(number)) continue;
    ++catalogued;
    ASSERT_EQ(events[i + 3].text.rfind("Station Reference: ", 0), 0u) << number;
    ASSERT_EQ(events[i + 4].kind, "Position") << number;
    EXPECT_LT(std::abs(events[i + 4].x), 91.0f) << number;
  }
  EXPECT_GT(land, 150);
  EXPECT_GE(catalogued, land * 95 / 100);
}

TEST(RealBulletinsTest, WholeRealDataSetDecodesInStrictAndRelaxedMode) {
  for (const bool relax : {false, true}) {
    DecoderHarness harness;
    harness.Decoder().put_DecoderRelax(relax ? 1 : 0);
    for (const auto& file : testing::RealDataFiles()) harness.Feed(WithoutNul(testing::ReadFile(file)));
    EXPECT_GT(harness.Sink().OfKind("Indicator").size(), 600u);
    EXPECT_GT(harness.Sink().OfKind("Separator").size(), 3000u);
    for (const auto& result : harness.Sink().OfKind("Result")) ASSERT_FALSE(result.text.empty());
  }
}

// One test over every file: a failure names the file and the cutting.
TEST(FragmentationTest, ResultDoesNotDependOnHowTheStreamIsCut) {
  for (const auto& file : testing::RealDataFiles()) {
    const std::string text = WithoutNul(testing::ReadFile(file));
    const std::string whole = DecodeInPieces(text, text.size() + 1, false);
    EXPECT_EQ(DecodeInPieces(text, 0, false), whole) << file << ": by lines";
    EXPECT_EQ(DecodeInPieces(text, 1, false), whole) << file << ": byte by byte";
    EXPECT_EQ(DecodeInPieces(text, 7, true), DecodeInPieces(text, text.size() + 1, true))
        << file << ": in pieces of 7, relaxed";
  }
}

}  // namespace
}  // namespace nimbo
