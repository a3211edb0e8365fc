// Sections 4 and 5, the mobile stations' section 0, the way the sections
// follow each other, and real bulletins with sections 2 to 5 end to end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_test_support.h"
#include "tables/code_tables.h"

namespace nimbo {
namespace {

using testing::DecoderHarness;

std::string Table(CodeTable table, int figure) { return std::string(CodeText(table, figure)); }

std::string TextAfter(const std::string& text, const std::string& line) {
    const auto at = text.find(line);
    return at == std::string::npos ? text : text.substr(at + line.size());
}

const std::string kWindLine = "Wind speed:         5m/s (from anemometer)\n";

std::string DecodeLand(const std::string& afterWind, bool quiet = false,
                       std::vector<std::string>* errors = nullptr) {
    DecoderHarness harness(false);
    harness.Decoder().put_DecoderRelax(1);
    harness.Decoder().put_DecoderQuiet(quiet ? 1 : 0);
    harness.Feed("ZCZC 1\nSMDL01 EDZW 061200\nAAXX 06121\n10400 32465 02405 " + afterWind +
                 "=\nNNNN\n");
    if (errors != nullptr) *errors = harness.Errors();
    return TextAfter(harness.Text(), kWindLine);
}

TEST(Section4Test, CloudLayerBelowTheStation) {
    std::vector<std::string> errors;
    EXPECT_EQ(DecodeLand("444 52153", false, &errors),
              "Cloud cover layer: 5 of " + Table(CodeTable::T0500_C, 2) +
                  "\nCloud upper height:1500m\nTop of clouds    :" + Table(CodeTable::T0552_Ct, 3) +
                  "\n");
    EXPECT_TRUE(errors.empty());
}

TEST(Section4Test, MissingFields) {
    EXPECT_EQ(DecodeLand("444 /////"),
              "Cloud cover layer:  of Not visible\nCloud upper height:Unknown    \n"
              "Top of clouds    :Unknown    \n");
    EXPECT_EQ(DecodeLand("444 /////", true), "Cloud cover layer:  of Not visible\n");
}

TEST(Section4Test, WrongLengthIsAnErrorAndTheSectionGoesOn) {
    std::vector<std::string> errors;
    const std::string text = DecodeLand("444 5215 52153", false, &errors);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "DATA ERROR:        5215\n");
    EXPECT_NE(text.find("Cloud upper height:1500m\n"), std::string::npos);
}

TEST(Section5Test, NationalDataLinesAreComplete) {
    DecoderHarness harness(false);
    harness.Feed(
        "ZCZC 1\nSMDL01 EDZW 061200\nAAXX 06121\n10400 32465 02405 555 1E234 "
        "MISDA=\n10384 32465 02405=\n");
    EXPECT_NE(harness.Text().find("National data:    \n 13234\n MISDA\n"), std::string::npos);
    // The section separator comes before the national-data line.
    const auto& events = harness.Sink().events;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i].kind == "Result" && events[i].text == "National data:    \n") {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(events[i - 1].kind, "Separator");
            EXPECT_EQ(events[i - 1].a, 2);
        }
    }
    // Every line of the report is complete before the next report starts.
    for (const auto& event : harness.Sink().OfKind("Result")) {
        if (event.a == 4) {
            EXPECT_EQ(event.text.back(), '\n') << event.text;
        }
    }
}

TEST(SectionOrderTest, SectionsFollowEachOther) {
    std::vector<std::string> errors;
    const std::string text = DecodeLand("333 10178 81225 444 52153 555 11102", false, &errors);
    EXPECT_TRUE(errors.empty());
    EXPECT_NE(text.find("Max. temperature : +17.8"), std::string::npos);
    EXPECT_NE(text.find("Top of clouds    :"), std::string::npos);
    EXPECT_NE(text.find("National data:    \n 11102\n"), std::string::npos);
}

TEST(SectionOrderTest, SectionThreeWithoutGroupsThenSectionFive) {
    std::vector<std::string> errors;
    EXPECT_EQ(DecodeLand("333 555 11102", false, &errors), "National data:    \n 11102\n");
    EXPECT_TRUE(errors.empty());
}

TEST(MobileStationTest, MarsdenSquareAndAltitude) {
    DecoderHarness harness(false);
    harness.Feed(
        "ZCZC 1\nSNCN19 CWAO 281802\nOOXX\nNOP49 28161 99782 10154 56057 12501 "
        "26/// /1219 11259=\n");
    const std::string text = harness.Text();
    EXPECT_NE(text.find("Marsden square:    560 5Lt 7Lg\n"), std::string::npos);
    EXPECT_NE(text.find("Mobile altitude:   1250m\n"), std::string::npos);
    EXPECT_TRUE(harness.Errors().empty());
}

TEST(MobileStationTest, AltitudeUnits) {
    struct Case {
        const char* group;
        const char* line;
    };
    for (const Case c :
         {Case{"01504", "Mobile altitude:   150m\n"}, Case{"02521", "Mobile altitude:   252m\n"},
          Case{"12505", "Mobile altitude:   1250f\n"}, Case{"01008", "Mobile altitude:   100f\n"},
          Case{"01000", "Mobile altitude:   100 \n"}, Case{"01009", "Mobile altitude:   100 \n"}}) {
        DecoderHarness harness(false);
        harness.Feed(std::string("ZCZC 1\nSNCN19 CWAO 281802\nOOXX\nBHO 05194 99210 10799 10119 ") +
                     c.group + " 26/// /3001=\n");
        EXPECT_NE(harness.Text().find(c.line), std::string::npos) << c.group;
    }
}

// Decodes a real bulletin file from tests/data in relaxed mode.
struct RealDecode {
    std::string text;
    std::vector<std::string> errors;
    std::size_t results = 0;
};

RealDecode DecodeReal(const std::string& name, std::size_t fragment = 0) {
    const std::string data = testing::ReadTestData("sections/" + name);
    DecoderHarness harness(true);
    harness.Decoder().put_DecoderRelax(1);
    if (fragment == 0) {
        harness.Feed(data);
    } else {
        for (std::size_t at = 0; at < data.size(); at += fragment) {
            harness.Feed(data.substr(at, fragment));
        }
    }
    return {harness.Text(), harness.Errors(), harness.Sink().OfKind("Result").size()};
}

TEST(RealBulletinTest, ShipsWithSectionTwoAndLandWithSectionsThreeAndFive) {
    const RealDecode decoded = DecodeReal("kvnorcom-data0600.txt");
    for (const char* label : {"Ship direction:    ", "Sea surface Temp.: ", "Sea Waves  height: ",
                              "Wave heights:      ", "Min. temperature : ", "Special Phenomena: ",
                              "National data:    \n", "Cloud cover layer: "}) {
        EXPECT_NE(decoded.text.find(label), std::string::npos) << label;
    }
    // Errors are rare in this traffic: well under one in a hundred lines.
    EXPECT_LT(decoded.errors.size() * 100, decoded.results) << decoded.errors.size();
}

TEST(RealBulletinTest, SectionThreeOfIndianStations) {
    const RealDecode decoded = DecodeReal("imd-VOMM20260501-head.txt");
    for (const char* label : {"Max. temperature : ", "Pres. chang. (24h):", "Low  cloud drift:  ",
                              "Cloud type:        ", "Cloud base height: "}) {
        EXPECT_NE(decoded.text.find(label), std::string::npos) << label;
    }
}

TEST(RealBulletinTest, SectionFourAndRadiation) {
    const RealDecode decoded = DecodeReal("pymetdecoder-test-synops.txt");
    EXPECT_NE(decoded.text.find("Cloud upper height:8100m\n"), std::string::npos);
    EXPECT_NE(decoded.text.find("Sun (last 24h):    5.5h\nRadiation field Id:"), std::string::npos);
    EXPECT_NE(decoded.text.find("ICE information:   icy\n"), std::string::npos);
}

TEST(RealBulletinTest, MobileStationsAndShips) {
    const RealDecode decoded = DecodeReal("awips2-sfcobs-bulletins.txt");
    EXPECT_NE(decoded.text.find("Marsden square:    "), std::string::npos);
    EXPECT_NE(decoded.text.find("Mobile altitude:   "), std::string::npos);
    EXPECT_NE(decoded.text.find("Wet bulb Temp.:    "), std::string::npos);
}

TEST(RealBulletinTest, EveryFragmentSizeGivesTheSameText) {
    for (const char* name : {"kvnorcom-data0600.txt", "awips2-sfcobs-bulletins.txt",
                             "pymetdecoder-test-synops.txt", "imd-VOMM20260501-head.txt"}) {
        const RealDecode whole = DecodeReal(name);
        for (const std::size_t fragment : {1u, 5u, 64u}) {
            const RealDecode cut = DecodeReal(name, fragment);
            EXPECT_EQ(cut.text, whole.text) << name << " in fragments of " << fragment;
            EXPECT_EQ(cut.errors, whole.errors) << name << " in fragments of " << fragment;
        }
    }
}

}  // namespace
}  // namespace nimbo
