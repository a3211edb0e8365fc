// Report parser: framing, states, report end, error rule, resynchronisation,
// section markers and the hand-on of a run-together station group.
#include <gtest/gtest.h>

#include <string>

#include "decoder_test_support.h"

namespace nimbo {
namespace {

using testing::DecoderHarness;

const std::string kHeading = "ZCZC 001\nSMDL01 EDZW 061200\n";

std::string Land(const std::string& reports) { return kHeading + "AAXX 06121\n" + reports + "\nNNNN\n"; }

int CountOf(const std::string& text, const std::string& what) {
  int count = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

TEST(ReportParserTest, HeadingLinesComeInSenderDesignatorTimeStatusOrder) {
  DecoderHarness harness;
  harness.Feed(kHeading + "AAXX 06121\n");
  const auto results = harness.Sink().OfKind("Result");
  ASSERT_GE(results.size(), 5u);
  EXPECT_EQ(results[0].text, "Sender Identity:   ");
  EXPECT_EQ(results[1].text, "EDZW\n");
  EXPECT_EQ(results[1].b, 1);
  EXPECT_EQ(results[2].text.rfind("Designator:        SMDL01\n", 0), 0u);
  EXPECT_EQ(results[3].text.rfind("Transmitted time:  06/", 0), 0u);
  EXPECT_EQ(results[4].text, "Reported status:   None\n");
  EXPECT_EQ(harness.Sink().events[2].kind, "Separator");  // after Message and Indicator
}

TEST(ReportParserTest, FifthItemOnTheHeadingLineIsAnError) {
  DecoderHarness harness;
  harness.Decoder().put_DecoderLock(0);
  harness.Feed("ZCZC 001\nSMDL01 EDZW 061200 RRA EXTRA\n");
  ASSERT_EQ(harness.Errors().size(), 1u);
  EXPECT_EQ(harness.Errors()[0], "DATA ERROR:        RRA\n");
}

TEST(ReportParserTest, EveryLandReportRepeatsTheObservationTime) {
  DecoderHarness harness;
  harness.Feed(Land("10400 32965 02405 10125=\n10384 32965 02405 10125="));
  EXPECT_EQ(CountOf(harness.Text(), "Observation time:  06/"), 2);
  EXPECT_EQ(CountOf(harness.Text(), "Station Identity:  "), 2);
  EXPECT_EQ(harness.Sink().OfKind("Separator").size(), 1u + 2u * 2u);  // heading, 2 x (report + iRixhVV)
}

TEST(ReportParserTest, ReportEndCharactersEndTheReport) {
  for (const char* end : {"=", "V", ";"}) {
    DecoderHarness harness;
    harness.Feed(Land(std::string("10400 32965 02405 30125") + end + "\n10384 NIL="));
    EXPECT_NE(harness.Text().find("Station Pressure:  1012.5hPa \n"), std::string::npos) << end;
    EXPECT_NE(harness.Text().find("10384"), std::string::npos) << end;
    EXPECT_TRUE(harness.Errors().empty()) << end;
  }
}

TEST(ReportParserTest, StrictModeSkipsTheRestOfTheReportAfterAnError) {
  DecoderHarness harness;
  harness.Feed(Land("10400 32965 02405 20111 10125 30125=\n10384 32965 02405 10200="));
  ASSERT_EQ(harness.Errors().size(), 1u);
  EXPECT_EQ(harness.Errors()[0], "DATA ERROR:        10125\n");
  EXPECT_EQ(harness.Text().find("1012.5"), std::string::npos);
  EXPECT_NE(harness.Text().find("+20.0"), std::string::npos);  // next report decoded again
}

TEST(ReportParserTest, RelaxedModeGoesOnAfterAnError) {
  DecoderHarness harness;
  harness.Decoder().put_DecoderRelax(1);
  harness.Feed(Land("10400 32965 02405 20111 10125 30125="));
  EXPECT_EQ(harness.Errors().size(), 1u);
  EXPECT_NE(harness.Text().find("1012.5"), std::string::npos);
}

TEST(ReportParserTest, SlashGroupBreaksTheOrderOnlyOnceAGroupWasDecoded) {
  DecoderHarness harness;
  harness.Feed(Land("10400 32965 02405 ///// 10125 ///// 30125="));
  ASSERT_EQ(harness.Errors().size(), 1u);
  EXPECT_EQ(harness.Errors()[0], "DATA ERROR:        /////\n");
}

TEST(ReportParserTest, GroupAfterGroupNineIsAnError) {
  DecoderHarness harness;
  harness.Feed(Land("10400 32965 02405 91200 10125="));
  EXPECT_EQ(harness.Errors().size(), 1u);
}

TEST(ReportParserTest, NilReportPrintsNoDataReported) {
  DecoderHarness harness;
  harness.Feed(Land("10400 NIL="));
  EXPECT_NE(harness.Text().find("No data reported\n"), std::string::npos);
  EXPECT_TRUE(harness.Errors().empty());
}

TEST(ReportParserTest, TenFiguresAreStationAndCloudGroupRunTogether) {
  DecoderHarness harness;
  harness.Feed(Land("1040032965 02405 10125="));
  EXPECT_TRUE(harness.Errors().empty());
  EXPECT_NE(harness.Text().find("Station Identity:  10400"), std::string::npos);
  EXPECT_NE(harness.Text().find("Visibility:         15km\n"), std::string::npos);
  EXPECT_NE(harness.Text().find("Wind direction:    240\xB0 (-5/+4)\n"), std::string::npos);
  EXPECT_NE(harness.Text().find("+12.5"), std::string::npos);
}

TEST(ReportParserTest, SectionMarkersNeedSectionOneAndTwoTwoTwoNeedsTheWindGroup) {
  DecoderHarness harness;
  harness.Feed(Land("10400 32965 02405 10125 333 20111="));
  const auto separators = harness.Sink().OfKind("Separator");
  int sectionSeparators = 0;
  for (const auto& separator : separators) sectionSeparators += separator.a == 2;
  EXPECT_EQ(sectionSeparators, 2);  // after iRixhVV, and at 333
  EXPECT_TRUE(harness.Errors().empty());
}

// Groups of sections 3 and 5 that begin with 222 belong to their section.
TEST(ReportParserTest, TwoTwoTwoOpensSectionTwoOnlyAfterSectionOne) {
  DecoderHarness harness;
  harness.Feed(Land("10400 32965 02405 10125 333 55300 0//// 22275 91108 555 22201="));
  const std::string text = harness.Text();
  EXPECT_EQ(text.find("Ship direction:"), std::string::npos) << text;
  EXPECT_NE(text.find("Radiation amount:  2275kJ/m2\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Special Phenomena: 911 "), std::string::npos) << text;
  EXPECT_NE(text.find("National data:    \n 22201\n"), std::string::npos) << text;
  EXPECT_TRUE(harness.Errors().empty());
}

TEST(ReportParserTest, MarkerBeforeTheCloudGroupIsAnOrdinaryGroup) {
  DecoderHarness harness;
  harness.Feed(Land("10400 333 02405="));
  // "333" is taken as iRixhVV: it has the wrong length.
  ASSERT_EQ(harness.Errors().size(), 1u);
  EXPECT_EQ(harness.Errors()[0], "DATA ERROR:        333\n");
}

TEST(ReportParserTest, BlankLineEndsTheReportFraming) {
  DecoderHarness harness;
  harness.Decoder().put_DecoderLock(0);
  harness.Feed(kHeading + "AAXX 06121\n10400 32965\n\n02405 10125=\n");
  EXPECT_EQ(harness.Sink().OfKind("Bloc").size(), 1u);
  EXPECT_EQ(harness.Text().find("Wind direction"), std::string::npos);
}

TEST(ReportParserTest, ResynchronisationSkipsToTheReportAfterTheGuess) {
  DecoderHarness harness;
  harness.Feed(kHeading + "AAXX 06121\n10400 32965 02405 10125=\n");
  harness.Decoder().put_DecoderResyn(1);
  std::int32_t resyn = 0;
  harness.Decoder().get_DecoderResyn(&resyn);
  EXPECT_EQ(resyn, 1);
  harness.Feed("10384 32965 02405 10200=\n10385 32965 02405 10300=\n10386 32965 02405 10400=\n");
  const auto guesses = harness.Sink().OfKind("Guess");
  ASSERT_EQ(guesses.size(), 1u);
  EXPECT_EQ(guesses[0].text, "AAXX");
  const std::string text = harness.Text();
  EXPECT_EQ(text.find("+20.0"), std::string::npos);
  EXPECT_EQ(text.find("+30.0"), std::string::npos);
  EXPECT_NE(text.find("+40.0"), std::string::npos);
}

TEST(ReportParserTest, ResynchronisationGuessesAShipFromNinetyNine) {
  DecoderHarness harness;
  harness.Feed(kHeading + "AAXX 06121\n10400 32965 02405 10125=\n");
  harness.Decoder().put_DecoderResyn(1);
  harness.Feed("10384 32965=\nABCD 06121 99512 10025 32965=\nEFGH 06121 99513 10026 32965 02405=\n");
  ASSERT_EQ(harness.Sink().OfKind("Guess").size(), 1u);
  EXPECT_EQ(harness.Sink().OfKind("Guess")[0].text, "BBXX");
  EXPECT_NE(harness.Text().find("Station Identity:  EFGH \n"), std::string::npos);
}

TEST(ReportParserTest, ShipReportIdentifiesItsCallSignAndPosition) {
  DecoderHarness harness;
  harness.Feed("ZCZC 002\nSMVX01 EGRR 061200\nBBXX\nLF4B 06121 99512 70025 41598 72405 10052=\nNNNN\n");
  EXPECT_TRUE(harness.Errors().empty());
  const std::string text = harness.Text();
  EXPECT_NE(text.find("Reporting station: BBXX - Maritime\n"), std::string::npos);
  EXPECT_NE(text.find("Station Identity:  LF4B \n"), std::string::npos);
  EXPECT_NE(text.find("Position:          Lt=51.2\xB0 Lg=002.5\xB0\n"), std::string::npos);
  const auto positions = harness.Sink().OfKind("Position");
  ASSERT_EQ(positions.size(), 1u);
  EXPECT_FLOAT_EQ(positions[0].x, 51.2f);
  EXPECT_FLOAT_EQ(positions[0].y, -2.5f);
  EXPECT_EQ(positions[0].text, "LF4B");
  ASSERT_EQ(harness.Sink().OfKind("Temperature").size(), 1u);
  EXPECT_FLOAT_EQ(harness.Sink().OfKind("Temperature")[0].x, 5.2f);
}

TEST(ReportParserTest, MobileReportDecodesItsSquareAndAltitude) {
  DecoderHarness harness;
  harness.Feed("ZCZC 003\nSNCN19 CWAO 061200\nOOXX\nNOP49 06121 99512 70025 12345 01231 32965 02405=\nNNNN\n");
  EXPECT_TRUE(harness.Errors().empty());
  EXPECT_NE(harness.Text().find("Reporting station: OOXX - Land mobile\n"), std::string::npos);
  EXPECT_NE(harness.Text().find("Marsden square:    123 4Lt 5Lg\n"), std::string::npos);
  EXPECT_NE(harness.Text().find("Mobile altitude:   123m\n"), std::string::npos);
  EXPECT_NE(harness.Text().find("Total cloud cover: "), std::string::npos);
}

TEST(ReportParserTest, IndicatorInsideAReportLineIsAnnouncedButNotTaken) {
  DecoderHarness harness;
  harness.Feed(Land("10400 32965 02405 AAXX="));
  EXPECT_EQ(harness.Sink().OfKind("Indicator").size(), 2u);
}

}  // namespace
}  // namespace nimbo
