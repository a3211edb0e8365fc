// Section 1 groups: each group decoded inside a report of a catalogued
// station, checked against the lines it must print and the events it raises.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "decoder_test_support.h"
#include "test_name.h"

namespace nimbo {
namespace {

using testing::Decoded;
using testing::DecoderHarness;

// Decodes "iRixhVV Nddff groups" for station 10400 (position known) and
// keeps the lines after the Nddff lines.
Decoded DecodeSection1(const std::string& cloudGroup, const std::string& groups, bool quiet = false,
                       bool catalogue = true) {
    return testing::DecodeAfter(
        testing::LandBulletin("10400 " + cloudGroup + " 02405 " + groups + "="),
        "Wind speed:", {.quiet = quiet, .relax = false, .catalogue = catalogue});
}

struct GroupCase {
    const char* group;
    const char* lines;
};

void PrintTo(const GroupCase& c, std::ostream* out) { *out << c.group; }

class Section1GroupTest : public ::testing::TestWithParam<GroupCase> {};

// Lines that end in a code-table text are checked up to that text.
TEST_P(Section1GroupTest, PrintsItsLines) {
    const Decoded decoded = DecodeSection1("31465", GetParam().group);
    EXPECT_EQ(decoded.text.substr(0, std::string(GetParam().lines).size()), GetParam().lines);
    EXPECT_TRUE(decoded.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Groups, Section1GroupTest,
    ::testing::Values(GroupCase{"00105", "Wind speed:        105m/s (from anemometer)\n"},
                      GroupCase{"10///", "Temperature:       Unknown    \n"},
                      GroupCase{"10125", "Temperature:       +12.5\260c\n"},
                      GroupCase{"11052", "Temperature:       - 5.2\260c\n"},
                      GroupCase{"1/125", "Temperature:        12.5\n"},
                      GroupCase{"1012/", "Temperature:       +12.?\260c\n"},
                      GroupCase{"29079", "Relative humidity: 79%\n"},
                      GroupCase{"29///", "Relative humidity: Unknown    \n"},
                      GroupCase{"30132", "Station Pressure:  1013.2hPa \n"},
                      GroupCase{"39875", "Station Pressure:   987.5hPa \n"},
                      GroupCase{"3///5", "Station Pressure:  ????.5hPa \n"},
                      GroupCase{"40150", "Sea Lvl Pressure:  1015.0hPa \n"},
                      GroupCase{"48507", "Geopotential:      850 hPa, 1507 gpm\n"},
                      GroupCase{"47945", "Geopotential:      700 hPa, 2945 gpm\n"},
                      GroupCase{"47123", "Geopotential:      700 hPa, 3123 gpm\n"},
                      GroupCase{"42820", "Geopotential:      925 hPa, 820 gpm\n"},
                      GroupCase{"42112", "Geopotential:      925 hPa, 1112 gpm\n"},
                      GroupCase{"41060", "Geopotential:      1000 hPa, 60 gpm\n"},
                      GroupCase{"41512", "Geopotential:      1000 hPa, -12 gpm\n"},
                      GroupCase{"45880", "Geopotential:      500 hPa, 5880 gpm\n"},
                      GroupCase{"4PPQW", "Sea Lvl Pressure:  1001.2hPa \n"},
                      GroupCase{"52015", "Pressure Tendancy:  1.5hPa "},
                      GroupCase{"6990/", "Rain fall:         trace (period not reported)\n"},
                      GroupCase{"69931", "Rain fall:         0.3mm over "},
                      GroupCase{"69891", "Rain fall:         989mm or more over "},
                      GroupCase{"60121", "Rain fall:          12mm over "},
                      GroupCase{"6001/", "Rain fall:           1mm (period not reported)\n"},
                      GroupCase{"80000", "Clouds coverage:   0\n"},
                      GroupCase{"8////",
                                "Clouds coverage:   Unknown    \nLow cloud type:    Unobserved \n"
                                "Medium cloud type: Unobserved \nHigh cloud type:   Unobserved \n"},
                      GroupCase{"91230", "Observation time:  12:30\n"},
                      GroupCase{"92530", "Observation time:  25:30 (Encoding Error)\n"},
                      GroupCase{"9////", "Observation time:  Unknown    \n"}),
    [](const auto& info) { return testsupport::TestName(info.param.group); });

// Lines whose text comes from a code table: checked by their start.
TEST(Section1Test, TableTextsFollowTheirLabels) {
    const Decoded decoded = DecodeSection1("11465", "52015 60121 70212 81234");
    for (const char* label :
         {"Pressure Tendancy:  1.5hPa ", "Rain fall:          12mm over ",
          "Present weather:   ", "Past weather:      ", "Clouds coverage:   1\n",
          "Low cloud type:    ", "Medium cloud type: ", "High cloud type:   "}) {
        EXPECT_NE(decoded.text.find(label), std::string::npos) << label;
    }
    EXPECT_EQ(decoded.text.find("Unobserved"), std::string::npos);
    EXPECT_NE(decoded.text.find("Past weather:      "), std::string::npos);
    EXPECT_NE(decoded.text.find(", "), std::string::npos);  // W2 differs from W1
    EXPECT_EQ(DecodeSection1("11465", "70222").text.find(", "), std::string::npos);
}

// iRixhVV: operation type and weather announcement (Ix), visibility (VV); Nddff.
TEST(Section1Test, CloudAndWindGroupLines) {
    const std::string manned = "Operation type:    Manned station    \nPresent weather:   ";
    const std::string automated = "Operation type:    Automated station \nPresent weather:   ";
    const std::string vis = "Visibility:        ";
    for (const auto& [group, lines] : std::vector<std::pair<std::string, std::string>>{
             {"11465", manned + "Sent using old 4677/4561 table code\n"},
             {"32465", manned + "not send\n"},
             {"17465", automated + "Sent using new 4680/4531 table code\n"},
             {"16465", automated + "not send\n"},
             {"31400", vis + "less than 0.1 km\n"},
             {"31405", vis + "0.5km\n"},
             {"31413", vis + "1.3km\n"},
             {"31450", vis + "5.0km\n"},
             {"31465", vis + " 15km\n"},
             {"31482", vis + " 40km\n"},
             {"31489", vis + "greater than 70 km\n"},
             {"31490", vis + "less than 0.05 km\n"},
             {"31499", vis + "greater than 50 km\n"},
             {"314//", vis + "Unknown    \n"},
             {"31465 00000", "Wind direction:    calm\n"},
             {"31465 09905", "Wind direction:    variable direction\n"}}) {
        const auto report =
            testing::LandBulletin("10400 " + group + (group.size() == 5 ? " 02405=" : "="));
        EXPECT_NE(testing::DecodeAfter(report, "").text.find(lines), std::string::npos) << group;
    }
}

TEST(Section1Test, QuietModeDropsMissingLinesButKeepsTheWindSpeed) {
    for (const bool quiet : {false, true}) {
        DecoderHarness harness;
        harness.Decoder().put_DecoderQuiet(quiet ? 1 : 0);
        harness.Feed(
            "ZCZC 1\nSMDL01 EDZW 061200\nAAXX 06121\n10400 31465 /////=\n10384 31465 ///00=\n");
        const std::string text = harness.Text();
        EXPECT_EQ(text.find("Total cloud cover: Unknown    \n") != std::string::npos, !quiet);
        EXPECT_EQ(text.find("Wind direction:    Unknown    \n") != std::string::npos, !quiet);
        EXPECT_NE(text.find("Wind speed:         0m/s (from anemometer)\n"), std::string::npos);
    }
}

TEST(Section1Test, TemperatureEventNeedsAKnownPosition) {
    const auto temperatures = DecodeSection1("31465", "10125").OfKind("Temperature");
    ASSERT_EQ(temperatures.size(), 1u);
    EXPECT_FLOAT_EQ(temperatures[0].x, 12.5f);
    EXPECT_EQ(temperatures[0].b, 0);
    // Neither without a position nor without a sign.
    EXPECT_TRUE(DecodeSection1("31465", "10125", false, false).OfKind("Temperature").empty());
    EXPECT_TRUE(DecodeSection1("31465", "1/125").OfKind("Temperature").empty());
}

TEST(Section1Test, PressuresRaiseStationAndSeaLevelEvents) {
    // A geopotential in place of the sea-level pressure is no pressure.
    for (const auto& event : DecodeSection1("31465", "37799 48507").OfKind("Pressure")) {
        EXPECT_EQ(event.b, 0) << event.Describe();
    }
    const auto pressures = DecodeSection1("31465", "30132 49875").OfKind("Pressure");
    ASSERT_EQ(pressures.size(), 2u);
    EXPECT_FLOAT_EQ(pressures[0].x, 1013.2f);
    EXPECT_EQ(pressures[0].b, 0);
    EXPECT_FLOAT_EQ(pressures[1].x, 987.5f);
    EXPECT_EQ(pressures[1].b, 1);
}

TEST(Section1Test, ObservationTimeRemainderIsAtTheSenderLevel) {
    const auto results = DecodeSection1("31465", "92530").OfKind("Result");
    ASSERT_GE(results.size(), 2u);
    EXPECT_EQ(results[results.size() - 2].text, "Observation time:  25:30");
    EXPECT_EQ(results[results.size() - 2].a, 4);
    EXPECT_EQ(results.back().text, " (Encoding Error)\n");
    EXPECT_EQ(results.back().a, 1);
}

TEST(Section1Test, LettersPrintedInLettersShiftAreRepaired) {
    const Decoded decoded = DecodeSection1("31465", "QPQWT");  // 10125
    EXPECT_EQ(decoded.text, "Temperature:       +12.5\260c\n");
    // A word is no group sent in letters shift: NIL keeps its letters.
    DecoderHarness harness;
    harness.Feed("ZCZC 1\nSMDL01 EDZW 061200\nAAXX 06121\n10400 NIL=\n");
    EXPECT_NE(harness.Text().find("No data reported\n"), std::string::npos);
}

}  // namespace
}  // namespace nimbo
