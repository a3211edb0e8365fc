// Fixed texts of the weather decoder: the WMO code tables looked up by code
// figure, the bulletin heading texts and the missing-figure texts.
// All texts are Windows-1252 bytes (the degree sign is the single byte 0xB0).
#pragma once

#include <array>
#include <string_view>

namespace nimbo {

// One enumerator per WMO code table, named by table number and symbol.
enum class CodeTable {
    T0200_a,       // characteristic of pressure tendency
    T0500_C,       // genus of cloud
    T0509_CH,      // high clouds
    T0513_CL,      // low clouds
    T0515_CM,      // middle clouds
    T0552_Ct,      // top of cloud whose base is below the station level
    T0700_D,       // direction (ship's course Ds and other directions)
    T0901_E,       // state of the ground without snow or measurable ice cover
    T0975_Eprime,  // state of the ground with snow or measurable ice cover (E')
    T1600_h,       // height of the base of the lowest cloud
    T1677_hshs,    // cloud layer height: only figures 90 to 99 hold texts (those of
                   // 1600 for figure minus 90); the others are computed by the caller
    T1751_Is,      // ice accretion on ships
    T1806_iE,      // evaporation instrument or crop type
    T1855_iw,      // wind-speed unit
    T2700_N,       // total cloud cover (also Nh and Ns)
    T3551_Rs,      // rate of ice accretion on ships
    T3778_SpSp,    // special-phenomena category, indexed by SpSp / 10
    T4019_tR,      // duration of the precipitation period
    T4377_VV,      // horizontal visibility: only figures 91 to 98 hold texts
    T4451_vs,      // ship's average speed
    T4531_Wa,      // past weather, automatic station (Wa1, Wa2)
    T4561_W,       // past weather, manned station (W1, W2)
    T4677_ww,      // present weather, manned station
    T4680_wawa,    // present weather, automatic station
};

// Every table above, in declaration order (for iteration in callers and tests).
inline constexpr std::array kAllCodeTables = {
    CodeTable::T0200_a,      CodeTable::T0500_C,  CodeTable::T0509_CH,   CodeTable::T0513_CL,
    CodeTable::T0515_CM,     CodeTable::T0552_Ct, CodeTable::T0700_D,    CodeTable::T0901_E,
    CodeTable::T0975_Eprime, CodeTable::T1600_h,  CodeTable::T1677_hshs, CodeTable::T1751_Is,
    CodeTable::T1806_iE,     CodeTable::T1855_iw, CodeTable::T2700_N,    CodeTable::T3551_Rs,
    CodeTable::T3778_SpSp,   CodeTable::T4019_tR, CodeTable::T4377_VV,   CodeTable::T4451_vs,
    CodeTable::T4531_Wa,     CodeTable::T4561_W,  CodeTable::T4677_ww,   CodeTable::T4680_wawa,
};

// Number of figures of a table's run: 10 for one-figure tables (0 to 9),
// 100 for two-figure tables (00 to 99: 1677, 4377, 4677, 4680).
int CodeTableSize(CodeTable table);

// Text of `table` for code figure `figure`. Returns the empty text for a figure
// the table does not define and for any figure outside 0..CodeTableSize()-1
// (negative included); never reads outside the table. The view refers to static
// storage and stays valid for the life of the program.
std::string_view CodeText(CodeTable table, int figure);

// Code table 4019 (tR): the text and the length in hours of a precipitation
// period; the empty text and 0 hours for figure 0 and any other number.
struct PrecipitationPeriod {
    std::string_view text;
    int hours = 0;
};
PrecipitationPeriod PrecipitationPeriodOf(int tR);

// Code table 4377 (VV), one figure: the distance it stands for (for a class,
// its lower bound; for "less than", the upper bound) and how it is written:
// tenths of a kilometre (01 to 50), kilometres (56 to 88), the table's text
// (91 to 98, also CodeText), or a phrase of its own (00, 89, 90, 99).
enum class VisibilityForm { kUnused, kTenthsOfKm, kKilometres, kText, kPhrase };
struct Visibility {
    VisibilityForm form = VisibilityForm::kUnused;  // 51 to 55 are not used
    int metres = 0;
    bool lessThan = false;
    std::string_view text;  // kText and kPhrase
};
// Any number; kUnused outside 0 to 99.
const Visibility& VisibilityOf(int vv);

// Missing-figure texts, padded to the width of the five-figure group they replace.
inline constexpr std::string_view kUnobserved = "Unobserved ";  // weather and cloud groups
inline constexpr std::string_view kUnknown = "Unknown    ";     // most other groups

// Wind-speed unit text used before section 0 gave iw, and when iw is not 0 to 4.
inline constexpr std::string_view kUnitUnknown = " (unit unknown)";

// Wind-speed unit for the iw character of YYGGiw: "0" to "4" give the code
// table 1855 text (empty for "2"); any other character gives kUnitUnknown.
std::string_view WindSpeedUnitText(char iw);

// Report indicator words, in the order the splitter scans for them.
inline constexpr std::array<std::string_view, 3> kIndicatorWords = {"AAXX", "OOXX", "BBXX"};

// Report-type texts, one per report kind.
inline constexpr std::string_view kReportTypeLand = "AAXX - Land fixe";
inline constexpr std::string_view kReportTypeShip = "BBXX - Maritime";
inline constexpr std::string_view kReportTypeMobile = "OOXX - Land mobile";

// Report-type text for an indicator word ("AAXX", "BBXX", "OOXX");
// empty for any other text.
std::string_view ReportTypeText(std::string_view indicator);

// Data-type text of the heading's T1 letter "A" to "Z"; empty for the letters
// without a text (L, M, R) and for any other character.
std::string_view DataTypeText(char t1);

// Geographical area text of a ship bulletin's A2 letter ("A" to "F", "J", "X");
// empty for any other character. Holds the degree sign byte 0xB0.
std::string_view AreaText(char letter);

// Station-kind text of the A1 letter ("W" or "U"); empty for any other character.
std::string_view StationKindText(char letter);

// Text of the BBB indicator: BBB beginning "RR", "CC" or "AA", or with first
// letter "P", gives its parenthesised text; anything else (empty included)
// gives the empty text. The caller puts the separating blank in front.
std::string_view BbbText(std::string_view bbb);

// Eight-point compass name for index 0 ("N") to 7 ("NW"); empty outside 0..7.
std::string_view CompassName(int index);

// Radiation-type text for the type figure j of the radiation groups, 0 to 8
// ("positive  net  radiation" ... "direct solar radiation"); empty otherwise.
// The caller decides which figures it prints (7 and 8 belong to special
// follow-up groups).
std::string_view RadiationTypeText(int j);

}  // namespace nimbo
