// Real bulletins end to end: every land report gets its station lines, every
// report of the real data set is decoded, and the result does not depend
// on how the stream is cut into Parse calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "decoder_test_support.h"
#include "test_name.h"

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
        for (std::size_t at = 0; at < text.size(); at += piece)
            harness.Feed(text.substr(at, piece));
    }
    return harness.Sink().Transcript();
}

bool StartsAReport(const std::string& word, const std::string& kind) {
    if (kind == "AAXX")
        return word.size() == 5 && word.find_first_not_of("0123456789") == std::string::npos;
    return !word.empty() &&
           word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") == std::string::npos;
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

// Reports of a file counted from the text alone: after an indicator that
// starts a line, each "="-ended run of words that begins with a five-figure
// station number (land) or a call sign (ship, mobile) is one report. Anything
// else where a report should begin, "NNNN" and "ZCZC" end the indicator's reach.
int CountReports(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    std::string kind;
    int skip = 0;
    bool atReportStart = true;
    int reports = 0;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string word;
        for (bool first = true; words >> word; first = false) {
            std::string upper = word;
            for (char& c : upper)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (first && (upper == "AAXX" || upper == "BBXX" || upper == "OOXX")) {
                kind = upper;
                skip = kind == "AAXX" ? 1 : 0;  // the day and hour group
                atReportStart = true;
            } else if (upper.find("NNNN") != std::string::npos ||
                       upper.find("ZCZC") != std::string::npos) {
                kind.clear();
            } else if (kind.empty() || skip-- > 0) {
                continue;
            } else if (atReportStart && !StartsAReport(word.substr(0, word.find('=')), kind)) {
                kind.clear();
            } else {
                atReportStart = word.back() == '=';
                reports += atReportStart;
            }
        }
    }
    return reports;
}

bool IsWordOf(const std::string& text, const std::string& word) {
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const auto end = at + word.size();
        if ((at == 0 || std::isspace(static_cast<unsigned char>(text[at - 1]))) &&
            (end == text.size() || std::isspace(static_cast<unsigned char>(text[end])) ||
             text[end] == '=')) {
            return true;
        }
    }
    return false;
}

TEST(RealBulletinsTest, AtMostOnePercentOfTheReportsIsLostAndNoStationIsInvented) {
    int reports = 0;
    int lost = 0;
    for (const auto& file : testing::RealDataFiles()) {
        const std::string text = WithoutNul(testing::ReadFile(file));
        DecoderHarness harness;
        harness.Feed(text);
        const auto stations = testing::StationIdentities(harness.Sink());
        for (const auto& result : harness.Sink().OfKind("Result"))
            ASSERT_FALSE(result.text.empty());
        for (const auto& station : stations) {
            EXPECT_TRUE(station.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") ==
                            std::string::npos &&
                        IsWordOf(text, station))
                << file << ": invented station " << station;
        }
        const int found = CountReports(text);
        reports += found;
        lost += std::max(0, found - static_cast<int>(stations.size()));
        // data0300 has blank lines after ZCZC, after the heading and before NNNN.
        if (file.find("data0300") != std::string::npos) {
            EXPECT_GE(static_cast<int>(stations.size()), found) << file;
        }
    }
    EXPECT_GT(reports, 2500);
    EXPECT_LE(lost * 100, reports) << lost << " of " << reports << " reports lost";
}

// What a receiving terminal prints of double-spaced traffic: every line
// followed by a blank line, with teleprinter line ends.
std::string DoubleSpaced(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') continue;
        out += c == '\n' ? std::string("\r\r\n\r\r\n") : std::string(1, c);
    }
    return out;
}

std::string WithoutBloc(const std::string& transcript) {
    std::istringstream lines(transcript);
    std::string out;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Bloc ", 0) != 0) out += line + "\n";
    }
    return out;
}

// One case per real file, so that CTest spreads them; a failure names the cutting.
class FragmentationTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FragmentationTest, ResultDoesNotDependOnHowTheStreamIsCut) {
    const std::string text = WithoutNul(testing::ReadFile(GetParam()));
    const std::string whole = DecodeInPieces(text, text.size() + 1, false);
    EXPECT_EQ(DecodeInPieces(text, 0, false), whole) << "by lines";
    EXPECT_EQ(DecodeInPieces(text, 1, false), whole) << "byte by byte";
    EXPECT_EQ(DecodeInPieces(text, 7, true), DecodeInPieces(text, text.size() + 1, true))
        << "in pieces of 7, relaxed";
    EXPECT_EQ(WithoutBloc(DecodeInPieces(DoubleSpaced(text), 0, false)), WithoutBloc(whole))
        << "double-spaced";
}

// Named after the file's path below the data folder.
INSTANTIATE_TEST_SUITE_P(RealFiles, FragmentationTest,
                         ::testing::ValuesIn(testing::RealDataFiles()), [](const auto& info) {
                             const auto root = sizeof NIMBO_TEST_DATA_DIR "/synop";
                             return testsupport::TestName(info.param.substr(root));
                         });

}  // namespace
}  // namespace nimbo
