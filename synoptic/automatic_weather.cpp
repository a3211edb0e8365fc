#include "automatic_weather.h"

#include <array>

namespace synoptic {
namespace {

constexpr int kNone = -1;

// wawa (code table 4680) -> ww (code table 4677), ten figures a row. Where
// an automatic station cannot tell what a manned observer would (sky
// visible or not, continuous or intermittent), the symbol of the sky
// hidden and of continuous precipitation stands for both; precipitation of
// unknown kind (21, 40-42) has no symbol.
constexpr std::array<int, 100> kPresentWeather = {
    //  x0     x1     x2     x3     x4     x5     x6     x7     x8     x9
    kNone, kNone, kNone, kNone, 5,     5,     kNone, kNone, kNone, kNone,  // 0x haze, dust
    10,    76,    13,    kNone, kNone, kNone, kNone, kNone, 18,    kNone,  // 1x mist, lightning
    28,    kNone, 20,    21,    22,    24,    29,    38,    38,    39,     // 2x past hour, blowing
    45,    41,    43,    45,    47,    49,    kNone, kNone, kNone, kNone,  // 3x fog
    kNone, kNone, kNone, 61,    65,    71,    75,    66,    67,    kNone,  // 4x precipitation
    51,    51,    53,    55,    56,    57,    57,    58,    59,    kNone,  // 5x drizzle
    61,    61,    63,    65,    66,    67,    67,    68,    69,    kNone,  // 6x rain
    71,    71,    73,    75,    79,    79,    79,    77,    76,    kNone,  // 7x snow, ice
    80,    80,    81,    81,    82,    85,    86,    86,    kNone, 89,     // 8x showers, hail
    95,    17,    95,    96,    17,    97,    99,    kNone, kNone, 19,     // 9x thunderstorm
};

// Wa (code table 4531) -> W (code table 4561): reduced visibility and
// precipitation of unknown kind have no symbol.
constexpr std::array<int, 10> kPastWeather = {kNone, kNone, 3, 4, kNone, 5, 6, 7, 8, 9};

template <std::size_t N>
std::optional<int> Look(const std::array<int, N>& table, int figure) {
    if (figure < 0 || figure >= static_cast<int>(N) || table[figure] == kNone) return std::nullopt;
    return table[figure];
}

}  // namespace

std::optional<int> PresentWeatherOfAutomatic(int wawa) { return Look(kPresentWeather, wawa); }

std::optional<int> PastWeatherOfAutomatic(int wa) { return Look(kPastWeather, wa); }

}  // namespace synoptic
