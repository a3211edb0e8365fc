// Temperature and pressure formatting.
#include "value_formatters.h"

#include "group_fields.h"
#include "tables/code_tables.h"

namespace nimbo {

FormattedValue FormatTemperature(std::string_view label, std::string_view group) {
    FormattedValue result;
    const char sn = group.size() > 1 ? group[1] : ' ';
    const std::string_view whole = Field(group, 2, 2);
    const std::string_view tenth = Field(group, 4, 1);
    const bool wholeValid = IsValidField(whole);
    const bool tenthValid = IsValidField(tenth);
    if (!wholeValid && !tenthValid) {
        result.missing = true;
        result.text = std::string(label) + std::string(kUnknown) + "\n";
        return result;
    }
    const std::string sign = sn == '0' ? "+" : sn == '1' ? "-" : " ";
    const std::string unit = sn == '9'                  ? "RH (relative humidity)"
                             : (sn == '0' || sn == '1') ? "\xB0"
                                                          "c"
                                                        : "";
    float value = 0.0f;
    std::string wholeText = "??";
    std::string tenthText = ".?";
    if (wholeValid) {
        value = static_cast<float>(FieldValue(whole));
        wholeText = NumberInWidth(FieldValue(whole), 2);
    }
    if (tenthValid) {
        value += static_cast<float>(FieldValue(tenth)) / 10.0f;
        tenthText = "." + std::string(tenth);
    }
    result.value = sn == '0' ? value : sn == '1' ? -value : kNoValue;
    result.text = std::string(label) + sign + wholeText + tenthText + unit + "\n";
    return result;
}

FormattedValue FormatPressure(std::string_view label, std::string_view group) {
    FormattedValue result;
    const std::string_view whole = Field(group, 1, 3);
    const std::string_view tenth = Field(group, 4, 1);
    const bool wholeValid = IsValidField(whole);
    const bool tenthValid = IsValidField(tenth);
    if (!wholeValid && !tenthValid) {
        result.missing = true;
        result.text = std::string(label) + std::string(kUnknown) + "\n";
        return result;
    }
    std::string wholeText = "????";
    std::string tenthText = ".?";
    if (wholeValid) {
        const int hundreds = FieldValue(whole);
        result.value = static_cast<float>(hundreds < 500 ? 1000 + hundreds : hundreds);
        wholeText = (hundreds < 500 ? "1" : " ") + std::string(whole);
    }
    if (tenthValid) {
        if (wholeValid) result.value += static_cast<float>(FieldValue(tenth)) / 10.0f;
        tenthText = "." + std::string(tenth);
    }
    result.text = std::string(label) + wholeText + tenthText + "hPa \n";
    return result;
}

void EmitGroupLine(DecodingContext& context, std::string_view text, bool missing) {
    if (missing && context.Quiet()) return;
    context.EmitLine(text, kLevelGroup, 0);
}

}  // namespace nimbo
