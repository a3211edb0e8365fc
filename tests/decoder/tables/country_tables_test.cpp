// Tests of the country and region lookups by station number: the row counts,
// the first-match rule where ranges overlap, and every range at its bounds.
#include "country_tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace nimbo {
namespace {

constexpr std::string_view kEurope = "(Region VI: Europe)";
constexpr std::string_view kAsia = "(Region II: Asia)";
constexpr std::string_view kAfrica = "(Region I: Africa)";
constexpr std::string_view kSouthAmerica = "(Region III: South America)";
constexpr std::string_view kNorthAmerica = "(Region IV: North and Central America)";
constexpr std::string_view kPacific = "(Region V: South-West Pacific)";
constexpr std::string_view kAntarctic = "(Stations in the Antarctic)";

struct CountryCase {
    std::int32_t station;
    std::string_view name;
    std::string_view designator;
};

void ExpectCountries(std::initializer_list<CountryCase> cases) {
    for (const CountryCase& c : cases) {
        EXPECT_EQ(CountryName(c.station), c.name) << "station " << c.station;
        EXPECT_EQ(CountryDesignator(c.station), c.designator) << "station " << c.station;
    }
}

// --- Shape of the tables ---------------------------------------------------------

TEST(CountryTable, HoldsAllRowsInOrder) {
    const auto rows = CountryRows();
    ASSERT_EQ(rows.size(), 254u);
    EXPECT_EQ(rows.front().name, "NORWAY");
    EXPECT_EQ(rows.back().name, "BUOYS & MISCELLANEOUS MILITARY");
    EXPECT_EQ(rows.back().designator, "xx");
}

TEST(CountryTable, EveryRowIsAUsableRange) {
    for (const CountryRow& row : CountryRows()) {
        EXPECT_LE(row.lowest, row.highest) << row.name;
        EXPECT_GE(row.lowest, 1000) << row.name;
        EXPECT_LE(row.highest, 99999) << row.name;
        EXPECT_FALSE(row.name.empty());
        EXPECT_EQ(row.designator.size(), 2u) << row.name;
    }
}

TEST(CountryTable, SingaporeSitsBetweenMalaysiaAndVietNam) {
    const auto rows = CountryRows();
    for (std::size_t i = 1; i + 1 < rows.size(); ++i) {
        if (rows[i].name != "SINGAPORE") continue;
        EXPECT_EQ(rows[i - 1].name, "MALAYSIA");
        EXPECT_EQ(rows[i + 1].name, "VIET NAM");
        EXPECT_EQ(rows[i].designator, "SR");
        return;
    }
    FAIL() << "no SINGAPORE row";
}

TEST(RegionTable, HoldsAllRanges) { EXPECT_EQ(RegionRows().size(), 22u); }

// --- Country lookup: first match wins ----------------------------------------------

TEST(CountryLookup, EarlierRowsShadowLaterOverlappingOnes) {
    ExpectCountries({
        {13000, "YUGOSLAVIA", "YG"},      {13001, "YUGOSLAVIA", "YG"},
        {13599, "YUGOSLAVIA", "YG"},      {43400, "INDIA", "IN"},
        {43466, "INDIA", "IN"},           {43599, "INDIA", "IN"},
        {63600, "UGANDA", "UG"},          {63979, "UGANDA", "UG"},
        {64000, "ZAIRE", "ZR"},           {64360, "ZAIRE", "ZR"},
        {64361, "CONGO", "CG"},           {64380, "RWANDA", "RW"},
        {64389, "RWANDA", "RW"},          {64390, "BURUNDI", "BI"},
        {64399, "BURUNDI", "BI"},         {64400, "CONGO", "CG"},
        {67400, "ZAMBIA", "ZB"},          {67753, "ZAMBIA", "ZB"},
        {67790, "MALAWI", "MW"},          {68000, "NAMIBIA", "NM"},
        {68349, "NAMIBIA", "NM"},         {68350, "SOUTH AFRICA", "ZA"},
        {68396, "SOUTH AFRICA", "ZA"},    {68455, "SOUTH AFRICA", "ZA"},
        {68989, "SOUTH AFRICA", "ZA"},    {78118, "BAHAMAS", "BA"},
        {78385, "JAMAICA", "JM"},         {78450, "JAMAICA", "JM"},
        {78925, "JAMAICA", "JM"},         {78999, "JAMAICA", "JM"},
        {91530, "SOLOMON ISLANDS", "SO"}, {96000, "INDONESIA", "ID"},
        {96299, "INDONESIA", "ID"},       {96315, "BRUNEI", "BF"},
        {96400, "SARAWAK", "SK"},         {96499, "SARAWAK", "SK"},
        {96500, "INDONESIA", "ID"},       {97999, "INDONESIA", "ID"},
    });
}

TEST(CountryLookup, RangesAtTheirBounds) {
    ExpectCountries({
        {1000, "NORWAY", "NO"},
        {1499, "NORWAY", "NO"},
        {3949, "UNITED KINGDOM AND NORTHERN IRELAND", "UK"},
        {3950, "IRELAND", "IE"},
        {8490, "SPAIN", "SP"},
        {8495, "GIBRALTAR", "GI"},
        {26049, "BYELORUSSIA", "BY"},
        {26050, "RUSSIA", "RS"},
        {34400, "UKRAIN & RUSSIA", "UR"},
        {41150, "BAHRAIN", "BN"},
        {48689, "MALAYSIA", "MS"},
        {61901, "ST. HELENA", "HE"},
        {68992, "BOUVET ISLAND", "BV"},
        {78016, "BERMUDA", "BE"},
        {89800, "MISCELLANEOUS MILITARY", "--"},
        {91245, "WAKE ISLAND", "WK"},
        {99000, "BUOYS & MISCELLANEOUS MILITARY", "xx"},
        {99123, "BUOYS & MISCELLANEOUS MILITARY", "xx"},
        {99999, "BUOYS & MISCELLANEOUS MILITARY", "xx"},
    });
}

TEST(CountryLookup, SingaporeCoversItsStations) {
    ExpectCountries({
        {48690, "SINGAPORE", "SR"},
        {48692, "SINGAPORE", "SR"},
        {48698, "SINGAPORE", "SR"},
        {48699, "SINGAPORE", "SR"},
        {48700, "", ""},
        {48799, "", ""},
        {48800, "VIET NAM", "VS"},
    });
}

TEST(CountryLookup, NumbersInNoRowGiveNothing) {
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    ExpectCountries({
        {0, "", ""},
        {999, "", ""},
        {1500, "", ""},
        {5000, "", ""},
        {8491, "", ""},
        {40200, "", ""},
        {45020, "", ""},
        {67754, "", ""},
        {78017, "", ""},
        {-1, "", ""},
        {100000, "", ""},
        {kMin, "", ""},
        {kMax, "", ""},
    });
}

// The name and the designator always come from the same row.
TEST(CountryLookup, NameAndDesignatorBelongTogether) {
    for (std::int32_t n = 0; n <= 99999; ++n) {
        const std::string_view name = CountryName(n);
        const std::string_view designator = CountryDesignator(n);
        if (name.empty()) {
            ASSERT_TRUE(designator.empty()) << n;
            continue;
        }
        bool paired = false;
        for (const CountryRow& row : CountryRows()) {
            if (row.name == name && row.designator == designator && row.lowest <= n &&
                n <= row.highest) {
                paired = true;
                break;
            }
        }
        ASSERT_TRUE(paired) << n;
    }
}

// --- Region lookup -------------------------------------------------------------------

TEST(RegionLookup, RangesAtTheirBounds) {
    const struct {
        std::int32_t station;
        std::string_view text;
    } cases[] = {
        {0, kEurope},
        {19999, kEurope},
        {20000, kAsia},
        {20099, kAsia},
        {20100, kEurope},
        {20199, kEurope},
        {20200, kAsia},
        {21999, kAsia},
        {22000, kEurope},
        {22999, kEurope},
        {23000, kAsia},
        {25999, kAsia},
        {26000, kEurope},
        {27999, kEurope},
        {28000, kAsia},
        {32999, kAsia},
        {33000, kEurope},
        {34999, kEurope},
        {35000, kAsia},
        {36000, kAsia},
        {37000, kEurope},
        {37999, kEurope},
        {38000, kAsia},
        {39999, kAsia},
        {40000, kEurope},
        {40001, ""},
        {40200, ""},
        {40349, ""},
        {40350, kAsia},
        {48599, kAsia},
        {48600, kPacific},
        {48799, kPacific},
        {48800, kAsia},
        {49999, kAsia},
        {50000, kAsia},
        {59999, kAsia},
        {60000, kAfrica},
        {69999, kAfrica},
        {70000, kNorthAmerica},
        {79999, kNorthAmerica},
        {80000, kSouthAmerica},
        {88999, kSouthAmerica},
        {89000, kAntarctic},
        {89999, kAntarctic},
        {90000, kPacific},
        {98999, kPacific},
        {99000, ""},
        {99123, ""},
        {99999, ""},
        {-1, ""},
        {100000, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(RegionText(c.station), c.text) << c.station;
}

TEST(RegionLookup, OnlyTheKnownGapsHaveNoRegion) {
    for (std::int32_t n = 0; n <= 99999; ++n) {
        const bool gap = (n >= 40001 && n <= 40349) || n >= 99000;
        ASSERT_EQ(RegionText(n).empty(), gap) << n;
    }
}

TEST(RegionLookup, ExtremeNumbersGiveNothing) {
    EXPECT_TRUE(RegionText(std::numeric_limits<std::int32_t>::min()).empty());
    EXPECT_TRUE(RegionText(std::numeric_limits<std::int32_t>::max()).empty());
}

}  // namespace
}  // namespace nimbo
