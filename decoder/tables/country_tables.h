// Country and WMO region of a land station, from its five-figure index number
// IIiii read as an integer (block number * 1000 + station number).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace nimbo {

// One row of the country table: an inclusive range of station numbers.
struct CountryRow {
    std::int32_t lowest;
    std::int32_t highest;
    std::string_view name;
    std::string_view designator;  // two-letter country designator
};

// One row of the region table: an inclusive range of station numbers.
struct RegionRow {
    std::int32_t lowest;
    std::int32_t highest;
    std::string_view text;
};

// The country table (254 rows) and the region table (22 rows), in lookup order.
// Ranges overlap: the first row that holds a number wins, so an earlier row
// shadows the later ones.
std::span<const CountryRow> CountryRows();
std::span<const RegionRow> RegionRows();

// Country name of the first row holding `stationNumber`; empty when none does.
// Any value is accepted (negative or above 99999 simply match nothing).
std::string_view CountryName(std::int32_t stationNumber);

// Two-letter designator of the same first matching row; empty when none does.
std::string_view CountryDesignator(std::int32_t stationNumber);

// WMO region text, e.g. "(Region VI: Europe)", of the first region range that
// holds `stationNumber`; empty when none does (40001-40349, 99000-99999,
// negative numbers and numbers above 99999).
std::string_view RegionText(std::int32_t stationNumber);

}  // namespace nimbo
