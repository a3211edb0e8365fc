// Texts of the WMO code tables and of the bulletin heading, laid out as the
// manuals print them, and their bounds-checked lookups.
#include "code_tables.h"

#include <cstddef>
#include <span>

namespace nimbo {
namespace {

// One row of a code table: code figure and its text. Figures a table does not
// list read as the empty text.
struct CodeRow {
    int figure;
    std::string_view text;
};

// A row of code table 4019 (tR): the period's text and its length.
struct PeriodRow {
    int figure;
    std::string_view text;
    int hours;
};

// A row of code table 4377 (VV) with a text of its own.
struct VisibilityRow {
    int figure;
    VisibilityForm form;
    int metres;
    bool lessThan;
    std::string_view text;
};

// One row of a heading table keyed by a single letter.
struct LetterRow {
    char letter;
    std::string_view text;
};

// One row of a heading table keyed by the leading letters of a group.
struct PrefixRow {
    std::string_view prefix;
    std::string_view text;
};

// The tables keep one row per line, as printed.
// clang-format off

// Code table 1855 (iw), wind-speed unit
constexpr CodeRow k1855Iw[] = {
    {0, "m/s (estimated)"},
    {1, "m/s (from anemometer)"},
    {2, ""},
    {3, "knots (estimated)"},
    {4, "knots (from anemometer)"},
};

// Code table 1600 (h), height of the base of the lowest cloud
constexpr CodeRow k1600H[] = {
    {0, "   0 to less than   50m"},
    {1, "  50 to less than  100m"},
    {2, " 100 to less than  200m"},
    {3, " 200 to less than  300m"},
    {4, " 300 to less than  600m"},
    {5, " 600 to less than 1000m"},
    {6, "1000 to less than 1500m"},
    {7, "1500 to less than 2000m"},
    {8, "2000 to less than 2500m"},
    {9, "Above 2500 m"},
};

// Code table 1751 (Is), ice accretion on ships
constexpr CodeRow k1751Is[] = {
    {1, "Icing from ocean spray"},
    {2, "Icing from fog"},
    {3, "Icing from spray and fog"},
    {4, "Icing from rain"},
    {5, "Icing from spray and rain"},
};

// Code table 3551 (Rs), rate of ice accretion on ships
constexpr CodeRow k3551Rs[] = {
    {0, "Ice not building up"},
    {1, "Ice building up slowly"},
    {2, "Ice building up rapidly"},
    {3, "Ice melting or breaking up slowly"},
    {4, "Ice melting or breaking up rapidly"},
};

// Code table 4377 (VV), horizontal visibility: the figures with a text of
// their own, with the distance each stands for; the others are computed below
constexpr VisibilityRow k4377VV[] = {
    {0, VisibilityForm::kPhrase, 100, true, "less than 0.1 km"},
    {89, VisibilityForm::kPhrase, 70000, false, "greater than 70 km"},
    {90, VisibilityForm::kPhrase, 50, true, "less than 0.05 km"},
    {91, VisibilityForm::kText, 50, false, "0.05km"},
    {92, VisibilityForm::kText, 200, false, "0.2km"},
    {93, VisibilityForm::kText, 500, false, "0.5km"},
    {94, VisibilityForm::kText, 1000, false, " 1km"},
    {95, VisibilityForm::kText, 2000, false, " 2km"},
    {96, VisibilityForm::kText, 4000, false, " 4km"},
    {97, VisibilityForm::kText, 10000, false, "10km"},
    {98, VisibilityForm::kText, 20000, false, "20km"},
    {99, VisibilityForm::kPhrase, 50000, false, "greater than 50 km"},
};

// Code table 2700 (N), total cloud cover; also Nh and Ns
constexpr CodeRow k2700N[] = {
    {0, "clear"},
    {1, "1 okta or less"},
    {2, "2 oktas"},
    {3, "3 oktas"},
    {4, "4 oktas"},
    {5, "5 oktas"},
    {6, "6 oktas"},
    {7, "7 oktas"},
    {8, "overcast"},
    {9, "sky obscured"},
};

// Code table 0200 (a), characteristic of pressure tendency
constexpr CodeRow k0200A[] = {
    {0, "increasing then decreasing (res. pressure same or higher)"},
    {1, "increasing then steady (res. pressure higher)"},
    {2, "increasing steadily (res. pressure higher)"},
    {3, "decreasing or steady then increasing (res. pressure higher)"},
    {4, "steady (res. pressure same)"},
    {5, "decreasing then increasing (res. pressure lower)"},
    {6, "decreasing then steady (res. pressure lower)"},
    {7, "decreasing steadily (res. pressure lower)"},
    {8, "increasing or steady then decreasing (res. pressure lower)"},
};

// Code table 4019 (tR), duration of the precipitation period
constexpr PeriodRow k4019TR[] = {
    {1, " 6 hours", 6},
    {2, "12 hours", 12},
    {3, "18 hours", 18},
    {4, "24 hours", 24},
    {5, " 1 hour", 1},
    {6, " 2 hours", 2},
    {7, " 3 hours", 3},
    {8, " 9 hours", 9},
    {9, "15 hours", 15},
};

// Code table 4677 (ww), present weather reported from a manned station
constexpr CodeRow k4677Ww[] = {
    {0, "Cloud development not observed or not observable"},
    {1, "Clouds generally dissolving or becoming less developed"},
    {2, "State of sky on the whole unchanged"},
    {3, "Clouds generally forming or developing"},
    {4, "Visibility reduced by smoke"},
    {5, "Haze"},
    {6, "Widespread dust in suspension in the air, not raised by wind"},
    {7, "Dust or sand (or spray) raised by wind"},
    {8, "Well developed dust or sand whirl(s)"},
    {9, "Duststorm or sandstorm within sight or during preceding hour"},
    {10, "Mist"},
    {11, "Patches of shallow (less than 2m deep) fog or ice fog"},
    {12, "Continuous shallow (less than 2m deep) fog or ice fog"},
    {13, "Lightning visible, no thunder heard"},
    {14, "Precipitation in sight, not reaching the ground"},
    {15, "Precipitation in sight, reaching the ground, more than 5km away"},
    {16, "Precipitation in sight, reaching the ground nearby"},
    {17, "Thunderstorm, but no precipitation at time of observation"},
    {18, "Squalls within sight in last hour"},
    {19, "Funnel cloud(s) within sight in last hour"},
    {20, "Drizzle or snow grains in last hour"},
    {21, "Rain in last hour"},
    {22, "Snow in last hour"},
    {23, "Rain and snow or ice pellets in last hour"},
    {24, "Freezing drizzle or freezing rain in last hour"},
    {25, "Rain showers in last hour"},
    {26, "Showers of snow, or of rain and snow in last hour"},
    {27, "Showers of hail, or of rain and hail in last hour"},
    {28, "Fog in last hour"},
    {29, "Thunderstorm in last hour"},
    {30, "Slight or moderate duststorm or sandstorm, has decreased in last hour"},
    {31, "Slight or moderate duststorm or sandstorm, no change in last hour"},
    {32, "Slight or moderate duststorm or sandstorm, has increased in last hour"},
    {33, "Severe duststorm or sandstorm, has decreased in last hour"},
    {34, "Severe duststorm or sandstorm, no change in last hour"},
    {35, "Severe duststorm or sandstorm, has increased in last hour"},
    {36, "Slight or moderate drifting snow (below eye level)"},
    {37, "Heavy drifting snow (below eye level)"},
    {38, "Slight or moderate blowing snow (above eye level)"},
    {39, "Heavy blowing snow (above eye level)"},
    {40, "Fog extending above observer in distance"},
    {41, "Fog in patches"},
    {42, "Fog has become thinner in last hour, sky visible"},
    {43, "Fog has become thinner in last hour, sky invisible"},
    {44, "Fog, no change in last hour, sky visible"},
    {45, "Fog, no change in last hour, sky invisible"},
    {46, "Fog has become thicker in last hour, sky visible"},
    {47, "Fog has become thicker in last hour, sky invisible"},
    {48, "Fog depositing rime, sky visible"},
    {49, "Fog depositing rime, sky invisible"},
    {50, "Slight intermittent drizzle"},
    {51, "Slight continuous drizzle"},
    {52, "Moderate intermittent drizzle"},
    {53, "Moderate continuous drizzle"},
    {54, "Heavy intermittent drizzle"},
    {55, "Heavy continuous drizzle"},
    {56, "Slight freezing drizzle"},
    {57, "Moderate or heavy freezing drizzle"},
    {58, "Slight rain and drizzle"},
    {59, "Moderate or heavy rain and drizzle"},
    {60, "Slight intermittent rain"},
    {61, "Slight continuous rain"},
    {62, "Moderate intermittent rain"},
    {63, "Moderate continuous rain"},
    {64, "Heavy intermittent rain"},
    {65, "Heavy continuous rain"},
    {66, "Slight freezing rain"},
    {67, "Moderate or heavy freezing rain"},
    {68, "Slight rain or drizzle and snow"},
    {69, "Moderate or heavy rain or drizzle and snow"},
    {70, "Slight intermittent fall of snow flakes"},
    {71, "Slight continuous fall of snow flakes"},
    {72, "Moderate intermittent fall of snow flakes"},
    {73, "Moderate continuous fall of snow flakes"},
    {74, "Heavy intermittent fall of snow flakes"},
    {75, "Heavy continuous fall of snow flakes"},
    {76, "Ice prisms"},
    {77, "Snow grains"},
    {78, "Isolated starlike snow crystals"},
    {79, "Ice pellets"},
    {80, "Slight rain showers"},
    {81, "Moderate or heavy rain showers"},
    {82, "Violent rain showers"},
    {83, "Slight showers of rain and snow mixed"},
    {84, "Moderate or heavy showers of rain and snow mixed"},
    {85, "Slight snow showers"},
    {86, "Moderate or heavy snow showers"},
    {87, "Slight showers of ice or snow pellets"},
    {88, "Moderate or heavy showers of ice or snow pellets"},
    {89, "Slight hail showers"},
    {90, "Moderate or heavy hail showers"},
    {91, "Slight rain, thunderstorm in last hour"},
    {92, "Moderate or heavy rain, thunderstorm in last hour"},
    {93, "Slight rain and/or snow or hail, thunderstorm in last hour"},
    {94, "Moderate or heavy rain and/or snow or hail, thunderstorm in last hour"},
    {95, "Slight or moderate thunderstorm with rain and/or snow"},
    {96, "Slight or moderate thunderstorm with hail"},
    {97, "Heavy thunderstorm with rain and/or snow"},
    {98, "Thunderstorm combined with duststorm or sandstorm"},
    {99, "Heavy thunderstorm with hail"},
};

// Code table 4561 (W1, W2), past weather, manned station
constexpr CodeRow k4561W[] = {
    {0, "Cloud covering half or less of the sky"},
    {1, "Cloud covering about half of the sky"},
    {2, "Cloud covering more than half of the sky"},
    {3, "Duststorm, sandstorm or blowing snow"},
    {4, "Fog or thick haze"},
    {5, "Drizzle"},
    {6, "Rain"},
    {7, "Snow, or rain and snow mixed"},
    {8, "Shower(s)"},
    {9, "Thunderstorm"},
};

// Code table 4680 (wawa), present weather reported from an automatic station
constexpr CodeRow k4680Wawa[] = {
    {0, "No significant weather observed"},
    {1, "Clouds generally dissolving or becoming less developed (during past hour)"},
    {2, "State of sky generally unchanged"},
    {3, "Clouds forming or developing (during past hour)"},
    {4, "Haze, smoke or suspended dust (vis >=1.0km)"},
    {5, "Haze, smoke or suspended dust (vis < 1.0km)"},
    {6, ""},
    {7, ""},
    {8, ""},
    {9, ""},
    {10, "Mist"},
    {11, "Diamond dust"},
    {12, "Distant lightning "},
    {13, ""},
    {14, ""},
    {15, ""},
    {16, ""},
    {17, ""},
    {18, "Squalls"},
    {19, ""},
    {20, "Fog"},
    {21, "Precipitation"},
    {22, "Drizzle (non-freezing) or snow grains"},
    {23, "Rain (non-freezing)"},
    {24, "Snow"},
    {25, "Freezing drizzle or rain"},
    {26, "Thunderstorm (with/without ppn)"},
    {27, "Blowing/Drifting snow/sand"},
    {28, "Blowing/Drifting snow/sand: vis >=1.0km "},
    {29, "Blowing/Drifting snow/sand: vis < 1.0km"},
    {30, "Fog"},
    {31, "Fog/Ice Fog in patches"},
    {32, "Fog/Ice Fog - thinning in past hour"},
    {33, "Fog/Ice Fog - no change"},
    {34, "Fog/Ice Fog - set in, or thickened in past hour"},
    {35, "Fog - depositing rime"},
    {36, ""},
    {37, ""},
    {38, ""},
    {39, ""},
    {40, "Precipitation"},
    {41, "Precipitation - slight/moderate"},
    {42, "Precipitation - heavy"},
    {43, "Liquid Precipitation - slight/moderate"},
    {44, "Liquid Precipitation - heavy"},
    {45, "Solid Precipitation - slight/moderate"},
    {46, "Solid Precipitation - heavy"},
    {47, "Freezing Precipitation - slight/moderate"},
    {48, "Freezing Precipitation - heavy"},
    {49, ""},
    {50, "Drizzle"},
    {51, "Drizzle, not freezing - slight"},
    {52, "Drizzle, not freezing - moderate"},
    {53, "Drizzle, not freezing - heavy"},
    {54, "Drizzle, freezing - slight"},
    {55, "Drizzle, freezing - moderate"},
    {56, "Drizzle, freezing - heavy"},
    {57, "Drizzle & rain mixed - slight"},
    {58, "Drizzle & rain mixed - moderate/heavy"},
    {59, ""},
    {60, "Rain"},
    {61, "Rain, not freezing - slight"},
    {62, "Rain, not freezing - moderate"},
    {63, "Rain, not freezing - heavy"},
    {64, "Freezing rain - slight"},
    {65, "Freezing rain - moderate"},
    {66, "Freezing rain - heavy"},
    {67, "Rain/drizzle & snow mixed - slight"},
    {68, "Rain/drizzle & snow mixed - moderate/heavy"},
    {69, ""},
    {70, "Snow"},
    {71, "Snow - slight"},
    {72, "Snow - moderate"},
    {73, "Snow - heavy"},
    {74, "Ice Pellets - slight"},
    {75, "Ice Pellets - moderate"},
    {76, "Ice Pellets - heavy"},
    {77, "Snow grains"},
    {78, "Ice crystals"},
    {79, ""},
    {80, "Intermittent Precipitation"},
    {81, "Intermittent rain - slight"},
    {82, "Intermittent rain - moderate"},
    {83, "Intermittent rain - heavy"},
    {84, "Intermittent rain - violent"},
    {85, "Intermittent snow - slight"},
    {86, "Intermittent snow - moderate"},
    {87, "Intermittent snow - heavy"},
    {88, ""},
    {89, "Hail "},
    {90, "Thunderstorm "},
    {91, "Thunderstorm, slight/moderate - no Precipitation "},
    {92, "Thunderstorm, slight/moderate - rain/snow showers "},
    {93, "Thunderstorm, slight/moderate - hail "},
    {94, "Thunderstorm, heavy - no Precipitation "},
    {95, "Thunderstorm, heavy - rain/snow showers "},
    {96, "Thunderstorm, heavy - hail "},
    {97, ""},
    {98, ""},
    {99, "Tornado"},
};

// Code table 4531 (Wa1, Wa2), past weather, automatic station
constexpr CodeRow k4531Wa[] = {
    {0, "No significant weather observed"},
    {1, "visibility reduced"},
    {2, "Blowing phenomena, visibility reduced"},
    {3, "Fog"},
    {4, "Precipitation"},
    {5, "Drizzle"},
    {6, "Rain"},
    {7, "Snow or ice pellets"},
    {8, "Showers or intermittent precipitation"},
    {9, "Thunderstorm"},
};

// Code table 0513 (CL), low clouds
constexpr CodeRow k0513CL[] = {
    {0, "No low clouds"},
    {1, "Cumulus humulis or fractus (no vertical development)"},
    {2, "Cumulus mediocris or congestus (moderate vertical development)"},
    {3, "Cumulonimbus calvus (no outlines nor anvil)"},
    {4, "Stratocumulus cumulogenitus (formed by spreading of cumulus)"},
    {5, "Stratocumulus"},
    {6, "Stratus nebulosus (continuous sheet)"},
    {7, "Stratus or cumulus fractus (bad weather)"},
    {8, "Cumulus and stratocumulus (multilevel)"},
    {9, "Cumulonimbus with anvil"},
};

// Code table 0515 (CM), middle clouds
constexpr CodeRow k0515CM[] = {
    {0, "No middle clouds"},
    {1, "Altostratus translucidous (mostly transparent)"},
    {2, "Altostratus opacus or nimbostratus"},
    {3, "Altocumulus translucidous (mostly transparent)"},
    {4, "Patches of altocumulus (irregular, lenticular)"},
    {5, "Bands of altocumulus"},
    {6, "Altocumulus cumulogenitus (formed by spreading of cumulus)"},
    {7, "Altocumulus (multilayers)"},
    {8, "Altocumulus castellanus (having cumuliform tufts)"},
    {9, "Altocumulus of a chaotic sky"},
};

// Code table 0509 (CH), high clouds
constexpr CodeRow k0509CH[] = {
    {0, "No high clouds"},
    {1, "Cirrus fibratus (wispy)"},
    {2, "Cirrus spissatus (dense in patches)"},
    {3, "Cirrus spissatus cumulogenitus (formed out of anvil)"},
    {4, "Cirrus unicus or fibratus (progressively invading sky)"},
    {5, "Bands of cirrus or cirrostratus invading sky (less than 45 degree above horizon)"},
    {6, "Bands of cirrus or cirrostratus invading sky (more than 45 degree above horizon)"},
    {7, "Cirrostratus covering whole sky"},
    {8, "Cirrostratus not covering sky but not invading"},
    {9, "Cirrocumulus"},
};

// Code table 0700 (D), direction (ship's course Ds and other directions)
constexpr CodeRow k0700D[] = {
    {0, "calm"},
    {1, "NE"},
    {2, "E"},
    {3, "SE"},
    {4, "S"},
    {5, "SW"},
    {6, "W"},
    {7, "NW"},
    {8, "N"},
    {9, "Unknown"},
};

// Code table 4451 (vs), ship's average speed
constexpr CodeRow k4451Vs[] = {
    {0, " 0 knots"},
    {1, " 1 to  5 knots"},
    {2, " 6 to 10 knots"},
    {3, "11 to 15 knots"},
    {4, "16 to 20 knots"},
    {5, "21 to 25 knots"},
    {6, "26 to 30 knots"},
    {7, "31 to 35 knots"},
    {8, "36 to 40 knots"},
    {9, " over 40 knots"},
};

// Code table 0901 (E), state of the ground without snow or measurable ice cover
constexpr CodeRow k0901E[] = {
    {0, "surface of ground dry"},
    {1, "surface of ground moist"},
    {2, "surface of ground wet"},
    {3, "flooded"},
    {4, "surface of ground frozen"},
    {5, "glaze on ground"},
    {6, "loose dry dust or sand not covering ground completely"},
    {7, "thin cover of loose fry dust or sand covering ground"},
    {8, "moderate or thick cover of loose fry dust or sand covering ground"},
    {9, "extremely dry with cracks"},
};

// Code table 0975 (E'), state of the ground with snow or measurable ice cover
constexpr CodeRow k0975Eprime[] = {
    {0, "predominantly covered with ice"},
    {1, "compact or wet snow covering less than half of ground"},
    {2, "compact or wet snow covering more than half of ground but not completely covered"},
    {3, "even layer of compact or wet snow covering entire ground"},
    {4, "uneven layer of compact or wet snow covering entire ground"},
    {5, "loose dry snow covering less than half of ground"},
    {6, "loose dry snow covering more than half of ground but not completely covered"},
    {7, "even layer of loose dry snow covering entire ground"},
    {8, "uneven layer of loose dry snow covering entire ground"},
    {9, "snow covering ground completely with deep drifts"},
};

// Code table 0500 (C), genus of cloud
constexpr CodeRow k0500C[] = {
    {0, "cirrus (Ci)"},
    {1, "cirrocumulus (Cc)"},
    {2, "cirrostratus (Cs)"},
    {3, "altocumulus (Ac)"},
    {4, "altostratus (As)"},
    {5, "nimbostratus (Ns)"},
    {6, "stratocumulus (Sc)"},
    {7, "stratus (St)"},
    {8, "cumulus (Cu)"},
    {9, "cumulonimbus (Cb)"},
};

// Code table 1806 (iE), evaporation instrument or crop type
constexpr CodeRow k1806IE[] = {
    {0, "USA open pan evaporimeter (without cover)"},
    {1, "USA open pan evaporimeter (mesh cover)"},
    {2, "GGI-3000 evaporimeter (sunken) Evaporation"},
    {3, "20m2 tank"},
    {4, "Others"},
    {5, "Rice"},
    {6, "Wheat"},
    {7, "Maize Evapotranspiration"},
    {8, "Sorghum"},
    {9, "Other Crops"},
};

// Radiation type j of the radiation groups
constexpr CodeRow kRadiationType[] = {
    {0, "positive  net  radiation"},
    {1, "negative  net  radiation"},
    {2, "global   solar radiation"},
    {3, "diffused solar radiation"},
    {4, "downward long wave radiation"},
    {5, "upward   long wave radiation"},
    {6, "short wave radiation"},
    {7, "net short wave radiation"},
    {8, "direct solar radiation"},
};

// Code table 3778 (SpSp), special-phenomena category, by SpSp / 10
constexpr CodeRow k3778SpSp[] = {
    {0, "Time and variability"},
    {1, "Wind and Squall"},
    {2, "State of the sea, Icing phenomena and Snow Cover"},
    {3, "Amount of precipitation or deposit"},
    {4, "Clouds"},
    {5, "Cloud conditions over mountains or valleys observed from a higher level"},
    {6, "Present weather and past weather"},
    {7, "Location and movement of phenomena"},
    {8, "Visibility"},
    {9, "Optical phenomena and miscellaneous"},
};

// Code table 0552 (Ct), top of cloud whose base is below the station level
constexpr CodeRow k0552Ct[] = {
    {0, "Isolated or fragments"},
    {1, "Continuous, flat tops"},
    {2, "Broken, small breaks, flat tops"},
    {3, "Broken, large breaks, flat tops"},
    {4, "Continuous, undulatinh tops"},
    {5, "Broken, small breaks, undulating tops"},
    {6, "Broken, large breaks, undulating tops"},
    {7, "Continous waves with towering clouds above the top"},
    {8, "Groups of waves with towering clouds above the top"},
    {9, "Tow or more layers at different levels"},
};

// Data-type designator T1 of the abbreviated heading, letters A to Z
constexpr LetterRow kDataType[] = {
    {'A', "Analyses"},
    {'B', "Service message"},
    {'C', "Climatic data"},
    {'D', "Grid point information"},
    {'E', "Satellite imagery"},
    {'F', "Forecast"},
    {'G', "Grid point information"},
    {'H', "Grid point information"},
    {'I', "Binary observation"},
    {'J', "Forecast Information"},
    {'K', "CREX"},
    {'L', ""},
    {'M', ""},
    {'N', "Notices"},
    {'O', "Oceanographic"},
    {'P', "Pictorial information"},
    {'Q', "Pictorial information regional"},
    {'R', ""},
    {'S', "Surface data"},
    {'T', "Satellite data"},
    {'U', "Upper-air data"},
    {'V', "National data"},
    {'W', "Warnings"},
    {'X', "GRID Regional use"},
    {'Y', "GRIB Regional use"},
    {'Z', "GRIB National use"},
};

// Geographical area designator A2 of ship bulletins
constexpr LetterRow kArea[] = {
    {'A', "Area between 30\xB0" "N-60\xB0" "S & 035\xB0" "W-070\xB0" "E"},
    {'B', "Area between 90\xB0" "N-05\xB0" "N & 070\xB0" "E-180\xB0" "E"},
    {'C', "Area between 05\xB0" "N-60\xB0" "S & 120\xB0" "W-035\xB0" "W"},
    {'D', "Area between 90\xB0" "N-05\xB0" "N & 180\xB0" "W-035\xB0" "W"},
    {'E', "Area between 05\xB0" "N-60\xB0" "S & 070\xB0" "E-120\xB0" "W"},
    {'F', "Area between 90\xB0" "N-30\xB0" "N & 035\xB0" "W-070\xB0" "E"},
    {'J', "Area between 60\xB0" "S"},
    {'X', "More than one area"},
};

// Station kind A1 of ship bulletins
constexpr LetterRow kStationKind[] = {
    {'W', "Ocean weather station"},
    {'U', "Mobile ships and other marine stations"},
};

// BBB indicator of the abbreviated heading, by its leading letters
constexpr PrefixRow kBbb[] = {
    {"RR", "(Delayed routine meteorological reports)"},
    {"CC", "(Corrections to previously relayed reports)"},
    {"AA", "(Amendments to processed information)"},
    {"P", "(Segmented set of information)"},
};

// Eight-point compass, index 0 to 7
constexpr std::string_view kCompass[] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};

// clang-format on

// Places the rows of a table at their figures (shifted by `offset`) in a run of
// `Size` texts, so that a lookup is one index. A figure outside the run or
// listed twice makes the constant fail to compile.
template <std::size_t Size, class Row, std::size_t N>
consteval std::array<std::string_view, Size> MakeRun(const Row (&rows)[N], int offset = 0) {
    std::array<std::string_view, Size> run{};
    std::array<bool, Size> seen{};
    for (const Row& row : rows) {
        const int figure = row.figure + offset;
        if (figure < 0 || figure >= static_cast<int>(Size) || seen[figure]) {
            throw "code table row outside its run or listed twice";
        }
        seen[figure] = true;
        run[figure] = row.text;
    }
    return run;
}

constexpr auto kRun0200 = MakeRun<10>(k0200A);
constexpr auto kRun0500 = MakeRun<10>(k0500C);
constexpr auto kRun0509 = MakeRun<10>(k0509CH);
constexpr auto kRun0513 = MakeRun<10>(k0513CL);
constexpr auto kRun0515 = MakeRun<10>(k0515CM);
constexpr auto kRun0552 = MakeRun<10>(k0552Ct);
constexpr auto kRun0700 = MakeRun<10>(k0700D);
constexpr auto kRun0901 = MakeRun<10>(k0901E);
constexpr auto kRun0975 = MakeRun<10>(k0975Eprime);
constexpr auto kRun1600 = MakeRun<10>(k1600H);
// Cloud layer heights 90 to 99 reuse the texts of 1600 for figure minus 90.
constexpr auto kRun1677 = MakeRun<100>(k1600H, 90);
constexpr auto kRun1751 = MakeRun<10>(k1751Is);
constexpr auto kRun1806 = MakeRun<10>(k1806IE);
constexpr auto kRun1855 = MakeRun<10>(k1855Iw);
constexpr auto kRun2700 = MakeRun<10>(k2700N);
constexpr auto kRun3551 = MakeRun<10>(k3551Rs);
constexpr auto kRun3778 = MakeRun<10>(k3778SpSp);
constexpr auto kRun4019 = MakeRun<10>(k4019TR);
// Every figure of table 4377: the rows above, and the distances that figures
// 01 to 50 (tenths of a kilometre) and 56 to 88 (kilometres) stand for.
consteval std::array<Visibility, 100> MakeVisibilities() {
    std::array<Visibility, 100> all{};
    for (int vv = 1; vv <= 88; ++vv) {
        if (vv <= 50) all[vv] = {VisibilityForm::kTenthsOfKm, vv * 100, false, {}};
        if (vv >= 56 && vv <= 80)
            all[vv] = {VisibilityForm::kKilometres, (vv - 50) * 1000, false, {}};
        if (vv >= 81)
            all[vv] = {VisibilityForm::kKilometres, ((vv - 80) * 5 + 30) * 1000, false, {}};
    }
    for (const VisibilityRow& row : k4377VV)
        all[row.figure] = {row.form, row.metres, row.lessThan, row.text};
    return all;
}
constexpr std::array<Visibility, 100> kVisibilities = MakeVisibilities();

// The run of code texts holds only the figures printed from the table.
consteval std::array<std::string_view, 100> MakeRun4377() {
    std::array<std::string_view, 100> run{};
    for (const VisibilityRow& row : k4377VV) {
        if (row.form == VisibilityForm::kText) run[row.figure] = row.text;
    }
    return run;
}
constexpr auto kRun4377 = MakeRun4377();
constexpr auto kRun4451 = MakeRun<10>(k4451Vs);
constexpr auto kRun4531 = MakeRun<10>(k4531Wa);
constexpr auto kRun4561 = MakeRun<10>(k4561W);
constexpr auto kRun4677 = MakeRun<100>(k4677Ww);
constexpr auto kRun4680 = MakeRun<100>(k4680Wawa);
constexpr auto kRunRadiation = MakeRun<10>(kRadiationType);

// The runs indexed by their table: one entry per enumerator, in its order.
struct TableRun {
    CodeTable table;
    std::span<const std::string_view> run;
};
constexpr TableRun kRuns[] = {
    {CodeTable::T0200_a, kRun0200},      {CodeTable::T0500_C, kRun0500},
    {CodeTable::T0509_CH, kRun0509},     {CodeTable::T0513_CL, kRun0513},
    {CodeTable::T0515_CM, kRun0515},     {CodeTable::T0552_Ct, kRun0552},
    {CodeTable::T0700_D, kRun0700},      {CodeTable::T0901_E, kRun0901},
    {CodeTable::T0975_Eprime, kRun0975}, {CodeTable::T1600_h, kRun1600},
    {CodeTable::T1677_hshs, kRun1677},   {CodeTable::T1751_Is, kRun1751},
    {CodeTable::T1806_iE, kRun1806},     {CodeTable::T1855_iw, kRun1855},
    {CodeTable::T2700_N, kRun2700},      {CodeTable::T3551_Rs, kRun3551},
    {CodeTable::T3778_SpSp, kRun3778},   {CodeTable::T4019_tR, kRun4019},
    {CodeTable::T4377_VV, kRun4377},     {CodeTable::T4451_vs, kRun4451},
    {CodeTable::T4531_Wa, kRun4531},     {CodeTable::T4561_W, kRun4561},
    {CodeTable::T4677_ww, kRun4677},     {CodeTable::T4680_wawa, kRun4680},
};
static_assert(std::size(kRuns) == kAllCodeTables.size(), "one run per code table");
consteval bool RunsInEnumOrder() {
    for (std::size_t i = 0; i < std::size(kRuns); ++i) {
        if (static_cast<std::size_t>(kRuns[i].table) != i) return false;
    }
    return true;
}
static_assert(RunsInEnumOrder(), "the runs are indexed by their table");

std::span<const std::string_view> Run(CodeTable table) {
    const auto index = static_cast<std::size_t>(table);
    if (index >= std::size(kRuns)) return {};  // a value cast from an integer that names no table
    return kRuns[index].run;
}

std::string_view At(std::span<const std::string_view> run, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= run.size()) return {};
    return run[static_cast<std::size_t>(index)];
}

template <std::size_t N>
std::string_view FindLetter(const LetterRow (&rows)[N], char letter) {
    for (const LetterRow& row : rows) {
        if (row.letter == letter) return row.text;
    }
    return {};
}

}  // namespace

int CodeTableSize(CodeTable table) { return static_cast<int>(Run(table).size()); }

std::string_view CodeText(CodeTable table, int figure) { return At(Run(table), figure); }

std::string_view WindSpeedUnitText(char iw) {
    if (iw < '0' || iw > '4') return kUnitUnknown;
    return CodeText(CodeTable::T1855_iw, iw - '0');
}

std::string_view ReportTypeText(std::string_view indicator) {
    if (indicator == "AAXX") return kReportTypeLand;
    if (indicator == "BBXX") return kReportTypeShip;
    if (indicator == "OOXX") return kReportTypeMobile;
    return {};
}

std::string_view DataTypeText(char t1) { return FindLetter(kDataType, t1); }

std::string_view AreaText(char letter) { return FindLetter(kArea, letter); }

std::string_view StationKindText(char letter) { return FindLetter(kStationKind, letter); }

std::string_view BbbText(std::string_view bbb) {
    for (const PrefixRow& row : kBbb) {
        if (bbb.starts_with(row.prefix)) return row.text;
    }
    return {};
}

std::string_view CompassName(int index) { return At(kCompass, index); }

PrecipitationPeriod PrecipitationPeriodOf(int tR) {
    for (const PeriodRow& row : k4019TR) {
        if (row.figure == tR) return {row.text, row.hours};
    }
    return {};
}

const Visibility& VisibilityOf(int vv) {
    static constexpr Visibility kUnused{};
    if (vv < 0 || vv >= static_cast<int>(kVisibilities.size())) return kUnused;
    return kVisibilities[static_cast<std::size_t>(vv)];
}

std::string_view RadiationTypeText(int j) { return At(kRunRadiation, j); }

}  // namespace nimbo
