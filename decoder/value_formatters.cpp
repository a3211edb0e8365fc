// Temperature and pressure formatting.
#include "value_formatters.h"

#include <charconv>

#include "group_fields.h"
#include "tables/code_tables.h"

namespace nimbo {

namespace {

// The missing line: label + "Unknown" + line feed.
FormattedValue MissingLine(std::string_view label) {
    FormattedValue result;
    result.missing = true;
    result.text.append(label).append(kUnknown).push_back('\n');
    return result;
}

}  // namespace

// Each line is built in place, without temporaries.
FormattedValue FormatTemperature(std::string_view label, std::string_view group) {
    const char sn = group.size() > 1 ? group[1] : ' ';
    const std::string_view whole = Field(group, 2, 2);
    const std::string_view tenth = Field(group, 4, 1);
    const bool wholeValid = IsValidField(whole);
    const bool tenthValid = IsValidField(tenth);
    if (!wholeValid && !tenthValid) return MissingLine(label);
    FormattedValue result;
    const char sign = sn == '0' ? '+' : sn == '1' ? '-' : ' ';
    const std::string_view unit = sn == '9'                  ? "RH (relative humidity)"
                                  : (sn == '0' || sn == '1') ? "\xB0"
                                                               "c"
                                                             : "";
    LineText& text = result.text;
    text.append(label).push_back(sign);
    float value = 0.0f;
    if (wholeValid) {
        const int figures = FieldValue(whole);
        value = static_cast<float>(figures);
        char buffer[16];
        const auto last = std::to_chars(buffer, buffer + sizeof buffer, figures).ptr;
        if (last - buffer < 2) text.push_back(' ');
        text.append(std::string_view(buffer, static_cast<std::size_t>(last - buffer)));
    } else {
        text.append("??");
    }
    text.push_back('.');
    if (tenthValid) {
        value += static_cast<float>(FieldValue(tenth)) / 10.0f;
        text.append(tenth);
    } else {
        text.push_back('?');
    }
    result.value = sn == '0' ? value : sn == '1' ? -value : kNoValue;
    text.append(unit).push_back('\n');
    return result;
}

FormattedValue FormatPressure(std::string_view label, std::string_view group) {
    const std::string_view whole = Field(group, 1, 3);
    const std::string_view tenth = Field(group, 4, 1);
    const bool wholeValid = IsValidField(whole);
    const bool tenthValid = IsValidField(tenth);
    if (!wholeValid && !tenthValid) return MissingLine(label);
    FormattedValue result;
    LineText& text = result.text;
    text.append(label);
    if (wholeValid) {
        const int hundreds = FieldValue(whole);
        result.value = static_cast<float>(hundreds < 500 ? 1000 + hundreds : hundreds);
        text.push_back(hundreds < 500 ? '1' : ' ');
        text.append(whole);
    } else {
        text.append("????");
    }
    text.push_back('.');
    if (tenthValid) {
        if (wholeValid) result.value += static_cast<float>(FieldValue(tenth)) / 10.0f;
        text.append(tenth);
    } else {
        text.push_back('?');
    }
    text.append("hPa \n");
    return result;
}

void EmitGroupLine(DecodingContext& context, std::string_view text, bool missing) {
    if (missing && context.Quiet()) return;
    context.EmitLine(text, kLevelGroup, 0);
}

void EmitGroupLine(DecodingContext& context, std::initializer_list<std::string_view> parts,
                   bool missing) {
    if (missing && context.Quiet()) return;
    context.EmitLine(parts, kLevelGroup, 0);
}

}  // namespace nimbo
