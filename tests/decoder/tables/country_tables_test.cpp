// Tests of the country and region lookups by station number: every row is a
// usable range, the first-match rule where ranges overlap, the real stations
// of the catalogue against the rows that hold them, and the region gaps.
#include "country_tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace nimbo {
namespace {

TEST(CountryTable, EveryRowIsAUsableRange) {
    const auto rows = CountryRows();
    ASSERT_EQ(rows.size(), 254u);
    for (const CountryRow& row : rows) {
        EXPECT_LE(row.lowest, row.highest) << row.name;
        EXPECT_GE(row.lowest, 1000) << row.name;
        EXPECT_LE(row.highest, 99999) << row.name;
        EXPECT_FALSE(row.name.empty());
        EXPECT_EQ(row.designator.size(), 2u) << row.name;
    }
    EXPECT_EQ(RegionRows().size(), 22u);
}

// Name and designator of every number come from the first row that holds it.
TEST(CountryLookup, EveryNumberGivesItsFirstRow) {
    const auto rows = CountryRows();
    for (std::int32_t n = -1; n <= 100000; ++n) {
        const CountryRow* first = nullptr;
        for (const CountryRow& row : rows) {
            if (row.lowest <= n && n <= row.highest) {
                first = &row;
                break;
            }
        }
        ASSERT_EQ(CountryName(n), first ? first->name : "") << n;
        ASSERT_EQ(CountryDesignator(n), first ? first->designator : "") << n;
    }
}

// The catalogue names each real station's country: a row bound that is off
// by one block puts whole groups of real stations into the wrong country.
TEST(CountryLookup, RealStationsFallIntoTheirCountry) {
    std::ifstream catalogue(NIMBO_CATALOGUE_FILE);
    ASSERT_TRUE(catalogue) << NIMBO_CATALOGUE_FILE;
    int stations = 0;
    int agreeing = 0;
    for (std::string line; std::getline(catalogue, line);) {
        // Number, optional call sign, name, designator, latitude, longitude.
        std::istringstream fields(line);
        std::vector<std::string> words;
        for (std::string word; fields >> word;) words.push_back(word);
        if (words.size() < 4) continue;
        const std::string& designator = words[words.size() - 3];
        ++stations;
        if (CountryDesignator(std::stoi(line.substr(0, 5))) == designator) ++agreeing;
    }
    EXPECT_GT(stations, 10000);
    EXPECT_GE(agreeing, stations * 84 / 100) << agreeing << " of " << stations;
}

TEST(RegionLookup, EveryNumberOutsideTheGapsHasItsRegion) {
    for (std::int32_t n = -1; n <= 100000; ++n) {
        const bool gap = (n >= 40001 && n <= 40349) || n >= 99000 || n < 0;
        ASSERT_EQ(RegionText(n).empty(), gap) << n;
    }
    EXPECT_TRUE(RegionText(std::numeric_limits<std::int32_t>::min()).empty());
}

}  // namespace
}  // namespace nimbo
