// Country and WMO region tables keyed by the five-figure station index number,
// searched in order so that earlier rows shadow later overlapping ones.
#include "country_tables.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace nimbo {
namespace {

// clang-format off
// Country table: lowest, highest station number (inclusive), name, designator
constexpr CountryRow kCountries[] = {
    { 1000,  1499, "NORWAY", "NO"},
    { 2000,  2699, "SWEDEN", "SN"},
    { 2800,  2999, "FINLAND", "FI"},
    { 3000,  3949, "UNITED KINGDOM AND NORTHERN IRELAND", "UK"},
    { 3950,  3999, "IRELAND", "IE"},
    { 4000,  4099, "ICELAND", "IL"},
    { 4100,  4399, "GREENLAND", "GL"},
    { 6000,  6019, "FAEROE ISLANDS", "FA"},
    { 6020,  6199, "DENMARK", "DN"},
    { 6200,  6399, "NETHERLANDS", "NL"},
    { 6400,  6499, "BELGIUM", "BX"},
    { 6500,  6599, "LUXEMBOURG", "BX"},
    { 6600,  6799, "SWITZERLAND", "SW"},
    { 6900,  6999, "LIECHTENSTEIN", "LT"},
    { 7000,  7999, "FRANCE", "FR"},
    { 8000,  8490, "SPAIN", "SP"},
    { 8495,  8495, "GIBRALTAR", "GI"},
    { 8500,  8519, "AZORES", "AZ"},
    { 8520,  8529, "MADEIRA ISLANDS", "MD"},
    { 8530,  8579, "PORTUGAL", "PO"},
    { 8580,  8599, "CAPE VERDE", "CV"},
    {10000, 10999, "GERMANY", "DL"},
    {11000, 11399, "AUSTRIA", "OS"},
    {11400, 11799, "CZECH REPUBLIC", "CZ"},
    {11800, 11999, "SLOVAKIA", "LO"},
    {12100, 12699, "POLAND", "PL"},
    {12700, 12999, "HUNGARY", "HU"},
    {13000, 13599, "YUGOSLAVIA", "YG"},
    {13000, 13599, "SLOVENIA", "LJ"},
    {13000, 13599, "CROATIA", "RH"},
    {13600, 13699, "ALBANIA", "AB"},
    {15000, 15499, "ROMANIA", "RO"},
    {15500, 15999, "BULGARIA", "BU"},
    {16000, 16589, "ITALY", "IY"},
    {16590, 16599, "MALTA", "ML"},
    {16600, 16999, "GREECE", "GR"},
    {17000, 17599, "TURKEY", "TU"},
    {17600, 17699, "CYPRUS", "CY"},
    {20000, 21999, "RUSSIA", "RA"},
    {22000, 22999, "RUSSIA", "RS"},
    {23000, 25999, "RUSSIA", "RA"},
    {26000, 26049, "BYELORUSSIA", "BY"},
    {26050, 26099, "RUSSIA", "RS"},
    {26100, 26149, "BYELORUSSIA", "BY"},
    {26150, 26199, "RUSSIA", "RS"},
    {26200, 26249, "BYELORUSSIA", "BY"},
    {26250, 26299, "RUSSIA", "RS"},
    {26300, 26349, "BYELORUSSIA", "BY"},
    {26350, 26399, "RUSSIA", "RS"},
    {26400, 26449, "BYELORUSSIA", "BY"},
    {26450, 26499, "RUSSIA", "RS"},
    {26500, 26549, "BYELORUSSIA", "BY"},
    {26550, 26599, "RUSSIA", "RS"},
    {26600, 26649, "BYELORUSSIA", "BY"},
    {26650, 26699, "RUSSIA", "RS"},
    {26700, 26749, "BYELORUSSIA", "BY"},
    {26750, 26799, "RUSSIA", "RS"},
    {26800, 26869, "BYELORUSSIA", "BY"},
    {26870, 26899, "RUSSIA", "RS"},
    {26900, 26969, "BYELORUSSIA", "BY"},
    {26970, 26999, "RUSSIA", "RS"},
    {27000, 27999, "RUSSIA", "RS"},
    {28000, 32999, "RUSSIA", "RA"},
    {33000, 33045, "BYELORUSSIA", "BY"},
    {33046, 33999, "UKRAIN", "UR"},
    {34000, 34399, "RUSSIA", "RS"},
    {34400, 34719, "UKRAIN & RUSSIA", "UR"},
    {34720, 34999, "RUSSIA", "RS"},
    {35000, 36999, "RUSSIA", "RA"},
    {37000, 37999, "RUSSIA", "RS"},
    {38000, 38999, "RUSSIA", "RA"},
    {40000, 40099, "SYRIAN ARAB REPUBLIC", "SY"},
    {40100, 40149, "LEBANON", "LB"},
    {40150, 40199, "ISRAEL", "IS"},
    {40250, 40349, "JORDAN", "JD"},
    {40350, 40499, "SAUDI ARABIA", "SD"},
    {40500, 40599, "KUWAIT", "KW"},
    {40600, 40699, "IRAQ", "IQ"},
    {40700, 40899, "IRAN", "IR"},
    {40900, 40999, "AFGHANISTAN", "AH"},
    {41000, 41149, "SAUDI ARABIA", "SD"},
    {41150, 41150, "BAHRAIN", "BN"},
    {41160, 41179, "QATAR", "QT"},
    {41180, 41239, "UNITED ARAB EMIRATES", "ER"},
    {41240, 41319, "OMAN", "OM"},
    {41320, 41409, "YEMEN", "YE"},
    {41410, 41499, "DEMOCRATIC YEMEN", "DY"},
    {41500, 41799, "PAKISTAN", "PK"},
    {41800, 41999, "BANGLADESH", "BW"},
    {42000, 43999, "INDIA", "IN"},
    {43400, 43499, "SRI LANKA", "SB"},
    {43500, 43599, "MALDIVES", "MV"},
    {44000, 44399, "MONGOLIA", "MO"},
    {44400, 44499, "NEPAL", "NP"},
    {45000, 45009, "HONG KONG", "HK"},
    {45010, 45019, "MACAO", "MU"},
    {45030, 45039, "HONG KONG", "HK"},
    {46000, 46999, "TAIWAN", "TW"},
    {47000, 47079, "NORTH KOREA", "KR"},
    {47080, 47199, "SOUTH KOREA", "KO"},
    {47400, 47999, "JAPAN", "JP"},
    {48000, 48199, "BURMA/MYANMAR", "BM"},
    {48300, 48599, "THAILAND", "TH"},
    {48600, 48689, "MALAYSIA", "MS"},
    // The row as handed down reads 48690-46999, which matches nothing; the
    // Singapore stations (48692 Seletar, 48694 Paya Lebar, 48698 Changi) are
    // numbered 48690-48699, so that is the range it covers here.
    {48690, 48699, "SINGAPORE", "SR"},
    {48800, 48920, "VIET NAM", "VS"},
    {48930, 48959, "DEMOCRATIC REPUBLIC OF LAO", "LA"},
    {48960, 48999, "DEMOCRATIC KAMPUCHEA", "KP"},
    {50000, 59999, "CHINA", "CI"},
    {60000, 60049, "CANARY ISLAND (SPAIN", "CR"},
    {60050, 60319, "MOROCCO", "MC"},
    {60320, 60339, "SPAIN", "SP"},
    {60340, 60349, "MOROCCO", "MC"},
    {60350, 60699, "ALGERIA", "AL"},
    {60700, 60799, "TUNISIA", "TS"},
    {61000, 61099, "NIGER", "NR"},
    {61100, 61299, "MALI", "MI"},
    {61400, 61499, "MAURITANIA", "MT"},
    {61600, 61699, "SENEGAL", "SG"},
    {61700, 61749, "GAMBIA", "GB"},
    {61750, 61799, "GUINEA-BISSAU", "GW"},
    {61800, 61849, "GUINEA", "GN"},
    {61850, 61899, "SIERRA LEONE", "SL"},
    {61901, 61901, "ST. HELENA", "HE"},
    {61902, 61903, "ASCENSION ISLAND", "AI"},
    {61930, 61939, "SAO TOME & PRINCIPE", "TP"},
    {61967, 61967, "BRITISH INDIAN OCEAN TERRITORY", "BT"},
    {61968, 61972, "REUNION & ASSOCIATED ISLANDS", "RE"},
    {61974, 61974, "MAURITIUS", "MA"},
    {62000, 62299, "LIBYAN ARAB JAMAHIRIYA", "LY"},
    {62300, 62499, "EGYPT", "EG"},
    {62600, 62999, "SUDAN", "SU"},
    {63000, 63099, "ETHIOPIA", "ET"},
    {63100, 63149, "DJIBOUTI", "DJ"},
    {63150, 63299, "SOMALIA", "SI"},
    {63300, 63499, "ETHIOPIA", "ET"},
    {63600, 63979, "UGANDA", "UG"},
    {63600, 63979, "KENYA", "KN"},
    {63600, 63979, "TANZANIA", "TN"},
    {63980, 63999, "SEYCHELLES", "SC"},
    {64000, 64360, "ZAIRE", "ZR"},
    {64380, 64389, "RWANDA", "RW"},
    {64390, 64399, "BURUNDI", "BI"},
    {64000, 64499, "CONGO", "CG"},
    {64500, 64599, "GABON", "GO"},
    {64600, 64699, "CENTRAL AFRICAN REPUBLIC", "CE"},
    {64700, 64799, "CHAD", "CD"},
    {64800, 64849, "EQUATORIAL GUINEA", "GQ"},
    {64850, 64999, "CAMEROON,UNITED REPUBLIC OF", "CM"},
    {65000, 65299, "NIGERIA", "NI"},
    {65300, 65349, "BENIN", "BJ"},
    {65350, 65399, "TOGO", "TG"},
    {65400, 65499, "GHANA", "GH"},
    {65500, 65524, "BURKINA FASO", "HV"},
    {65525, 65599, "IVORY COAST", "IV"},
    {65600, 65699, "LIBERIA", "LI"},
    {66000, 66999, "ANGOLA", "AN"},
    {67000, 67005, "COMOROS", "IC"},
    {67009, 67199, "MADAGASCAR", "MG"},
    {67200, 67399, "MOZAMBIQUE", "MZ"},
    {67400, 67753, "ZAMBIA", "ZB"},
    {67400, 67753, "MALAWI", "MW"},
    {67755, 67789, "ZIMBABWE", "ZW"},
    {67790, 67799, "MALAWI", "MW"},
    {67800, 67999, "ZIMBABWE", "ZW"},
    {68000, 68349, "NAMIBIA", "NM"},
    {68000, 68349, "BOTSWANA", "BC"},
    {68000, 68349, "SOUTH AFRICA", "ZA"},
    {68350, 68989, "SOUTH AFRICA", "ZA"},
    {68396, 68396, "SWAZILAND", "SV"},
    {68450, 68459, "LESOTHO", "LS"},
    {68992, 68992, "BOUVET ISLAND", "BV"},
    {69000, 69999, "USA (MILITARY", "US"},
    {70000, 70999, "USA (ALASKA", "US"},
    {71000, 71999, "CANADA", "CN"},
    {72000, 72999, "USA", "US"},
    {74000, 74999, "USA", "US"},
    {76000, 76999, "MEXICO", "MX"},
    {78016, 78016, "BERMUDA", "BE"},
    {78050, 78199, "BAHAMAS", "BA"},
    {78118, 78118, "TURKS ISLANDS", "TI"},
    {78200, 78379, "CUBA", "CU"},
    {78380, 78384, "CAYMAN ISLAND", "GC"},
    {78385, 78999, "JAMAICA", "JM"},
    {78400, 78449, "HAITI", "HA"},
    {78450, 78499, "DOMINICAN REPUBLIC", "DR"},
    {78500, 78519, "HONDURAS (ISLANDS", "HO"},
    {78520, 78534, "PUERTO RICO", "PU"},
    {78535, 78550, "VIRGIN ISLANDS", "VI"},
    {78580, 78599, "BELIZE", "BH"},
    {78600, 78649, "GUATEMALA", "GU"},
    {78650, 78699, "EL SALVADOR", "ES"},
    {78700, 78729, "HONDURAS", "HO"},
    {78730, 78759, "NICARAGUA", "NK"},
    {78760, 78789, "COSTA RICA", "CS"},
    {78790, 78819, "PANAMA", "PM"},
    {78840, 78864, "ANTIGUA,ST.KITTS & BRITISH ISLANDS VCNTY", "AT"},
    {78865, 78889, "ST. MAARTEN,ST. EUSTATIUS & SABA", "MN"},
    {78890, 78899, "ST. MARTIN,ST. BARTHELEMY,GUADELOUPE,& VCNTY", "MF"},
    {78900, 78919, "DOMINICA", "DO"},
    {78925, 78925, "MARTINIQUE", "MR"},
    {78940, 78951, "ST. LUCIA & BRITISH ISLANDS", "LC"},
    {78954, 78954, "BARBADOS", "BR"},
    {78958, 78958, "GRENADA", "GD"},
    {78960, 78979, "TRINIDAD & TOBAGO", "TD"},
    {78980, 78999, "NETHERLANDS ANTILLES", "NU"},
    {80000, 80399, "COLOMBIA", "CO"},
    {80400, 80499, "VENEZUELA", "VN"},
    {81000, 81199, "GUYANA", "GY"},
    {81200, 81399, "SURINAME", "SM"},
    {81400, 81599, "FRENCH GUIANA", "FG"},
    {82000, 83999, "BRAZIL", "BZ"},
    {84000, 84299, "ECUADOR", "EQ"},
    {84300, 84999, "PERU", "PR"},
    {85000, 85399, "BOLIVIA", "BO"},
    {85400, 85999, "CHILE", "CH"},
    {86000, 86299, "PARAGUAY", "PY"},
    {86300, 86599, "URUGUAY", "UY"},
    {87000, 87999, "ARGENTINA", "AG"},
    {88800, 88899, "FALKLAND ISLANDS (MALVINAS", "FK"},
    {89800, 89999, "MISCELLANEOUS MILITARY", "--"},
    {91000, 91199, "USA (HAWAII", "US"},
    {91200, 91222, "MARIANA ISLANDS", "MY"},
    {91245, 91245, "WAKE ISLAND", "WK"},
    {91250, 91259, "MARSHALL ISLANDS", "MH"},
    {91260, 91299, "UNITED STATES OF AMERICA (HAWAII", "US"},
    {91300, 91359, "CAROLINE ISLANDS", "KA"},
    {91360, 91379, "MARSHALL ISLANDS", "MH"},
    {91385, 91385, "SOUTHERN LINE ISLANDS", "LN"},
    {91400, 91449, "CAROLINE ISLANDS", "KA"},
    {91450, 91499, "NEW ZEALAND (ISLANDS", "NZ"},
    {91500, 91549, "SOLOMON ISLANDS", "SO"},
    {91530, 91530, "NAURU", "NW"},
    {91550, 91569, "VANUATA", "NH"},
    {91570, 91599, "NEW CALEDONIA & LOYALTY ISLANDS", "NC"},
    {91600, 91629, "KIRIBATI", "KB"},
    {91630, 91649, "TUVALU", "TV"},
    {91650, 91699, "FIJI", "FJ"},
    {91700, 91709, "CANTON ISLAND", "CT"},
    {91720, 91729, "TOKELAU ISLAND", "TK"},
    {91750, 91759, "WALLIS & FUTUNA ISLAND", "FW"},
    {91760, 91769, "WESTERN SAMOA", "ZM"},
    {91770, 91799, "TONGA", "TO"},
    {91800, 91849, "COOK ISLANDS", "KU"},
    {91900, 91959, "FRENCH POLYNESIA", "PF"},
    {93000, 93999, "NEW ZEALAND", "NZ"},
    {94000, 94099, "PAPUA NEW GUINEA", "NG"},
    {94100, 95999, "AUSTRALIA", "AU"},
    {96000, 96299, "INDONESIA", "ID"},
    {96315, 96315, "BRUNEI", "BF"},
    {96400, 96499, "SARAWAK", "SK"},
    {96000, 97999, "INDONESIA", "ID"},
    {98100, 98999, "PHILIPPINES", "PH"},
    {99000, 99999, "BUOYS & MISCELLANEOUS MILITARY", "xx"},
};
static_assert(std::size(kCountries) == 254);

// WMO region table: lowest, highest station number (inclusive), region text.
// The rows are tested in this order; 40001-40349 and 99000-99999 have no region.
constexpr RegionRow kRegions[] = {
    {    0, 19999, "(Region VI: Europe)"},
    {20000, 20099, "(Region II: Asia)"},
    {20100, 20199, "(Region VI: Europe)"},
    {20200, 21999, "(Region II: Asia)"},
    {22000, 22999, "(Region VI: Europe)"},
    {23000, 25999, "(Region II: Asia)"},
    {26000, 27999, "(Region VI: Europe)"},
    {28000, 32999, "(Region II: Asia)"},
    {33000, 34999, "(Region VI: Europe)"},
    {35000, 36999, "(Region II: Asia)"},
    {37000, 37999, "(Region VI: Europe)"},
    {38000, 39999, "(Region II: Asia)"},
    {40000, 40000, "(Region VI: Europe)"},
    {40350, 48599, "(Region II: Asia)"},
    {48600, 48799, "(Region V: South-West Pacific)"},
    {48800, 49999, "(Region II: Asia)"},
    {50000, 59999, "(Region II: Asia)"},
    {60000, 69999, "(Region I: Africa)"},
    {80000, 88999, "(Region III: South America)"},
    {70000, 79999, "(Region IV: North and Central America)"},
    {89000, 89999, "(Stations in the Antarctic)"},
    {90000, 98999, "(Region V: South-West Pacific)"},
};
static_assert(std::size(kRegions) == 22);
// clang-format on

// First row holding the station number, or nullptr.
template <typename Row>
const Row* FirstMatch(std::span<const Row> rows, std::int32_t stationNumber) {
    for (const Row& row : rows) {
        if (row.lowest <= stationNumber && stationNumber <= row.highest) return &row;
    }
    return nullptr;
}

// Every report looks its country up: the first row holding each number is
// found by a binary search over the numbers where the answer can change
// (every row's bounds), each answered once by the scan above.
struct CountryInterval {
    std::int32_t from;
    const CountryRow* row;
};

const CountryRow* FindCountry(std::int32_t stationNumber) {
    static const std::vector<CountryInterval> intervals = [] {
        std::vector<std::int32_t> points;
        for (const CountryRow& row : kCountries) {
            points.push_back(row.lowest);
            points.push_back(row.highest + 1);
        }
        std::sort(points.begin(), points.end());
        points.erase(std::unique(points.begin(), points.end()), points.end());
        std::vector<CountryInterval> result;
        for (const std::int32_t point : points) {
            result.push_back({point, FirstMatch<CountryRow>(kCountries, point)});
        }
        return result;
    }();
    const auto after = std::upper_bound(intervals.begin(), intervals.end(), stationNumber,
                                        [](std::int32_t number, const CountryInterval& interval) {
                                            return number < interval.from;
                                        });
    return after == intervals.begin() ? nullptr : std::prev(after)->row;
}

}  // namespace

std::span<const CountryRow> CountryRows() { return kCountries; }

std::span<const RegionRow> RegionRows() { return kRegions; }

std::string_view CountryName(std::int32_t stationNumber) {
    const CountryRow* row = FindCountry(stationNumber);
    return row ? row->name : std::string_view{};
}

std::string_view CountryDesignator(std::int32_t stationNumber) {
    const CountryRow* row = FindCountry(stationNumber);
    return row ? row->designator : std::string_view{};
}

std::string_view RegionText(std::int32_t stationNumber) {
    const RegionRow* row = FirstMatch(RegionRows(), stationNumber);
    return row ? row->text : std::string_view{};
}

}  // namespace nimbo
