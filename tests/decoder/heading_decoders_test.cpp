// Bulletin heading and section 0: designator, sender, times, status, land
// station lines with catalogue and country, ship position.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "decoder_logs.h"
#include "decoder_test_support.h"

namespace nimbo {
namespace {

using testing::DecoderHarness;

std::string MonthYear() {
    const std::tm now = LocalTimeNow();
    char text[32];
    std::snprintf(text, sizeof text, "/%02d/%04d", now.tm_mon + 1, now.tm_year + 1900);
    return text;
}

std::string HeadingText(const std::string& heading) {
    DecoderHarness harness;
    harness.Decoder().put_DecoderLock(0);
    harness.Feed("ZCZC 1\n" + heading + "\n");
    return harness.Text();
}

TEST(HeadingTest, SurfaceShipDesignatorPrintsThreeContinuationLines) {
    EXPECT_NE(HeadingText("SMWX01 EGRR 061200")
                  .find("Designator:        SMWX01\n"
                        "                   - Surface data\n"
                        "                   - Ocean weather station\n"
                        "                   - More than one area\n"),
              std::string::npos);
}

TEST(HeadingTest, DesignatorOfOtherLengthPrintsNothing) {
    EXPECT_EQ(HeadingText("SMDL1 EDZW 061200").find("Designator:"), std::string::npos);
}

TEST(HeadingTest, UnknownDataTypeHasNoAreaLines) {
    const std::string text = HeadingText("DWXX01 EDZW 061200");
    EXPECT_NE(text.find("Designator:        DWXX01\n                   - Grid point information\n"),
              std::string::npos);
    EXPECT_EQ(text.find("More than one area"), std::string::npos);
}

TEST(HeadingTest, TransmittedTimeTakesMonthAndYearFromTheClock) {
    EXPECT_NE(HeadingText("SMDL01 EDZW 061230")
                  .find("Transmitted time:  06" + MonthYear() + " 12:30 UTC\n"),
              std::string::npos);
}

TEST(HeadingTest, OutOfRangeTimeFiguresShowQuestionMarks) {
    EXPECT_NE(HeadingText("SMDL01 EDZW 322460")
                  .find("Transmitted time:  ??" + MonthYear() + " ??:?? UTC\n"),
              std::string::npos);
}

TEST(HeadingTest, TransmittedTimeIsRepaired) {
    EXPECT_NE(HeadingText("SMDL01 EDZW QYRROO")
                  .find("Transmitted time:  16" + MonthYear() + " ??:?? UTC\n"),
              std::string::npos);
    EXPECT_NE(HeadingText("SMDL01 EDZW QYWWTT")
                  .find("Transmitted time:  16" + MonthYear() + " 22:55 UTC\n"),
              std::string::npos);
}

TEST(HeadingTest, StatusNamesItsKind) {
    EXPECT_NE(HeadingText("SMDL01 EDZW 061200 RRA")
                  .find("Reported status:   RRA (Delayed routine meteorological reports)\n"),
              std::string::npos);
    EXPECT_NE(HeadingText("SMDL01 EDZW 061200 CCB")
                  .find("Reported status:   CCB (Corrections to previously relayed reports)\n"),
              std::string::npos);
    EXPECT_NE(HeadingText("SMDL01 EDZW 061200").find("Reported status:   None\n"),
              std::string::npos);
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
    DecoderHarness harness;
    harness.Feed("ZCZC 1\nSMDL01 EDZW 061200\nAAXX 06124\n10400 32965 02405=\nNNNN\n");
    EXPECT_NE(harness.Text().find("Reporting station: AAXX - Land fixe\n"
                                  "Observation time:  06" +
                                  MonthYear() + " 12:xx UTC\n"),
              std::string::npos);
    EXPECT_NE(harness.Text().find("Wind speed:         5knots (from anemometer)\n"),
              std::string::npos);
}

TEST(StationTest, WindUnitOutsideTheTableIsUnknown) {
    DecoderHarness harness;
    harness.Feed("ZCZC 1\nSMDL01 EDZW 061200\nAAXX 0612/\n10400 32965 02405=\nNNNN\n");
    EXPECT_NE(harness.Text().find("Wind speed:         5 (unit unknown)\n"), std::string::npos);
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

TEST(StationTest, MissingShipPositionShowsUnknownAndRaisesNoPosition) {
    DecoderHarness harness;
    harness.Feed("ZCZC 1\nSMVX01 EGRR 061200\nBBXX\nABCD 06121 99/// 1//// 41598 72405=\nNNNN\n");
    EXPECT_NE(harness.Text().find("Position:          Lt=Unknown \xB0 Lg=Unknown \xB0\n"),
              std::string::npos);
    EXPECT_TRUE(harness.Sink().OfKind("Position").empty());
    EXPECT_TRUE(harness.Errors().empty());
}

TEST(StationTest, QuietModeLeavesOutTheMissingPosition) {
    DecoderHarness harness;
    harness.Decoder().put_DecoderQuiet(1);
    harness.Feed("ZCZC 1\nSMVX01 EGRR 061200\nBBXX\nABCD 06121 99/// 1//// 41598 72405=\nNNNN\n");
    EXPECT_EQ(harness.Text().find("Position:"), std::string::npos);
}

}  // namespace
}  // namespace nimbo
