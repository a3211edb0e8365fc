// The WMO symbol tables drawn into pictures and compared with reference
// pictures that were made once by this test and looked at by eye. With
// NIMBO_WRITE_SYMBOLS=DIR the pictures are written there instead, enlarged
// NIMBO_SYMBOL_SCALE times when that is set (for looking at them).
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "map_painter.h"
#include "weather_symbols.h"

namespace nimboview::testing {
namespace {

using synoptic::SymbolTable;

struct SheetCase {
    const char* name;
    std::vector<SymbolTable> tables;  // each starts a new row
    int count;                        // figures 0..count-1 of each table
    int columns;
};

// The symbols in rows of `columns`, each in a cell of 24 pixels.
QImage SymbolSheet(const SheetCase& c, double scale) {
    const int kCell = static_cast<int>(24 * scale);
    const int rowsPerTable = (c.count + c.columns - 1) / c.columns;
    const int rows = rowsPerTable * static_cast<int>(c.tables.size());
    QImage sheet(c.columns * kCell, rows * kCell, QImage::Format_Grayscale8);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (std::size_t t = 0; t < c.tables.size(); ++t) {
        for (int figure = 0; figure < c.count; ++figure) {
            const int row = static_cast<int>(t) * rowsPerTable + figure / c.columns;
            const synoptic::Placement cell{
                scale, {(figure % c.columns + 0.5) * kCell, (row + 0.5) * kCell}};
            std::vector<synoptic::Shape> shapes;
            for (const synoptic::Shape& shape : synoptic::Symbol(c.tables[t], figure))
                shapes.push_back(synoptic::Placed(shape, cell));
            MapPainter::PaintShapes(painter, shapes);
        }
    }
    return sheet;
}

// Share of pixels whose grey differs by more than a quarter of the range.
double DifferentShare(const QImage& a, const QImage& b) {
    int different = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            different += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 64;
    }
    return static_cast<double>(different) / (a.width() * a.height());
}

class SymbolSheetTest : public ::testing::TestWithParam<SheetCase> {};

TEST_P(SymbolSheetTest, MatchesItsReferencePicture) {
    const SheetCase& c = GetParam();
    if (const char* out = std::getenv("NIMBO_WRITE_SYMBOLS")) {
        const char* scale = std::getenv("NIMBO_SYMBOL_SCALE");
        const QImage sheet = SymbolSheet(c, scale != nullptr ? std::atof(scale) : 1.0);
        ASSERT_TRUE(sheet.save(QString(out) + "/" + c.name + ".png"));
        GTEST_SKIP() << "written to " << out;
    }
    const QImage sheet = SymbolSheet(c, 1.0);
    const QImage reference(QString(NIMBO_TEST_DATA_DIR "/symbols/") + c.name + ".png");
    ASSERT_FALSE(reference.isNull()) << c.name;
    ASSERT_EQ(reference.size(), sheet.size());
    // Font-free vector drawings: only anti-aliasing may differ a little.
    EXPECT_LT(DifferentShare(sheet, reference.convertToFormat(QImage::Format_Grayscale8)), 0.002);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, SymbolSheetTest,
    ::testing::Values(SheetCase{"ww", {SymbolTable::kPresentWeather}, 100, 10},
                      SheetCase{"N", {SymbolTable::kCloudCover}, 11, 11},
                      SheetCase{"W_a", {SymbolTable::kPastWeather, SymbolTable::kTendency}, 10, 10},
                      SheetCase{"clouds",
                                {SymbolTable::kLowCloud, SymbolTable::kMiddleCloud,
                                 SymbolTable::kHighCloud},
                                10,
                                10}),
    [](const ::testing::TestParamInfo<SheetCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nimboview::testing
