// Section 2 groups: each decoded inside a ship report whose position is known,
// checked against the lines it must print, the events it raises, and the
// order and error rules of the section.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_test_support.h"
#include "tables/code_tables.h"
#include "test_name.h"

namespace nimbo {
namespace {

using testing::Decoded;

const std::string kShipStart = "LDWR3 06121 99600 70050 41/// 22405 10125 ";

// Decodes a ship report at 60.0N 5.0E with section 2 "22200" + groups; the
// text starts after the ship-movement lines.
Decoded DecodeSection2(const std::string& groups, bool quiet = false, bool strict = false) {
    return testing::DecodeAfter(testing::ShipBulletin(kShipStart + "22200 " + groups + "="),
                                "Ship aver. speed:  ", {.quiet = quiet, .relax = !strict});
}

std::vector<testing::Event> SeaTemperatures(const Decoded& decoded) {
    std::vector<testing::Event> found;
    for (const auto& event : decoded.OfKind("Temperature")) {
        if (event.b == 1) found.push_back(event);
    }
    return found;
}

struct GroupCase {
    const char* group;
    const char* lines;
};

class Section2GroupTest : public ::testing::TestWithParam<GroupCase> {};

TEST_P(Section2GroupTest, PrintsItsLines) {
    const Decoded decoded = DecodeSection2(GetParam().group);
    EXPECT_EQ(decoded.text, GetParam().lines);
    EXPECT_TRUE(decoded.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Groups, Section2GroupTest,
    ::testing::Values(
        GroupCase{"01052", "Sea surface Temp.: - 5.2\260c (intake measure)\n"},
        GroupCase{"00125", "Sea surface Temp.: +12.5\260c (intake measure)\n"},
        GroupCase{"02178", "Sea surface Temp.: +17.8\260c (bucket measure)\n"},
        GroupCase{"05003", "Sea surface Temp.: - 0.3\260c (hull contact measure)\n"},
        GroupCase{"06150", "Sea surface Temp.: +15.0\260c\n"},
        GroupCase{"09150", "Sea surface Temp.:  15.0\260c\n"},
        GroupCase{"00//5", "Sea surface Temp.: +??.5\260c (intake measure)\n"},
        GroupCase{"0012/", "Sea surface Temp.: +12.?\260c (intake measure)\n"},
        GroupCase{"10305",
                  "Sea Waves  period:  3s (instrumented)\n"
                  "Sea Waves  height:  2.5m (instrumented)\n"},
        GroupCase{"0////", "Sea surface Temp.: Unknown    \n"},
        GroupCase{"1////",
                  "Sea Waves  period: Unobserved (instrumented)\n"
                  "Sea Waves  height: Unobserved (instrumented)\n"},
        GroupCase{"20812", "Sea Waves  period:  8s \nSea Waves  height:  6.0m \n"},
        GroupCase{"31020", "Swell direct. N\2601: 100\xB0\nSwell direct. N\2602: 200\xB0\n"},
        GroupCase{"305//", "Swell direct. N\2601: 50\xB0\n"},
        GroupCase{"3//05", "Swell direct. N\2601: Unobserved \nSwell direct. N\2602: 50\xB0\n"},
        GroupCase{"41207", "Sweels N\2601 period: 12s \nSweels N\2601 height:  3.5m \n"},
        GroupCase{"50904", "Sweels N\2602 period:  9s \nSweels N\2602 height:  2.0m \n"},
        // Is 1, 23 cm, Rs 4 (a ship's 6IsEsEsRs in a real SYNOP test set).
        GroupCase{"61234",
                  "Accretion cause:   Icing from ocean spray\nIce thickness:     23cm\n"
                  "Accretion rate:    Ice melting or breaking up rapidly\n"},
        GroupCase{"6/1//",
                  "Accretion cause:   Unknown    \nIce thickness:     Unknown    \n"
                  "Accretion rate:    Unknown    \n"},
        GroupCase{"70021", "Wave heights:       2.1m\n"},
        GroupCase{"7012/", "Wave heights:      12.?m\n"},
        GroupCase{"70///", "Wave heights:      Unknown    \n"},
        GroupCase{"80092", "Wet bulb Temp.:    + 9.2\260c (measured)\n"},
        GroupCase{"81015", "Wet bulb Temp.:    - 1.5\260c (measured)\n"},
        GroupCase{"82015", "Wet bulb Temp.:      1.5\260c (ice bulb measured)\n"},
        GroupCase{"85120", "Wet bulb Temp.:    +12.0\260c (computed)\n"},
        GroupCase{"86003", "Wet bulb Temp.:    - 0.3\260c (computed)\n"},
        GroupCase{"87003", "Wet bulb Temp.:      0.3\260c (ice bulb computed)\n"},
        GroupCase{"83003", "Wet bulb Temp.:      0.3\260c\n"},
        GroupCase{"ICING HEAVY 80092",
                  "ICING information: HEAVY\nWet bulb Temp.:    + 9.2\260c (measured)\n"},
        GroupCase{"ICE 1/345",
                  "ICE concentration: 1\nICE devel. stage : Unknown    \n"
                  "ICE land origin:   3\nICE edge bearing:  4\nICE situat. trend: 5\n"}),
    [](const auto& info) { return testsupport::TestName(info.param.group); });

TEST(Section2Test, ShipMovementLinesComeFromTheCodeTables) {
    const Decoded decoded =
        testing::DecodeAfter(testing::ShipBulletin("LDWR3 06121 99600 70050 41/// 22405 22251=\n"
                                                   "LDWR4 06121 99600 70050 41/// 22405 222//="),
                             "");
    const std::string& text = decoded.text;
    EXPECT_NE(
        text.find("Ship direction:    " + std::string(CodeText(CodeTable::T0700_D, 5)) +
                  "\nShip aver. speed:  " + std::string(CodeText(CodeTable::T4451_vs, 1)) + "\n"),
        std::string::npos);
    EXPECT_NE(text.find("Ship direction:    Unknown    \nShip aver. speed:  Unknown    \n"),
              std::string::npos);
    EXPECT_TRUE(decoded.errors.empty());
}

TEST(Section2Test, SeaTemperatureEventNeedsSignFiguresAndPosition) {
    const auto sea = SeaTemperatures(DecodeSection2("01052"));
    ASSERT_EQ(sea.size(), 1u);
    EXPECT_FLOAT_EQ(sea[0].x, -5.2f);
    for (const char* group : {"09150", "0////", "01//5"}) {
        EXPECT_TRUE(SeaTemperatures(DecodeSection2(group)).empty()) << group;
    }
    const Decoded noPosition = testing::DecodeAfter(
        testing::ShipBulletin("LDWR3 06121 99/// ///// 41/// 22405 22200 01052="), "");
    EXPECT_NE(noPosition.text.find("Sea surface Temp.: - 5.2"), std::string::npos);
    EXPECT_TRUE(noPosition.OfKind("Temperature").empty());
}

TEST(Section2Test, QuietModeLeavesOutMissingLinesOnly) {
    const Decoded decoded = DecodeSection2("0//// 1//03 3//05 6/1//", true);
    EXPECT_EQ(decoded.text,
              "Sea Waves  height:  1.5m (instrumented)\nSwell direct. N\2602: 50\xB0\n");
}

// Relaxed, the decoder goes on after the error; strict, it skips the rest.
TEST(Section2Test, GroupsOutOfOrderAreErrors) {
    for (const bool strict : {false, true}) {
        const Decoded decoded = DecodeSection2("20812 10503 80092", false, strict);
        ASSERT_EQ(decoded.errors.size(), 1u);
        EXPECT_EQ(decoded.errors[0], "DATA ERROR:        10503\n");
        EXPECT_EQ(decoded.text.find("Wet bulb Temp.:    ") == std::string::npos, strict);
    }
}

TEST(Section2Test, NineGroupIsNeitherTakenNorRefused) {
    const Decoded decoded = DecodeSection2("80092 91234 80015");
    EXPECT_TRUE(decoded.errors.empty());
}

TEST(Section2Test, IceInPlainLanguageEndsTheSection) {
    // As in the real report "... 81001 ICE icy conditions": one word is the
    // ice information, what follows it has no place in the section.
    const Decoded decoded = DecodeSection2("81001 ICE icy conditions");
    EXPECT_NE(decoded.text.find("ICE information:   icy\n"), std::string::npos);
    ASSERT_EQ(decoded.errors.size(), 1u);
    EXPECT_EQ(decoded.errors[0], "DATA ERROR:        conditions\n");
}

TEST(Section2Test, MarkerNeedsTheWindGroup) {
    // Before Nddff "222" is no marker: it is taken as a section 1 group.
    const auto report = testing::ShipBulletin("LDWR3 06121 99600 70050 41/// 22200 01052=");
    EXPECT_EQ(testing::DecodeAfter(report, "").text.find("Ship direction:"), std::string::npos);
}

}  // namespace
}  // namespace nimbo
