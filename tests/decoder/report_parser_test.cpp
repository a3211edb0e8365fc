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
    // Values outside the WMO code tables, each from real traffic.
    {"GroupSevenThatIxSaysOmitted", "32596 33202 10414 20160 49941 70500 83800", "70500"},
    {"QuadrantOutsideTheTable", "LDWR3 06184 99408 20635 41/// 22405 10125", "20635"},
    {"SignOfTemperature", "32965 02405 19199", "19199"},
    {"SignOfDewPoint", "41697 80709 10147 22189 40083", "22189"},
    {"SignOfMaximum", "32465 02405 333 19199", "19199"},
    {"DirectionOutsideTheTable", "32596 34951 10352 20256", "34951"},
    {"CalmWithWind", "83234 10030 20030", "10030"},
    {"UnusedVisibility", "22253 00290 20101", "22253"},
    {"TwoTwoTwoInThePlaceOfGroupTwo", "32965 02405 10125 22244", "22244"},
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

// Framing of real traffic: each row is a stream, the station identities the
// decoder must print for it, in order, and its DATA ERROR lines: one bad
// report costs only itself.
struct FramingCase {
    const char* name;
    std::string input;
    std::vector<std::string> stations;
    int headings;                          // "Designator:" lines
    std::vector<std::string> errors = {};  // what each DATA ERROR names
    std::string line = {};                 // a line the text must hold
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

const std::string kReport = "10400 32965 02405 10125=";
const std::string kNil = "10384 NIL=\n";
const std::vector<std::string> kBoth = {"10400", "10384"};

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
    // Worldwide collected traffic (phoenixlzx AAXX0514, AAXX1102) and radio copy.
    {"OrphanFragment", Land(kReport + "\n333 00502=\n" + kNil), kBoth, 1, {"333 00502"}},
    {"SixFigureJunk",
     Land(kReport + "\n100047 100048 097046 093044 094041 087041=\n" + kNil),
     kBoth,
     1,
     {"100047 100048 097046 093044 094041 087041"}},
    {"IndicatorWordAfterAReport", Land(kReport + " BBXX=\n" + kNil), kBoth, 1, {"BBXX"}},
    {"StrayGroupAfterTheAaxxLine",
     kHeading + "AAXX 06121\n12\n" + kReport + "\n" + kNil,
     kBoth,
     1,
     {"12"}},
    {"ExtraGroupOnTheAaxxLine",
     kHeading + "AAXX 06121 06121\n" + kReport + "\n" + kNil,
     kBoth,
     1,
     {"06121"}},
    {"LettersInYYGGiw",
     kHeading + "AAXX 06Z21\n" + kReport + "\n" + kNil,
     kBoth,
     1,
     {"06Z21"},
     "Observation time:  06/12/2026 12:xx UTC\n"},  // the hour from the heading
    {"MissingIw",
     kHeading + "AAXX 0612\n" + kReport + "\n" + kNil,
     kBoth,
     1,
     {"0612"},
     "Wind speed:         5 (unit unknown)\n"},
    {"MissingYYGGiw",
     kHeading + "AAXX\n10400 32965 82405 10125=\n" + kNil,
     kBoth,
     1,
     {},
     "Observation time:  06/12/2026 12:xx UTC\n"},
    {"GarbledIndicator", kHeading + "AAXA 06121\n" + kReport + "\n" + kNil, kBoth, 1, {"AAXA"}},
    {"BlankAfterTheIndicatorGarbled",
     kHeading + "AAXXR06121\n" + kReport + "\n" + kNil,
     kBoth,
     1,
     {"AAXXR06121"}},
    {"BuoyBodyInALandBulletin",
     Land("62120 14004 99564 10021 46498 /0304 10085 20062 40121 57005 22200 80073=\n" + kNil),
     {"62120", "10384"},
     1,
     {},
     "Reporting station: BBXX - Maritime\nObservation time:  14/11/2026 00:xx UTC\n"},
    {"ReportEndGarbled", Land("10400 32965 02405 10125K\n" + kNil), kBoth, 1, {"10125K"}},
    {"ReportEndGarbledOnItsOwnLine", Land("10400 32965 02405 10125\nP\n" + kNil), kBoth, 1, {"P"}},
    {"NilWithoutItsEnd", Land("10400 NIL\n" + kNil), kBoth, 1},
    {"TabsBetweenGroups", Land("10400\t32965 02405\t10125=\n" + kNil), kBoth, 1},
    {"TempMessageAfterASwitchStamp",
     kImdStamps + "\r\r\nUSIN90 VOMM 010000 \nTTAA  80231 43279 99006 30434\r\n 77999 31313=\r\n",
     {"43377", "43325"},
     2},
    // Internet format (ogimet-wilmorales21): the stamp dates the report.
    {"InternetFormat",
     "202005022300 AAXX 02231 86973 26/// /1204 10165 20061 30110 40199\n"
     "                   333 553// 00000 60005 90710 91106==\n"
     "202005022200 AAXX 02221 86973 26/// /1302 10168 20056 30107 40196==\n",
     {"86973", "86973"},
     0,
     {},
     "Observation time:  02/05/2020 22:xx UTC\n"},
    {"StampDatesOnlyItsLine",
     "202005022200 AAXX 02221 86973 26/// /1302 10168==\nAAXX 03001\n" + kNil,
     {"86973", "10384"},
     0,
     {},
     "Observation time:  03/12/2026 00:xx UTC\n"},
};

void PrintTo(const FramingCase& framing, std::ostream* out) { *out << framing.name; }

class FramingTest : public ::testing::TestWithParam<std::tuple<FramingCase, bool>> {};

TEST_P(FramingTest, EveryReportIsDecodedAndNothingElse) {
    const auto& [framing, locked] = GetParam();
    DecoderHarness harness;
    harness.Decoder().put_DecoderLock(locked ? 1 : 0);
    harness.Feed(framing.input);
    EXPECT_EQ(testing::StationIdentities(harness.Sink()), framing.stations);
    std::vector<std::string> errors;
    for (const auto& error : harness.Errors())
        errors.push_back(error.substr(19, error.size() - 20));
    EXPECT_EQ(errors, framing.errors);
    EXPECT_NE(harness.Text().find(framing.line), std::string::npos) << framing.line;
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
