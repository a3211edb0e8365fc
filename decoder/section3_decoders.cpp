// Decoders of the section 3 groups other than the 5-groups.
#include "section3_decoders.h"

#include <array>
#include <cstdio>
#include <string>

#include "group_fields.h"
#include "section1_decoders.h"
#include "section3_phenomena.h"
#include "tables/code_tables.h"
#include "value_formatters.h"

namespace nimbo {
namespace {

// Text of a cloud base height hshs (code table 1677).
std::string CloudHeightText(int hshs) {
    if (hshs == 0) return "Less than 30m";
    if (hshs <= 55) return std::to_string(hshs * 30) + "m";
    if (hshs <= 80) return std::to_string((hshs - 56) * 300 + 1800) + "m";
    if (hshs <= 88) return std::to_string((hshs - 80) * 1500 + 9000) + "m";
    if (hshs == 89) return "Greater than 21000m";
    return std::string(CodeText(CodeTable::T1600_h, hshs - 90));
}

}  // namespace

// 0xxxx, and every group of the regional data.
Outcome DecodeLocalInformation(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    context.EmitLine("Local information: " + std::string(group) + "\n", kLevelGroup, 0);
    return Outcome::kAccepted;
}

namespace {

Outcome DecodeExtremeTemperature(std::string_view group, char first, std::string_view label,
                                 DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != first) return UnexpectedGroup(group);
    // sn is 0 or 1 (or missing); any other figure makes the group unreadable.
    if (group[1] != '0' && group[1] != '1' && group[1] != '/') return Outcome::kMalformed;
    const FormattedValue line = FormatTemperature(label, group);
    if (line.value != kNoValue) {
        WeatherObservation& record = context.Observation();
        (first == '1' ? record.maxTemperature : record.minTemperature) = RoundedTenths(line.value);
    }
    EmitGroupLine(context, line.text, line.missing);
    return Outcome::kAccepted;
}

}  // namespace

// 1snTxTxTx: maximum temperature.
Outcome DecodeMaxTemperature(std::string_view group, DecodingContext& context) {
    return DecodeExtremeTemperature(group, '1', "Max. temperature : ", context);
}

// 2snTnTnTn: minimum temperature.
Outcome DecodeMinTemperature(std::string_view group, DecodingContext& context) {
    return DecodeExtremeTemperature(group, '2', "Min. temperature : ", context);
}

// 3Ejjj: state of the ground without snow, and the minimum ground temperature.
Outcome DecodeGroundState(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '3') return UnexpectedGroup(group);
    const std::string_view e = group.substr(1, 1);
    const std::string_view tgtg = group.substr(3, 2);
    const bool missing = !IsValidField(e) && !IsValidField(tgtg);
    const std::string stateText =
        IsValidField(e) ? std::string(CodeText(CodeTable::T0901_E, FieldValue(e))) : "";
    EmitGroupLine(context, {"State of ground:   ", stateText, "\n"}, missing);

    const char sn = group[2];
    const std::string sign = sn == '0' ? "+" : sn == '1' ? "-" : " ";
    const std::string unit = sn == '0' || sn == '1' ? "\xB0"
                                                      "c"
                                                    : "";
    const std::string temperature =
        IsValidField(tgtg) ? NumberInWidth(FieldValue(tgtg), 2) : std::string(kUnknown);
    EmitGroupLine(context,
                  "Min. ground temp.: " + sign + temperature + unit + " (regionally data)\n",
                  missing);
    return Outcome::kAccepted;
}

// 4E'sss: state of the ground with snow, and the snow depth.
Outcome DecodeSnowDepth(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '4') return UnexpectedGroup(group);
    const std::string_view sss = group.substr(2, 3);
    std::string depth = "???cm";
    if (IsValidField(sss)) depth = FieldValue(sss) >= 997 ? "" : std::string(sss) + "cm";
    if (IsValidField(sss) && FieldValue(sss) < 997)
        context.Observation().snowDepthCm = FieldValue(sss);
    const char cover = group[1];
    const std::string coverText =
        IsFigure(cover) ? " " + std::string(CodeText(CodeTable::T0975_Eprime, cover - '0')) : "";
    EmitGroupLine(context, "Snow depth, cover: " + depth + coverText + "\n",
                  cover == '/' && !IsValidField(sss));
    return Outcome::kAccepted;
}

// 7R24R24R24R24: precipitation over 24 hours, in tenths of a millimetre;
// 9999 is a trace.
Outcome DecodePrecipitation24h(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '7') return UnexpectedGroup(group);
    const std::string_view amount = group.substr(1, 4);
    const bool missing = !IsValidField(amount);
    std::string text(kUnknown);
    if (!missing) {
        const int tenths = FieldValue(amount);
        text = tenths == 9999 ? "trace" : TenthsInWidth(tenths, 5) + "mm";
        PrecipitationAmount& record = context.Observation().precipitation24h.emplace();
        record.trace = tenths == 9999;
        record.amountMm = record.trace ? 0.0 : tenths / 10.0;
        record.periodHours = 24;
    }
    EmitGroupLine(context, {"24h precipitation: ", text, "\n"}, missing);
    return Outcome::kAccepted;
}

std::string CloudLayerText(char amount, char genus) {
    if (!IsFigure(genus)) return " of Not visible";
    const char shown = IsFigure(amount) ? amount : '0';
    return std::string(1, shown) + " of " + std::string(CodeText(CodeTable::T0500_C, genus - '0'));
}

// 8NsChshs: one cloud layer: amount, genus and base height.
Outcome DecodeCloudLayer(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '8') return UnexpectedGroup(group);
    context.EmitLine("Cloud cover layer: " + CloudLayerText(group[1], group[2]) + "\n", kLevelGroup,
                     0);
    const std::string_view hshs = group.substr(3, 2);
    const bool missing = !IsValidField(hshs);
    const std::string height = missing ? std::string(kUnknown) : CloudHeightText(FieldValue(hshs));
    EmitGroupLine(context, {"Cloud base height: ", height, "\n"}, missing);
    return Outcome::kAccepted;
}

// 9SpSpspsp: special phenomena, named by their SpSp code.
Outcome DecodeSpecialPhenomena(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '9') return UnexpectedGroup(group);
    // Highest gust: 910 (last 10 minutes) or 911 (period of W1W2).
    if ((group.substr(1, 2) == "10" || group.substr(1, 2) == "11") &&
        IsValidField(group.substr(3, 2))) {
        WeatherObservation& record = context.Observation();
        record.gustCode = 900 + FieldValue(group.substr(1, 2));
        record.gust = FieldValue(group.substr(3, 2));
    }
    context.EmitLine(
        "Special Phenomena: " + SpecialPhenomenonText(group, context.State().windUnit) + "\n",
        kLevelGroup, 0);
    return Outcome::kAccepted;
}

GroupDecoder Section3Decoder(int n) {
    static constexpr std::array<GroupDecoder, 10> kDecoders = {
        DecodeLocalInformation,      DecodeMaxTemperature,   DecodeMinTemperature,
        DecodeGroundState,           DecodeSnowDepth,        DecodeFiveGroup,
        DecodeSection3Precipitation, DecodePrecipitation24h, DecodeCloudLayer,
        DecodeSpecialPhenomena,
    };
    if (n < 0 || n >= static_cast<int>(kDecoders.size())) return nullptr;
    return kDecoders[n];
}

}  // namespace nimbo
