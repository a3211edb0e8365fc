// Report parser: framing, states, report end, error rule, resynchronisation,
// section markers and the hand-on of a run-together station group.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "decoder_test_support.h"
#include "message_splitter.h"

namespace nimbo {
namespace {

using testing::DecoderHarness;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string kHeading = "ZCZC 001\nSMDL01 EDZW 061200\n";

std::string Land(const std::string& reports) {
    return kHeading + "AAXX 06121\n" + reports + "\nNNNN\n";
}

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
    EXPECT_EQ(harness.Sink().OfKind("Separator").size(),
              1u + 2u * 2u);  // heading, 2 x (report + iRixhVV)
}

TEST(ReportParserTest, ReportEndCharactersEndTheReport) {
    for (const char* end : {"=", "==", "V", ";"}) {
        DecoderHarness harness;
        harness.Feed(Land(std::string("10400 32965 02405 30125") + end + "\n10384 NIL="));
        EXPECT_NE(harness.Text().find("Station Pressure:  1012.5hPa \n"), std::string::npos) << end;
        EXPECT_NE(harness.Text().find("10384"), std::string::npos) << end;
        EXPECT_TRUE(harness.Errors().empty()) << end;
    }
}

// Strict, the rest of the report is skipped; relaxed, the decoder goes on.
TEST(ReportParserTest, AfterAnErrorStrictModeSkipsTheRestOfTheReport) {
    for (const bool relax : {false, true}) {
        const auto decoded = testing::DecodeAfter(
            Land("10400 32965 02405 20111 10125 30125=\n10384 32965 02405 10200="), "",
            {.relax = relax});
        ASSERT_EQ(decoded.errors.size(), 1u);
        EXPECT_EQ(decoded.errors[0], "DATA ERROR:        10125\n");
        EXPECT_EQ(decoded.text.find("1012.5") != std::string::npos, relax);
        EXPECT_NE(decoded.text.find("+20.0"), std::string::npos);  // next report decoded again
    }
}

TEST(ReportParserTest, OverLongTokenGivesOneErrorAndTheReportGoesOn) {
    DecoderHarness harness;
    harness.Decoder().put_DecoderRelax(1);
    harness.Feed(Land("10400 32965 02405 " + std::string(100000, '1') + " 30125="));
    ASSERT_EQ(harness.Errors().size(), 1u);
    EXPECT_EQ(harness.Errors()[0].size(), 19 + kMaxTokenLength + 1);
    EXPECT_NE(harness.Text().find("1012.5"), std::string::npos);
}

TEST(ReportParserTest, TenFiguresAreStationAndCloudGroupRunTogether) {
    DecoderHarness harness;
    harness.Feed(Land("1040032965 02405 10125="));
    EXPECT_TRUE(harness.Errors().empty());
    EXPECT_THAT(harness.Text(), ::testing::AllOf(HasSubstr("Station Identity:  10400"),
                                                 HasSubstr("Visibility:         15km\n"),
                                                 HasSubstr("Wind direction:    240\xB0 (-5/+4)\n"),
                                                 HasSubstr("+12.5")));
}

TEST(ReportParserTest, SectionMarkersNeedSectionOneAndTwoTwoTwoNeedsTheWindGroup) {
    DecoderHarness harness;
    harness.Feed(Land("10400 32965 02405 10125 333 20111="));
    const auto separators = harness.Sink().OfKind("Separator");
    EXPECT_EQ(std::count_if(separators.begin(), separators.end(), [](auto& s) { return s.a == 2; }),
              2);  // after iRixhVV, and at 333
    EXPECT_TRUE(harness.Errors().empty());
}

// Groups of sections 3 and 5 that begin with 222 belong to their section.
TEST(ReportParserTest, TwoTwoTwoOpensSectionTwoOnlyAfterSectionOne) {
    DecoderHarness harness;
    harness.Feed(Land("10400 32965 02405 10125 333 55300 0//// 22275 91108 555 22201="));
    EXPECT_THAT(harness.Text(), ::testing::AllOf(Not(HasSubstr("Ship direction:")),
                                                 HasSubstr("Radiation amount:  2275kJ/m2\n"),
                                                 HasSubstr("Special Phenomena: 911 "),
                                                 HasSubstr("National data:    \n 22201\n")));
    EXPECT_TRUE(harness.Errors().empty());
}

// The guessed indicator, a text the decoded reports hold, one they must not hold.
TEST(ReportParserTest, ResynchronisationSkipsToTheReportAfterTheGuess) {
    for (const auto& [stream, guess, decoded, skipped] :
         std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
             {"10384 32965 02405 10200=\n10385 32965 02405 10300=\n10386 32965 02405 10400=\n",
              "AAXX", "+40.0", "+30.0"},
             {"10384 32965=\nABCD 06121 99512 10025 32965=\nEFGH 06121 99513 10026 32965 02405=\n",
              "BBXX", "Station Identity:  EFGH \n", "+20.0"}}) {
        DecoderHarness harness;
        harness.Feed(kHeading + "AAXX 06121\n10400 32965 02405 10125=\n");
        harness.Decoder().put_DecoderResyn(1);
        harness.Feed(stream);
        const auto guesses = harness.Sink().OfKind("Guess");
        ASSERT_EQ(guesses.size(), 1u);
        EXPECT_EQ(guesses[0].text, guess);
        EXPECT_NE(harness.Text().find(decoded), std::string::npos) << guess;
        EXPECT_EQ(harness.Text().find(skipped), std::string::npos) << guess;
        EXPECT_EQ(harness.Text().find("+20.0"), std::string::npos) << guess;
    }
}

TEST(ReportParserTest, ShipReportIdentifiesItsCallSignAndPosition) {
    DecoderHarness harness;
    harness.Feed(
        "ZCZC 002\nSMVX01 EGRR 061200\nBBXX\nLF4B 06121 99512 70025 41598 72405 10052=\nNNNN\n");
    EXPECT_TRUE(harness.Errors().empty());
    EXPECT_THAT(harness.Text(),
                ::testing::AllOf(HasSubstr("Reporting station: BBXX - Maritime\n"),
                                 HasSubstr("Station Identity:  LF4B \n"),
                                 HasSubstr("Position:          Lt=51.2\xB0 Lg=002.5\xB0\n")));
    ASSERT_EQ(harness.Sink().OfKind("Position").size(), 1u);  // its signs: QuadrantSets...
    EXPECT_EQ(harness.Sink().OfKind("Position")[0].text, "LF4B");
    ASSERT_EQ(harness.Sink().OfKind("Temperature").size(), 1u);
    EXPECT_FLOAT_EQ(harness.Sink().OfKind("Temperature")[0].x, 5.2f);
}

TEST(ReportParserTest, IndicatorInsideAReportLineIsAnnouncedButNotTaken) {
    DecoderHarness harness;
    harness.Feed(Land("10400 32965 02405 AAXX="));
    EXPECT_EQ(harness.Sink().OfKind("Indicator").size(), 2u);
}

// Groups that break a rule of their section: one DATA ERROR line naming the group.
struct ErrorCase {
    const char* name;
    std::string report;  // a land report of 10400, or a ship report when it starts with "LD"
    std::string group;
};

const std::string kShip2 = "LDWR3 06121 99600 70050 41/// 22405 10125 22200 ";

const ErrorCase kErrorCases[] = {
    {"SlashGroupOnceTheOrderStarted", "32965 02405 ///// 10125 ///// 30125", "/////"},
    {"GroupAfterGroupNine", "32965 02405 91200 10125", "10125"},
    {"MarkerBeforeTheCloudGroup", "333 02405", "333"},  // taken as iRixhVV
    {"Section1WrongLength", "31465 02405 1012", "1012"},
    {"Section2WrongFigure", kShip2 + "71021", "71021"},
    {"Section2FourFigures", kShip2 + "0125", "0125"},
    {"Section2SixFigures", kShip2 + "101234", "101234"},
    {"Section2IceOfFourFigures", kShip2 + "ICE 1234", "1234"},
    {"Section3RadiationTypeNotRising", "32465 02405 333 55123 21234 21234", "21234"},
    {"Section3FiveGroupWithLowerJ1", "32465 02405 333 57285 54213", "54213"},
    {"Section3OutOfOrder", "32465 02405 333 70125 31101 81225", "31101"},
    {"Section3RegionalFourFigures", "32465 02405 333 91208 80000 0123", "0123"},
    {"Section3SlashGroupAfterAGroup", "32465 02405 333 10178 /////", "/////"},
    {"Section3FourFigures", "32465 02405 333 1017", "1017"},
    {"Section3SixFigures", "32465 02405 333 101788", "101788"},
    {"Section3EightGroupOfFourFigures", "32465 02405 333 8122", "8122"},
    {"Section4WrongLength", "32465 02405 444 5215 52153", "5215"},
};

void PrintTo(const ErrorCase& error, std::ostream* out) { *out << error.name; }

class ErrorGroupTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorGroupTest, OneDataErrorNamesTheGroup) {
    const bool ship = GetParam().report.starts_with("LD");
    const auto decoded =
        testing::DecodeAfter(ship ? testing::ShipBulletin(GetParam().report + "=")
                                  : testing::LandBulletin("10400 " + GetParam().report + "="),
                             "");
    ASSERT_EQ(decoded.errors.size(), 1u);
    EXPECT_EQ(decoded.errors[0], "DATA ERROR:        " + GetParam().group + "\n");
}

INSTANTIATE_TEST_SUITE_P(Rules, ErrorGroupTest, ::testing::ValuesIn(kErrorCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Framing of real traffic: each row is a stream and the station identities
// the decoder must print for it, in order, with no DATA ERROR line.
struct FramingCase {
    const char* name;
    std::string input;
    std::vector<std::string> stations;
    int headings;  // "Designator:" lines
};

const std::string kDoubleSpaced =
    "ZCZC\r\r\n\r\r\nSINO99 ENBJ 270300\r\r\n\r\r\nAAXX 27034\r\r\n\r\r\n"
    "01028 41470 40319 10012\r\r\n\r\r\n      333   91126=\r\r\n\r\r\n"
    "01062 41356 73611 11004=\r\r\n\r\r\nNNNN\r\r\n";
const std::string kImdStamps =
    "SMIN90 VOMM 010000 \nAAXX 01004\r\n43377 32596 42704 10280=\nTOT: 00:16  01-05-2026\r\r\n"
    "\r\r\n001\r\r\nSMIN90 VOMM 010000 \nAAXX 01004\r\n43325 31596 60000 10278=\n"
    "TOT: 00:16  01-05-2026\r\r\n";
const std::string kSohEtxTrailers =
    "\x01\r\r\n886\r\r\nSMPR01 SPIM 281800\r\r\nAAXX 28184\r\r\n84455 31560 60902 10300=\r\r\n"
    "81209 NIL=\r\r\n\x03\x01\r\r\n792\r\r\nSMVE01 NZKL 281800\r\r\nBBXX\r\r\n"
    "ZMSOA  28184 99415 31748 46/// /2014 10097=\r\r\n\x03";

const FramingCase kFramingCases[] = {
    {"DoubleSpacedBulletin", kDoubleSpaced, {"01028", "01062"}, 1},
    {"HeadinglessZczc",
     "ZCZC\r\r\nAAXX 22001\r\r\n01025 16/// /1806 10027=\r\r\nNNNN\r\r\n",
     {"01025"},
     0},
    {"SenderEndingInV",
     "ZCZC 1\nSMNO01 ENVV 270300\nAAXX 27034\n01028 41470 40319 10012=\nNNNN\n",
     {"01028"},
     1},
    {"ShipCallSignEndingInV",
     "ZCZC 2\nSMVX01 ENMI 061200\nBBXX\nLAHV 06121 99512 70025 41598 72405 10052=\nNNNN\n",
     {"LAHV"},
     1},
    {"SwitchStampsAfterReports", kImdStamps, {"43377", "43325"}, 2},
    {"SohEtxTrailers", kSohEtxTrailers, {"84455", "81209", "ZMSOA"}, 2},
    {"LowerCaseEndAndNil",
     "ZCZC 123\nSMCU20 MUHV 310000\nAAXX 31001\n78325 32970 10302 10256=\n78339 nil=\nnnnn\n"
     "78310 32970 10302 10256=\n",
     {"78325", "78339"},
     1},
    {"NilInLettersShift", Land("10400 NILV\n10384 32965 02405 10200=="), {"10400", "10384"}, 1},
};

void PrintTo(const FramingCase& framing, std::ostream* out) { *out << framing.name; }

class FramingTest : public ::testing::TestWithParam<std::tuple<FramingCase, bool>> {};

TEST_P(FramingTest, EveryReportIsDecodedAndNothingElse) {
    const auto& [framing, locked] = GetParam();
    DecoderHarness harness;
    harness.Decoder().put_DecoderLock(locked ? 1 : 0);
    harness.Feed(framing.input);
    EXPECT_EQ(testing::StationIdentities(harness.Sink()), framing.stations);
    EXPECT_TRUE(harness.Errors().empty()) << harness.Errors()[0];
    // Without the lock no heading is handed on after text between bulletins.
    if (locked) {
        EXPECT_EQ(CountOf(harness.Text(), "Designator:"), framing.headings);
    }
}

INSTANTIATE_TEST_SUITE_P(RealTraffic, FramingTest,
                         ::testing::Combine(::testing::ValuesIn(kFramingCases), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "Locked" : "Unlocked");
                         });

}  // namespace
}  // namespace nimbo
