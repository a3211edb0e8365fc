// Section 3: every group decoded inside a land report, the 5-group dispatch
// with its radiation follow-ups, the order rule with its exceptions, and the
// regional data after "80000".
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "decoder_test_support.h"
#include "tables/code_tables.h"
#include "test_name.h"

namespace nimbo {
namespace {

using testing::Decoded;

// Decodes "333" + groups after a short section 1 of station 10400.
Decoded DecodeSection3(const std::string& groups, bool quiet = false) {
    return testing::DecodeAfter(testing::LandBulletin("10400 32465 02405 333 " + groups + "="),
                                "Wind speed:", {.quiet = quiet});
}

std::string Table(CodeTable table, int figure) { return std::string(CodeText(table, figure)); }

struct GroupCase {
    std::string groups;
    std::string lines;
};

class Section3GroupTest : public ::testing::TestWithParam<GroupCase> {};

TEST_P(Section3GroupTest, PrintsItsLines) {
    const Decoded decoded = DecodeSection3(GetParam().groups);
    EXPECT_EQ(decoded.text, GetParam().lines);
    EXPECT_TRUE(decoded.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Groups, Section3GroupTest,
    ::testing::Values(
        GroupCase{"01234", "Local information: 01234\n"},
        GroupCase{"10178", "Max. temperature : +17.8\260c\n"},
        GroupCase{"21073", "Min. temperature : - 7.3\260c\n"},
        GroupCase{"31101", "State of ground:   " + Table(CodeTable::T0901_E, 1) +
                               "\nMin. ground temp.: - 1\260c (regionally data)\n"},
        GroupCase{"3/0//",
                  "State of ground:   \nMin. ground temp.: +Unknown    \260c"
                  " (regionally data)\n"},
        GroupCase{"3//12", "State of ground:   \nMin. ground temp.:  12 (regionally data)\n"},
        GroupCase{"45012", "Snow depth, cover: 012cm " + Table(CodeTable::T0975_Eprime, 5) + "\n"},
        GroupCase{"4/997", "Snow depth, cover: \n"},
        GroupCase{"4////", "Snow depth, cover: ???cm\n"},
        GroupCase{"50123", "Evaporation amount:1.2mm\nInstrument Type:   " +
                               Table(CodeTable::T1806_iE, 3) + "\n"},
        GroupCase{"5////", ""},
        GroupCase{"50///", "Evaporation amount:Unknown    \nInstrument Type:   Unknown    \n"},
        GroupCase{"54213", "Temperat. change:-3\260c in 2h\n"},
        GroupCase{"54293", "Temperat. change: 3RH (relative humidity) in 2h\n"},
        GroupCase{"54/0/", "Temperat. change:+Unknown    \260c\n"},
        GroupCase{"55309", "Sun (last hour):   0.9h\n"},
        GroupCase{"55123", "Sun (last 24h):    12.3h\n"},
        GroupCase{"55///", "Sun (last 24h):    Unknown    \n"},
        GroupCase{"56123",
                  "Low  cloud drift:       1\nMed. cloud drift:       2\n"
                  "High cloud drift:       3\n"},
        GroupCase{"56///",
                  "Low  cloud drift:       Unknown    \nMed. cloud drift:       Unknown    \n"
                  "High cloud drift:       Unknown    \n"},
        GroupCase{"57285", "Cloud type:        " + Table(CodeTable::T0500_C, 2) +
                               "\n- Azimuth:         8\n- Elevation angle: 5\n"},
        GroupCase{"58123", "Pres. chang. (24h):+12.3hPa \n"},
        GroupCase{"59005", "Pres. chang. (24h):-0.5hPa \n"},
        GroupCase{"59///", "Pres. chang. (24h):Unknown    \n"},
        GroupCase{"60121", "Rain fall:          12mm over " + Table(CodeTable::T4019_tR, 1) + "\n"},
        GroupCase{"70123", "24h precipitation:  12.3mm\n"},
        GroupCase{"70002", "24h precipitation:   0.2mm\n"},
        GroupCase{"79999", "24h precipitation: trace\n"},
        GroupCase{"7////", "24h precipitation: Unknown    \n"},
        GroupCase{"81225", "Cloud cover layer: 1 of " + Table(CodeTable::T0500_C, 2) +
                               "\nCloud base height: 750m\n"},
        GroupCase{"8/600", "Cloud cover layer: 0 of " + Table(CodeTable::T0500_C, 6) +
                               "\nCloud base height: Less than 30m\n"},
        GroupCase{"82/60", "Cloud cover layer:  of Not visible\nCloud base height: 3000m\n"},
        GroupCase{"80060", "Cloud cover layer: 0 of " + Table(CodeTable::T0500_C, 0) +
                               "\nCloud base height: 3000m\n"},
        GroupCase{"80082", "Cloud cover layer: 0 of " + Table(CodeTable::T0500_C, 0) +
                               "\nCloud base height: 12000m\n"},
        GroupCase{"80089", "Cloud cover layer: 0 of " + Table(CodeTable::T0500_C, 0) +
                               "\nCloud base height: Greater than 21000m\n"},
        GroupCase{"80093", "Cloud cover layer: 0 of " + Table(CodeTable::T0500_C, 0) +
                               "\nCloud base height:  200 to less than  300m\n"},
        GroupCase{"8/6//", "Cloud cover layer: 0 of " + Table(CodeTable::T0500_C, 6) +
                               "\nCloud base height: Unknown    \n"},
        GroupCase{"90710", "Special Phenomena: 907 duration of the reference period: 1.0 h\n"},
        GroupCase{"90766", "Special Phenomena: 907 duration of the reference period: 11 to 12 h\n"},
        GroupCase{"91018",
                  "Special Phenomena: 910 highest gust in the 10 minutes before the "
                  "observation: 18m/s (from anemometer)\n"},
        GroupCase{"91108",
                  "Special Phenomena: 911 highest gust during the period covered by "
                  "W1W2: 8m/s (from anemometer)\n"},
        GroupCase{"91531", "Special Phenomena: 915 wind direction: 310\xB0\n"},
        GroupCase{"93105", "Special Phenomena: 931 depth of newly fallen snow: code figures 05\n"},
        GroupCase{"95811", "Special Phenomena: 958 11 (" + Table(CodeTable::T3778_SpSp, 5) + ")\n"},
        GroupCase{"9////", "Special Phenomena: 9// //\n"}),
    [](const auto& info) { return testsupport::TestName(info.param.groups); });

TEST(Section3Test, QuietModeLeavesOutTheMissingLines) {
    const Decoded decoded = DecodeSection3("1//// 3//// 4//// 5//// 56/// 7//// 8/6//", true);
    EXPECT_EQ(decoded.text, "Cloud cover layer: 0 of " + Table(CodeTable::T0500_C, 6) + "\n");
    EXPECT_EQ(DecodeSection3("4/997", true).text, "Snow depth, cover: \n");  // 997 is no missing
    EXPECT_EQ(DecodeSection3("55300 /////", true).text, "Sun (last hour):   0.0h\n");
}

TEST(Section3Test, RadiationGroupsOfRisingTypeFollowEachOther) {
    // As German stations send them: sunshine, then several radiation types.
    const Decoded decoded = DecodeSection3("55300 0//// 20000 3//// 60007 91006");
    EXPECT_TRUE(decoded.errors.empty());
    EXPECT_EQ(decoded.text.substr(0, decoded.text.find("Rain fall:")),
              "Sun (last hour):   0.0h\n"
              "Radiation field Id:" +
                  std::string(RadiationTypeText(0)) +
                  "\nRadiation amount:  Unknown    \n"
                  "Radiation field Id:" +
                  std::string(RadiationTypeText(2)) +
                  "\nRadiation amount:     0kJ/m2\n"
                  "Radiation field Id:" +
                  std::string(RadiationTypeText(3)) + "\nRadiation amount:  Unknown    \n");
}

std::string Radiation(int type, const std::string& amount) {
    return "Radiation field Id:" + std::string(RadiationTypeText(type)) +
           "\nRadiation amount:  " + amount + "\n";
}

const std::string kHour = "Sun (last hour):   0.0h\n";

class RadiationTest : public ::testing::TestWithParam<GroupCase> {};

// 553SS announces one hour (kJ/m2), 55SSS 24 hours (J/cm2), 5540x and 5550x
// the radiation of type x (7 net short-wave, 8 direct solar); a group above 5
// or another sunshine group ends the follow-up.
TEST_P(RadiationTest, FollowUpIsDecodedAsTheAnnouncedRadiation) {
    const Decoded decoded = DecodeSection3(GetParam().groups);
    EXPECT_EQ(decoded.text, GetParam().lines);
    EXPECT_TRUE(decoded.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    FollowUps, RadiationTest,
    ::testing::Values(
        GroupCase{"55300 00123", kHour + Radiation(0, " 123kJ/m2")},
        GroupCase{"55123 21234", "Sun (last 24h):    12.3h\n" + Radiation(2, "1234J/cm2")},
        GroupCase{"55300 /////",
                  kHour + "Radiation field Id:Unknown    \nRadiation amount:  Unknown    \n"},
        GroupCase{"55300 70045", kHour + "24h precipitation:   4.5mm\n"},
        GroupCase{"55300 55123", kHour + "Sun (last 24h):    12.3h\n"},
        GroupCase{"55407 40123", Radiation(7, " 123kJ/m2")},
        GroupCase{"55408 40456", Radiation(8, " 456kJ/m2")},
        GroupCase{"55507 51234", Radiation(7, "1234J/cm2")},
        GroupCase{"55508 52345", Radiation(8, "2345J/cm2")},
        GroupCase{"55407 0123", Radiation(7, " 123kJ/m2")}),
    [](const auto& info) { return testsupport::TestName(info.param.groups); });

// Group sequences: the lines they hold ("" + lines: must not hold), no DATA ERROR.
TEST(Section3Test, GroupSequences) {
    for (const auto& [groups, lines, held] :
         std::vector<std::tuple<std::string, std::string, bool>>{
             {"55/// 20884 60192", "Radiation amount:   884J/cm2\n", true},
             // 56xxx would be cloud drift, but right after 553SS it is the radiation.
             {"55300 56123 56123", "Radiation amount:  6123kJ/m2\nLow  cloud drift:       1\n",
              true},
             {"55409 56123", "Low  cloud drift:       1\n", true},  // other announcement
             {"55409 56123", "Radiation", false},
             {"55407 60121", "Rain fall:", true},  // announcement without its follow-up
             {"55407 60121", "Radiation", false},
             {"50123 54213 55309 00123 56123 58123 59005", "Pres. chang. (24h):-0.5hPa \n", true},
             {"81225 82330 91208 91108", "Cloud base height: 900m\nSpecial Phenomena: 912 ", true},
             {"81225 82330 91208 91108", "\nSpecial Phenomena: 911 ", true},
             {"91208 80000 01234 1E345 ABCDE",
              "Local information: 01234\nLocal information: 13345\nLocal information: ABCDE\n",
              true},
             // 80000 opens the regional groups wherever it stands.
             {"81225 80000 81225", "Local information: 81225\n", true},
             {"ABCDE 10178", "Max. temperature : +17.8",
              true}}) {  // ignored until the order starts
        const Decoded decoded = DecodeSection3(groups);
        EXPECT_EQ(decoded.text.find(lines) != std::string::npos, held) << groups << ": " << lines;
        EXPECT_TRUE(decoded.errors.empty()) << groups;
    }
}

TEST(Section3Test, ASecondSectionStartsWithAFreshJ1) {
    const Decoded decoded = DecodeSection3("57285=\n10384 32465 02405 333 54213");
    EXPECT_TRUE(decoded.errors.empty());
    EXPECT_NE(decoded.text.find("Temperat. change:-3"), std::string::npos);
}

}  // namespace
}  // namespace nimbo
