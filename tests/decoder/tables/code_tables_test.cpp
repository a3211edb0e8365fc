// Tests of the code-table and heading lookups: properties that catch a
// shifted, cut or mis-encoded table (lookups never leave a run, every text is
// printable Windows-1252), and spot checks where the exact bytes matter.
#include "code_tables.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

namespace nimbo {
namespace {

// Every byte is printable ASCII or the degree sign 0xB0: catches a UTF-8
// degree sign (C2 B0), an escape that swallowed the next letter, a control.
bool PrintableWindows1252(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte != 0xB0 && (byte < 0x20 || byte > 0x7E)) return false;
    }
    return true;
}

TEST(CodeTableRuns, RunsHoldPrintableTextsAndNothingOutside) {
    const std::set<CodeTable> twoFigures = {CodeTable::T1677_hshs, CodeTable::T4377_VV,
                                            CodeTable::T4677_ww, CodeTable::T4680_wawa};
    EXPECT_EQ(std::set<CodeTable>(kAllCodeTables.begin(), kAllCodeTables.end()).size(), 24u);
    for (CodeTable table : kAllCodeTables) {
        const int size = CodeTableSize(table);
        EXPECT_EQ(size, twoFigures.count(table) ? 100 : 10) << static_cast<int>(table);
        int defined = 0;
        for (int figure = 0; figure < size; ++figure) {
            defined += !CodeText(table, figure).empty();
            EXPECT_TRUE(PrintableWindows1252(CodeText(table, figure))) << figure;
        }
        EXPECT_GE(defined, 4) << static_cast<int>(table);
        for (int figure : {-1, size, 999, INT_MIN, INT_MAX}) {
            EXPECT_TRUE(CodeText(table, figure).empty())
                << static_cast<int>(table) << " " << figure;
        }
    }
    EXPECT_EQ(CodeTableSize(static_cast<CodeTable>(1000)), 0);
    EXPECT_TRUE(CodeText(static_cast<CodeTable>(1000), 0).empty());
}

TEST(CodeTableTexts, SpotChecksWherePaddingAndRowsMatter) {
    const struct {
        CodeTable table;
        int figure;
        std::string_view text;
    } cases[] = {
        {CodeTable::T4680_wawa, 12, "Distant lightning "},
        {CodeTable::T4680_wawa, 99, "Tornado"},
        {CodeTable::T4680_wawa, 6, ""},
        {CodeTable::T4677_ww, 0, "Cloud development not observed or not observable"},
        {CodeTable::T4677_ww, 99, "Heavy thunderstorm with hail"},
        {CodeTable::T0500_C, 9, "cumulonimbus (Cb)"},
        {CodeTable::T0552_Ct, 9, "Tow or more layers at different levels"},
        {CodeTable::T1600_h, 0, "   0 to less than   50m"},
        {CodeTable::T4377_VV, 94, " 1km"},
        {CodeTable::T4019_tR, 5, " 1 hour"},
        {CodeTable::T4451_vs, 9, " over 40 knots"},
        {CodeTable::T4531_Wa, 0, "No significant weather observed"},
        {CodeTable::T4561_W, 0, "Cloud covering half or less of the sky"},
    };
    for (const auto& c : cases) EXPECT_EQ(CodeText(c.table, c.figure), c.text) << c.figure;
    EXPECT_EQ(kUnknown, "Unknown    ");
    EXPECT_EQ(kUnobserved.size(), kUnknown.size());
    for (int figure = 90; figure <= 99; ++figure) {
        EXPECT_EQ(CodeText(CodeTable::T1677_hshs, figure),
                  CodeText(CodeTable::T1600_h, figure - 90));
    }
}

TEST(CodeTableTexts, WindUnitsRadiationAndCompassRefuseFiguresOutside) {
    for (char iw : {'/', '5', 'x', '\0', '\xB0'}) EXPECT_EQ(WindSpeedUnitText(iw), kUnitUnknown);
    for (int j : {-1, 9, INT_MAX}) EXPECT_TRUE(RadiationTypeText(j).empty());
    for (int i : {-1, 8, INT_MIN}) EXPECT_TRUE(CompassName(i).empty());
}

TEST(HeadingTexts, ReportTypesLettersAndBbb) {
    EXPECT_EQ(ReportTypeText("BBXX"), "BBXX - Maritime");
    for (std::string_view other : {"", "AAXXX", "aaxx", "CCXX"})
        EXPECT_TRUE(ReportTypeText(other).empty());
    for (int c = 0; c < 256; ++c) {
        const char letter = static_cast<char>(c);
        const bool dataType = c >= 'A' && c <= 'Z' && c != 'L' && c != 'M' && c != 'R';
        EXPECT_EQ(!DataTypeText(letter).empty(), dataType) << c;
        const bool area =
            c != 0 && std::string_view("ABCDEFJX").find(letter) != std::string_view::npos;
        EXPECT_EQ(!AreaText(letter).empty(), area) << c;
        EXPECT_TRUE(PrintableWindows1252(DataTypeText(letter)) &&
                    PrintableWindows1252(AreaText(letter)) &&
                    PrintableWindows1252(StationKindText(letter)));
    }
    EXPECT_EQ(DataTypeText('S'), "Surface data");
    EXPECT_EQ(std::string(AreaText('J')), std::string("Area between 60") + '\xB0' + "S");
    EXPECT_EQ(StationKindText('W'), "Ocean weather station");
    EXPECT_TRUE(StationKindText('w').empty());
    EXPECT_EQ(BbbText("RRX"), "(Delayed routine meteorological reports)");
    EXPECT_EQ(BbbText("CCA"), "(Corrections to previously relayed reports)");
    EXPECT_EQ(BbbText("P"), "(Segmented set of information)");
    for (std::string_view none : {"", "R", "RCA", "rra"}) EXPECT_EQ(BbbText(none), "") << none;
}

// Text and value come from one row: each period's hours are the number its
// text names, and each visibility with a text of its own is that code text.
TEST(CodeTableValues, TextAndValueOfOneRowAgree) {
    for (int tR = 1; tR <= 9; ++tR) {
        const PrecipitationPeriod period = PrecipitationPeriodOf(tR);
        EXPECT_EQ(period.text, CodeText(CodeTable::T4019_tR, tR));
        EXPECT_EQ(std::stoi(std::string(period.text)), period.hours) << tR;
    }
    EXPECT_EQ(PrecipitationPeriodOf(0).hours, 0);
    int lastMetres = 0;
    for (int vv = 0; vv <= 99; ++vv) {
        const Visibility& row = VisibilityOf(vv);
        const bool unused = vv >= 51 && vv <= 55;
        EXPECT_EQ(row.form == VisibilityForm::kUnused, unused) << vv;
        EXPECT_EQ(row.lessThan, vv == 0 || vv == 90) << vv;
        EXPECT_EQ(row.form == VisibilityForm::kText ? row.text : "",
                  CodeText(CodeTable::T4377_VV, vv))
            << vv;
        // The distances never fall within a scale (01 to 89, 91 to 99); the
        // "less than" figures 00 and 90 stand apart.
        if (vv == 90) lastMetres = 0;
        if (unused || row.lessThan) continue;
        EXPECT_GE(row.metres, lastMetres) << vv;
        lastMetres = row.metres;
    }
    EXPECT_EQ(VisibilityOf(-1).form, VisibilityForm::kUnused);
}

}  // namespace
}  // namespace nimbo
