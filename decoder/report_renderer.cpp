// Labels and value texts of the decoded groups. Lines are built in place
// (LineText): rendering a group costs no allocation.
#include "report_renderer.h"

#include <charconv>

#include "tables/code_tables.h"
#include "value_formatters.h"

namespace nimbo {
namespace {

// The integer right-aligned with blanks to `width` characters (never cut).
void AppendNumber(LineText& text, long value, int width) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (long pad = width - (end - digits); pad > 0; --pad) text.push_back(' ');
    text.append(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

// "N of genus"; a genus that is not known reads "Not visible" without the
// amount, an amount that is not known reads "0".
void AppendCloudLayer(LineText& text, const CodeFigure& amount, const CodeFigure& genus) {
    if (!genus) {
        text.append(" of Not visible");
        return;
    }
    text.push_back(static_cast<char>('0' + amount.value_or(0)));
    text.append(" of ");
    text.append(CodeText(CodeTable::T0500_C, *genus));
}

}  // namespace

void RenderLines(const CloudBelowStation& layer, DecodingContext& context) {
    LineText cover;
    cover.append("Cloud cover layer: ");
    AppendCloudLayer(cover, layer.amount, layer.genus);
    cover.append("\n");
    context.EmitLine(cover, kLevelGroup, 0);

    LineText height;
    height.append("Cloud upper height:");
    if (layer.upperSurface) {
        AppendNumber(height, *layer.upperSurface * 100L, 2);
        height.append("m");
    } else {
        height.append(kUnknown);
    }
    height.append("\n");
    EmitGroupLine(context, height, !layer.upperSurface);

    const std::string_view top = layer.top ? CodeText(CodeTable::T0552_Ct, *layer.top) : kUnknown;
    EmitGroupLine(context, {"Top of clouds    :", top, "\n"}, !layer.top);
}

// Every line ends with its line feed, so that what follows in the log and in
// the client's window starts on a line of its own.
void RenderNationalDataHeading(DecodingContext& context) {
    context.EmitSeparator(kSeparatorSection);
    context.EmitLine("National data:    \n", kLevelGroup, 0);
}

void RenderNationalGroup(std::string_view group, DecodingContext& context) {
    context.EmitLine({" ", group, "\n"}, kLevelGroup, 0);
}

}  // namespace nimbo
