// Tests of the code-table and heading lookups: every run holds exactly the
// figures its table defines, lookups never leave a run, and the texts keep
// their exact bytes (padding blanks, Windows-1252 degree sign).
#include "code_tables.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

namespace nimbo {
namespace {

std::set<int> Range(int first, int last) {
    std::set<int> figures;
    for (int f = first; f <= last; ++f) figures.insert(f);
    return figures;
}

std::set<int> Without(std::set<int> figures, std::initializer_list<int> gone) {
    for (int f : gone) figures.erase(f);
    return figures;
}

// Each table, the length of its run and the figures that hold a text.
struct TableShape {
    CodeTable table;
    int size;
    std::set<int> defined;
};

std::vector<TableShape> Shapes() {
    const std::set<int> all10 = Range(0, 9);
    return {
        {CodeTable::T0200_a, 10, Range(0, 8)},
        {CodeTable::T0500_C, 10, all10},
        {CodeTable::T0509_CH, 10, all10},
        {CodeTable::T0513_CL, 10, all10},
        {CodeTable::T0515_CM, 10, all10},
        {CodeTable::T0552_Ct, 10, all10},
        {CodeTable::T0700_D, 10, all10},
        {CodeTable::T0901_E, 10, all10},
        {CodeTable::T0975_Eprime, 10, all10},
        {CodeTable::T1600_h, 10, all10},
        {CodeTable::T1677_hshs, 100, Range(90, 99)},
        {CodeTable::T1806_iE, 10, all10},
        {CodeTable::T1855_iw, 10, {0, 1, 3, 4}},
        {CodeTable::T2700_N, 10, all10},
        {CodeTable::T3778_SpSp, 10, all10},
        {CodeTable::T4019_tR, 10, Range(1, 9)},
        {CodeTable::T4377_VV, 100, Range(91, 98)},
        {CodeTable::T4451_vs, 10, all10},
        {CodeTable::T4531_Wa, 10, all10},
        {CodeTable::T4561_W, 10, all10},
        {CodeTable::T4677_ww, 100, Range(0, 99)},
        {CodeTable::T4680_wawa, 100,
         Without(Range(0, 99),
                 {6, 7, 8, 9, 13, 14, 15, 16, 17, 19, 36, 37, 38, 39, 49, 59, 69, 79, 88, 97, 98})},
    };
}

// --- Runs: sizes, defined figures, bounds -------------------------------------

TEST(CodeTableRuns, EveryTableIsListedOnce) {
    const std::vector<TableShape> shapes = Shapes();
    ASSERT_EQ(kAllCodeTables.size(), shapes.size());
    std::set<CodeTable> seen(kAllCodeTables.begin(), kAllCodeTables.end());
    EXPECT_EQ(seen.size(), kAllCodeTables.size());
    for (const TableShape& shape : shapes) EXPECT_TRUE(seen.count(shape.table));
}

TEST(CodeTableRuns, SizesMatchTheTables) {
    for (const TableShape& shape : Shapes()) {
        EXPECT_EQ(CodeTableSize(shape.table), shape.size)
            << "table " << static_cast<int>(shape.table);
    }
}

TEST(CodeTableRuns, TextsSitExactlyAtTheDefinedFigures) {
    for (const TableShape& shape : Shapes()) {
        for (int figure = 0; figure < 100; ++figure) {
            const bool defined = shape.defined.count(figure) > 0;
            EXPECT_EQ(!CodeText(shape.table, figure).empty(), defined)
                << "table " << static_cast<int>(shape.table) << " figure " << figure;
        }
    }
}

TEST(CodeTableRuns, FiguresOutsideARunGiveTheEmptyText) {
    for (CodeTable table : kAllCodeTables) {
        for (int figure : {-1, -10, CodeTableSize(table), 100, 999, INT_MIN, INT_MAX}) {
            EXPECT_TRUE(CodeText(table, figure).empty())
                << "table " << static_cast<int>(table) << " figure " << figure;
        }
    }
}

TEST(CodeTableRuns, ATableValueThatNamesNoTableIsEmpty) {
    const auto bogus = static_cast<CodeTable>(1000);
    EXPECT_EQ(CodeTableSize(bogus), 0);
    EXPECT_TRUE(CodeText(bogus, 0).empty());
}

// Every byte of every text is printable ASCII or the degree sign 0xB0: catches a
// UTF-8 degree sign (C2 B0), an escape that swallowed the next letter, or a
// stray control character.
bool PrintableWindows1252(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0xB0) continue;
        if (byte < 0x20 || byte > 0x7E) return false;
    }
    return true;
}

TEST(CodeTableRuns, AllTextsArePrintableWindows1252) {
    for (CodeTable table : kAllCodeTables) {
        for (int figure = 0; figure < CodeTableSize(table); ++figure) {
            EXPECT_TRUE(PrintableWindows1252(CodeText(table, figure)))
                << "table " << static_cast<int>(table) << " figure " << figure;
        }
    }
    for (char c = 'A'; c <= 'Z'; ++c) {
        EXPECT_TRUE(PrintableWindows1252(DataTypeText(c)));
        EXPECT_TRUE(PrintableWindows1252(AreaText(c)));
        EXPECT_TRUE(PrintableWindows1252(StationKindText(c)));
    }
}

// --- Exact texts where the bytes matter -----------------------------------------

struct TextCase {
    CodeTable table;
    int figure;
    std::string_view text;
};

TEST(CodeTableTexts, PaddingBlanksAreKept) {
    const TextCase cases[] = {
        {CodeTable::T4680_wawa, 12, "Distant lightning "},
        {CodeTable::T4680_wawa, 28, "Blowing/Drifting snow/sand: vis >=1.0km "},
        {CodeTable::T4680_wawa, 89, "Hail "},
        {CodeTable::T4680_wawa, 90, "Thunderstorm "},
        {CodeTable::T4680_wawa, 96, "Thunderstorm, heavy - hail "},
        {CodeTable::T1600_h, 0, "   0 to less than   50m"},
        {CodeTable::T1600_h, 9, "Above 2500 m"},
        {CodeTable::T4377_VV, 94, " 1km"},
        {CodeTable::T4019_tR, 5, " 1 hour"},
        {CodeTable::T4451_vs, 1, " 1 to  5 knots"},
        {CodeTable::T4451_vs, 9, " over 40 knots"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(CodeText(c.table, c.figure), c.text) << "figure " << c.figure;
    }
}

TEST(CodeTableTexts, MissingFigureTextsFillAFiveFigureGroup) {
    EXPECT_EQ(kUnknown, "Unknown    ");
    EXPECT_EQ(kUnobserved, "Unobserved ");
    EXPECT_EQ(kUnknown.size(), kUnobserved.size());
}

TEST(CodeTableTexts, FirstAndLastRowOfLongTables) {
    EXPECT_EQ(CodeText(CodeTable::T4677_ww, 0), "Cloud development not observed or not observable");
    EXPECT_EQ(CodeText(CodeTable::T4677_ww, 99), "Heavy thunderstorm with hail");
    EXPECT_EQ(CodeText(CodeTable::T4680_wawa, 0), "No significant weather observed");
    EXPECT_EQ(CodeText(CodeTable::T4680_wawa, 99), "Tornado");
    EXPECT_EQ(CodeText(CodeTable::T0500_C, 9), "cumulonimbus (Cb)");
    EXPECT_EQ(CodeText(CodeTable::T0552_Ct, 9), "Tow or more layers at different levels");
}

TEST(CodeTableTexts, PastWeatherDependsOnTheStationKind) {
    // ix 7 reads W through 4531, a manned station through 4561.
    EXPECT_EQ(CodeText(CodeTable::T4531_Wa, 0), "No significant weather observed");
    EXPECT_EQ(CodeText(CodeTable::T4561_W, 0), "Cloud covering half or less of the sky");
    EXPECT_TRUE(CodeText(CodeTable::T4680_wawa, 6).empty());
}

TEST(CodeTableTexts, CloudLayerHeightsReuseTheLowestCloudTable) {
    EXPECT_EQ(CodeText(CodeTable::T1677_hshs, 93), " 200 to less than  300m");
    for (int figure = 90; figure <= 99; ++figure) {
        EXPECT_EQ(CodeText(CodeTable::T1677_hshs, figure),
                  CodeText(CodeTable::T1600_h, figure - 90));
    }
}

TEST(CodeTableTexts, WindSpeedUnitFromIw) {
    EXPECT_EQ(WindSpeedUnitText('0'), "m/s (estimated)");
    EXPECT_EQ(WindSpeedUnitText('1'), "m/s (from anemometer)");
    EXPECT_EQ(WindSpeedUnitText('2'), "");
    EXPECT_EQ(WindSpeedUnitText('3'), "knots (estimated)");
    EXPECT_EQ(WindSpeedUnitText('4'), "knots (from anemometer)");
    for (char iw : {'/', '5', '9', 'x', ' ', '\0', '\xB0'}) {
        EXPECT_EQ(WindSpeedUnitText(iw), " (unit unknown)") << static_cast<int>(iw);
    }
}

TEST(CodeTableTexts, RadiationTypes) {
    EXPECT_EQ(RadiationTypeText(0), "positive  net  radiation");
    EXPECT_EQ(RadiationTypeText(5), "upward   long wave radiation");
    EXPECT_EQ(RadiationTypeText(7), "net short wave radiation");
    EXPECT_EQ(RadiationTypeText(8), "direct solar radiation");
    for (int j : {-1, 9, 10, INT_MAX}) EXPECT_TRUE(RadiationTypeText(j).empty());
}

// --- Report kinds and heading texts ---------------------------------------------

TEST(ReportTexts, IndicatorsAndReportTypes) {
    EXPECT_EQ(kIndicatorWords[0], "AAXX");
    EXPECT_EQ(kIndicatorWords[1], "OOXX");
    EXPECT_EQ(kIndicatorWords[2], "BBXX");
    EXPECT_EQ(ReportTypeText("AAXX"), "AAXX - Land fixe");
    EXPECT_EQ(ReportTypeText("BBXX"), "BBXX - Maritime");
    EXPECT_EQ(ReportTypeText("OOXX"), "OOXX - Land mobile");
    for (std::string_view other : {"", "AAX", "AAXXX", "aaxx", "CCXX"}) {
        EXPECT_TRUE(ReportTypeText(other).empty()) << other;
    }
}

TEST(HeadingTexts, DataTypeForEveryLetter) {
    for (char c = 'A'; c <= 'Z'; ++c) {
        const bool hasText = c != 'L' && c != 'M' && c != 'R';
        EXPECT_EQ(!DataTypeText(c).empty(), hasText) << c;
    }
    EXPECT_EQ(DataTypeText('A'), "Analyses");
    EXPECT_EQ(DataTypeText('S'), "Surface data");
    EXPECT_EQ(DataTypeText('Z'), "GRIB National use");
    for (char c : {'@', '[', 'a', 's', '0', '\0', '\xFF'}) EXPECT_TRUE(DataTypeText(c).empty());
}

TEST(HeadingTexts, AreaTextsCarryTheSingleByteDegreeSign) {
    const std::string_view a = AreaText('A');
    EXPECT_EQ(std::string(a), std::string("Area between 30") + '\xB0' + "N-60" + '\xB0' +
                                  "S & 035" + '\xB0' + "W-070" + '\xB0' + "E");
    EXPECT_EQ(std::string(AreaText('J')), std::string("Area between 60") + '\xB0' + "S");
    EXPECT_EQ(AreaText('X'), "More than one area");
}

TEST(HeadingTexts, AreaLettersAreExactlyTheListedOnes) {
    const std::string_view listed = "ABCDEFJX";
    for (int c = 0; c < 256; ++c) {
        const char letter = static_cast<char>(c);
        const bool expected = c != 0 && listed.find(letter) != std::string_view::npos;
        EXPECT_EQ(!AreaText(letter).empty(), expected) << c;
    }
    // Every area text except "More than one area" names its bounds in degrees.
    for (char letter : std::string_view("ABCDEFJ")) {
        EXPECT_NE(AreaText(letter).find('\xB0'), std::string_view::npos) << letter;
    }
}

TEST(HeadingTexts, StationKinds) {
    EXPECT_EQ(StationKindText('W'), "Ocean weather station");
    EXPECT_EQ(StationKindText('U'), "Mobile ships and other marine stations");
    for (char c : {'A', 'w', 'u', 'X', '\0'}) EXPECT_TRUE(StationKindText(c).empty());
}

TEST(HeadingTexts, BbbByLeadingLetters) {
    const struct {
        std::string_view bbb;
        std::string_view text;
    } cases[] = {
        {"RRA", "(Delayed routine meteorological reports)"},
        {"RRX", "(Delayed routine meteorological reports)"},
        {"CCA", "(Corrections to previously relayed reports)"},
        {"AAB", "(Amendments to processed information)"},
        {"PAA", "(Segmented set of information)"},
        {"P", "(Segmented set of information)"},
        {"", ""},
        {"R", ""},
        {"C", ""},
        {"RCA", ""},
        {"ACA", ""},
        {"rra", ""},
        {"XYZ", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(BbbText(c.bbb), c.text) << "'" << c.bbb << "'";
}

TEST(HeadingTexts, CompassPoints) {
    const char* names[] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(CompassName(i), names[i]);
    for (int i : {-1, 8, 9, INT_MIN, INT_MAX}) EXPECT_TRUE(CompassName(i).empty());
}

}  // namespace
}  // namespace nimbo
