// Bulletin heading and section 0: designator, sender, times, status, land
// station lines with catalogue and country, ship position.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "decoder_test_support.h"

namespace nimbo {
namespace {

using testing::DecoderHarness;

std::string HeadingText(const std::string& heading) {
    DecoderHarness harness;
    harness.Decoder().put_DecoderLock(0);
    harness.Feed("ZCZC 1\n" + heading + "\n");
    return harness.Text();
}

// Each heading line and a line it must print ("" + a line: must not print it).
TEST(HeadingTest, HeadingLines) {
    const std::string designator = "Designator:        ";
    const std::string time = "Transmitted time:  ";
    const std::string status = "Reported status:   ";
    for (const auto& [heading, line, printed] :
         std::vector<std::tuple<std::string, std::string, bool>>{
             {"SMWX01 EGRR 061200",
              designator + "SMWX01\n                   - Surface data\n"
                           "                   - Ocean weather station\n"
                           "                   - More than one area\n",
              true},
             {"SMDL1 EDZW 061200", designator, false},  // designator of other length
             {"DWXX01 EDZW 061200",
              designator + "DWXX01\n                   - Grid point information\n", true},
             {"DWXX01 EDZW 061200", "More than one area", false},  // unknown data type: no area
             {"SMDL01 EDZW 061230", time + "06/12/2026 12:30 UTC\n", true},
             {"SMDL01 EDZW 322460",
              time + "??"
                     "/12/2026 ??:?? UTC\n",
              true},
             {"SMDL01 EDZW QYRROO", time + "16/11/2026 ??:?? UTC\n", true},  // repaired
             {"SMDL01 EDZW QYWWTT", time + "16/11/2026 22:55 UTC\n", true},
             {"SMDL01 EDZW 061200 RRA", status + "RRA (Delayed routine meteorological reports)\n",
              true},
             {"SMDL01 EDZW 061200 CCB",
              status + "CCB (Corrections to previously relayed reports)\n", true},
             {"SMDL01 EDZW 061200", status + "None\n", true}}) {
        EXPECT_EQ(HeadingText(heading).find(line) != std::string::npos, printed) << heading;
    }
}

TEST(HeadingTest, ShortHeadingLeavesNoStaleStatusFromTheLastBulletin) {
    DecoderHarness harness;
    harness.Decoder().put_DecoderLock(0);
    harness.Feed("ZCZC 1\nSMDL01 EDZW 061200 CCA\nAAXX 06121\n10400 NIL=\nNNNN\n");
    harness.Feed("ZCZC 2\nSMDL02 EDZW 061200\nAAXX 06121\n10400 NIL=\nNNNN\n");
    EXPECT_NE(harness.Text().rfind("Reported status:   None\n"), std::string::npos);
}

TEST(StationTest, LandStationShowsRegionCatalogueNameAndCountry) {
    DecoderHarness harness;
    harness.Feed("ZCZC 1\nSMDL01 EDZW 061200\nAAXX 06121\n10400 NIL=\nNNNN\n");
    const auto results = harness.Sink().OfKind("Result");
    std::string stationLines;
    for (const auto& result : results) {
        if (result.a == 2) stationLines += result.text;
    }
    EXPECT_EQ(stationLines,
              "Station Identity:  10400       (Region VI: Europe)\n"
              "Station Reference: Duesseldorf [DL]\n"
              "Country Reference: GERMANY\n");
    const auto positions = harness.Sink().OfKind("Position");
    ASSERT_EQ(positions.size(), 1u);
    EXPECT_FLOAT_EQ(positions[0].x, 51.18f);
    EXPECT_FLOAT_EQ(positions[0].y, 6.46f);
    EXPECT_EQ(positions[0].text, "EDDL");
    EXPECT_EQ(positions[0].name, "Duesseldorf");
    EXPECT_EQ(positions[0].country, "DL");
}

TEST(StationTest, StationMissingFromTheCatalogueHasNoReferenceAndNoPosition) {
    DecoderHarness harness(false);
    harness.Feed("ZCZC 1\nSMDL01 EDZW 061200\nAAXX 06121\n10400 NIL=\nNNNN\n");
    EXPECT_EQ(harness.Text().find("Station Reference"), std::string::npos);
    EXPECT_NE(harness.Text().find("Country Reference: GERMANY\n"), std::string::npos);
    EXPECT_TRUE(harness.Sink().OfKind("Position").empty());
}

TEST(StationTest, ObservationTimeAndWindUnitComeFromYYGGiw) {
    const auto text = [](const std::string& yyggiw) {
        return testing::DecodeAfter(
                   "ZCZC 1\nSMDL01 EDZW 061200\nAAXX " + yyggiw + "\n10400 32965 02405=\nNNNN\n",
                   "")
            .text;
    };
    EXPECT_NE(text("06124").find("Reporting station: AAXX - Land fixe\nObservation time:  "
                                 "06/12/2026 12:xx UTC\n"),
              std::string::npos);
    EXPECT_NE(text("06124").find("Wind speed:         5knots (from anemometer)\n"),
              std::string::npos);
    // A wind unit outside the table is unknown.
    EXPECT_NE(text("0612/").find("Wind speed:         5 (unit unknown)\n"), std::string::npos);
}

struct QuadrantCase {
    char qc;
    float lat;
    float lng;
};

TEST(StationTest, QuadrantSetsTheSignsOfTheShipPosition) {
    for (const QuadrantCase c :
         {QuadrantCase{'1', 51.2f, 2.5f}, QuadrantCase{'3', -51.2f, 2.5f},
          QuadrantCase{'5', -51.2f, -2.5f}, QuadrantCase{'7', 51.2f, -2.5f}}) {
        DecoderHarness harness;
        harness.Feed(std::string("ZCZC 1\nSMVX01 EGRR 061200\nBBXX\nABCD 06121 99512 ") + c.qc +
                     "0025 41598 72405=\nNNNN\n");
        const auto positions = harness.Sink().OfKind("Position");
        ASSERT_EQ(positions.size(), 1u) << c.qc;
        EXPECT_FLOAT_EQ(positions[0].x, c.lat) << c.qc;
        EXPECT_FLOAT_EQ(positions[0].y, c.lng) << c.qc;
    }
}

// Quiet, the line is left out.
TEST(StationTest, MissingShipPositionShowsUnknownAndRaisesNoPosition) {
    for (const bool quiet : {false, true}) {
        const auto decoded = testing::DecodeAfter(
            "ZCZC 1\nSMVX01 EGRR 061200\nBBXX\nABCD 06121 99/// 1//// 41598 72405=\nNNNN\n", "",
            {.quiet = quiet});
        EXPECT_EQ(decoded.text.find("Position:          Lt=Unknown \260 Lg=Unknown \260\n") ==
                      std::string::npos,
                  quiet);
        EXPECT_TRUE(decoded.OfKind("Position").empty());
        EXPECT_TRUE(decoded.errors.empty());
    }
}

}  // namespace
}  // namespace nimbo
