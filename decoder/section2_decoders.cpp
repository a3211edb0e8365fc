// Section 2 decoders. Invalid fields never make a group malformed; they only
// mark lines as missing, which quiet mode leaves out.
#include "section2_decoders.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "group_fields.h"
#include "later_sections.h"
#include "tables/code_tables.h"
#include "value_formatters.h"

namespace nimbo {
namespace {

constexpr std::string_view kDegreesCelsius =
    "\xB0"
    "c";

// Text of a field, or the missing text when the field is not valid.
struct FieldText {
    std::string text;
    bool missing = false;
};

FieldText TableField(std::string_view field, CodeTable table) {
    if (!IsValidField(field)) return {std::string(kUnknown), true};
    return {std::string(CodeText(table, FieldValue(field))), false};
}

FieldText FiguresField(std::string_view field) {
    if (!IsValidField(field)) return {std::string(kUnknown), true};
    return {std::string(field), false};
}

// Sign, measurement method and factor of a temperature's sign figure.
struct SignedMethod {
    std::string_view sign = " ";
    std::string_view method;
    float factor = 0.0f;
};

// sn of 0snTwTwTw: even figures positive, odd negative, by measuring method.
SignedMethod SeaTemperatureSign(char sn) {
    static constexpr std::array<std::string_view, 3> kMethods = {
        " (intake measure)", " (bucket measure)", " (hull contact measure)"};
    if (sn < '0' || sn > '7') return {};
    const int figure = sn - '0';
    const bool negative = figure % 2 == 1;
    return {negative ? "-" : "+", figure < 6 ? kMethods[figure / 2] : "", negative ? -1.0f : 1.0f};
}

// sw of 8swTbTbTb.
SignedMethod WetBulbSign(char sw) {
    switch (sw) {
        case '0':
            return {"+", " (measured)", 1.0f};
        case '1':
            return {"-", " (measured)", -1.0f};
        case '2':
            return {" ", " (ice bulb measured)", 0.0f};
        case '5':
            return {"+", " (computed)", 1.0f};
        case '6':
            return {"-", " (computed)", -1.0f};
        case '7':
            return {" ", " (ice bulb computed)", 0.0f};
        default:
            return {};
    }
}

// TT (characters 2-3) and T (character 4) as "TT.T", "??.T" or "TT.?".
struct TenthsValue {
    std::string text;
    float magnitude = 0.0f;
    bool wholeValid = false;
    bool missing = false;
};

TenthsValue TemperatureFigures(std::string_view group) {
    const std::string_view whole = Field(group, 2, 2);
    const std::string_view tenth = Field(group, 4, 1);
    TenthsValue result;
    result.wholeValid = IsValidField(whole);
    const bool tenthValid = IsValidField(tenth);
    result.missing = !result.wholeValid && !tenthValid;
    result.text = result.wholeValid ? NumberInWidth(FieldValue(whole), 2) : "??";
    result.text += tenthValid ? "." + std::string(tenth) : ".?";
    if (result.wholeValid) result.magnitude = static_cast<float>(FieldValue(whole));
    if (tenthValid) result.magnitude += static_cast<float>(FieldValue(tenth)) / 10.0f;
    return result;
}

// Label + signed temperature + method, or the missing line; returns the value
// (kNoValue when the sign figure gives no sign or the whole degrees are missing).
float EmitTemperatureLine(std::string_view label, const SignedMethod& sign, std::string_view group,
                          DecodingContext& context) {
    const TenthsValue figures = TemperatureFigures(group);
    if (figures.missing) {
        EmitGroupLine(context, std::string(label) + std::string(kUnknown) + "\n", true);
        return kNoValue;
    }
    EmitGroupLine(context,
                  std::string(label) + std::string(sign.sign) + figures.text +
                      std::string(kDegreesCelsius) + std::string(sign.method) + "\n",
                  false);
    if (sign.factor == 0.0f || !figures.wholeValid) return kNoValue;
    return figures.magnitude * sign.factor;
}

// A height given in half metres, in metres with one decimal ("%4.1f").
std::string HalfMetres(int halves) { return TenthsInWidth(halves * 5L, 4); }

// Wind waves of group 1 (measured, preferred) or 2 into the record.
void RecordWaves(std::string_view group, WeatherObservation& record) {
    const bool instrumented = group[0] == '1';
    if ((group[0] != '1' && group[0] != '2') || (record.wavesInstrumented && !instrumented)) return;
    record.wavesInstrumented = instrumented;
    record.wavePeriodS.reset();
    record.waveHeightM.reset();
    if (IsValidField(group.substr(1, 2))) record.wavePeriodS = FieldValue(group.substr(1, 2));
    if (IsValidField(group.substr(3, 2))) record.waveHeightM = FieldValue(group.substr(3, 2)) * 0.5;
}

// Period and height lines of a wave or swell group (heights in half metres).
Outcome DecodeWaveGroup(std::string_view group, char first, std::string_view name,
                        std::string_view suffix, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != first) return UnexpectedGroup(group);
    const std::string_view period = group.substr(1, 2);
    const bool periodMissing = !IsValidField(period);
    const std::string periodText =
        periodMissing ? std::string(kUnobserved) : NumberInWidth(FieldValue(period), 2) + "s ";
    EmitGroupLine(context,
                  std::string(name) + " period: " + periodText + std::string(suffix) + "\n",
                  periodMissing);
    const std::string_view height = group.substr(3, 2);
    const bool heightMissing = !IsValidField(height);
    RecordWaves(group, context.Observation());
    const std::string heightText =
        heightMissing ? std::string(kUnobserved) : HalfMetres(FieldValue(height)) + "m ";
    EmitGroupLine(context,
                  std::string(name) + " height: " + heightText + std::string(suffix) + "\n",
                  heightMissing);
    return Outcome::kAccepted;
}

}  // namespace

// 222Dsvs: course and average speed of the ship.
Outcome DecodeShipMovement(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '2') return UnexpectedGroup(group);
    if (group[1] != '2' || group[2] != '2') return Outcome::kMalformed;
    const FieldText direction = TableField(group.substr(3, 1), CodeTable::T0700_D);
    EmitGroupLine(context, {"Ship direction:    ", direction.text, "\n"}, direction.missing);
    const FieldText speed = TableField(group.substr(4, 1), CodeTable::T4451_vs);
    EmitGroupLine(context, {"Ship aver. speed:  ", speed.text, "\n"}, speed.missing);
    return Outcome::kAccepted;
}

// 0snTwTwTw: sea-surface temperature, also raised for the map.
Outcome DecodeSeaTemperature(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '0') return UnexpectedGroup(group);
    const float value =
        EmitTemperatureLine("Sea surface Temp.: ", SeaTemperatureSign(group[1]), group, context);
    DecodingState& state = context.State();
    state.lastTemperature = value;
    if (value != kNoValue) context.Observation().seaTemperature = RoundedTenths(value);
    if (value != kNoValue && PositionKnown(state.latitude, state.longitude) &&
        std::trunc(std::fabs(value)) < 100.0f) {
        context.Events().Temperature(value, 1);
    }
    return Outcome::kAccepted;
}

// 1PwaPwaHwaHwa: wind waves, measured by instrument.
Outcome DecodeInstrumentedWaves(std::string_view group, DecodingContext& context) {
    return DecodeWaveGroup(group, '1', "Sea Waves ", "(instrumented)", context);
}

// 2PwPwHwHw: wind waves, estimated.
Outcome DecodeSeaWaves(std::string_view group, DecodingContext& context) {
    return DecodeWaveGroup(group, '2', "Sea Waves ", "", context);
}

// 3dw1dw1dw2dw2: directions of the two swell systems; the second only when given.
Outcome DecodeSwellDirections(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '3') return UnexpectedGroup(group);
    const std::string_view first = group.substr(1, 2);
    const bool firstMissing = !IsValidField(first);
    const std::string firstText =
        firstMissing ? std::string(kUnobserved) : NumberInWidth(FieldValue(first) * 10, 2) + "\xB0";
    EmitGroupLine(context,
                  "Swell direct. N\xB0"
                  "1: " +
                      firstText + "\n",
                  firstMissing);
    const std::string_view second = group.substr(3, 2);
    if (IsValidField(second)) {
        EmitGroupLine(context,
                      "Swell direct. N\xB0"
                      "2: " +
                          NumberInWidth(FieldValue(second) * 10, 2) + "\xB0\n",
                      false);
    }
    return Outcome::kAccepted;
}

// 4Pw1Pw1Hw1Hw1: first swell system.
Outcome DecodeFirstSwell(std::string_view group, DecodingContext& context) {
    return DecodeWaveGroup(group, '4',
                           "Sweels N\xB0"
                           "1",
                           "", context);
}

// 5Pw2Pw2Hw2Hw2: second swell system.
Outcome DecodeSecondSwell(std::string_view group, DecodingContext& context) {
    return DecodeWaveGroup(group, '5',
                           "Sweels N\xB0"
                           "2",
                           "", context);
}

// 6IsEsEsRs: ice accretion on the ship: its cause (Is), thickness in
// centimetres (EsEs) and rate (Rs).
Outcome DecodeIceAccretion(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '6') return UnexpectedGroup(group);
    const FieldText cause = TableField(group.substr(1, 1), CodeTable::T1751_Is);
    EmitGroupLine(context, {"Accretion cause:   ", cause.text, "\n"}, cause.missing);
    const std::string_view thickness = group.substr(2, 2);
    const bool thicknessMissing = !IsValidField(thickness);
    const std::string thicknessText =
        thicknessMissing ? std::string(kUnknown) : std::to_string(FieldValue(thickness)) + "cm";
    EmitGroupLine(context, {"Ice thickness:     ", thicknessText, "\n"}, thicknessMissing);
    const FieldText rate = TableField(group.substr(4, 1), CodeTable::T3551_Rs);
    EmitGroupLine(context, {"Accretion rate:    ", rate.text, "\n"}, rate.missing);
    return Outcome::kAccepted;
}

// 70HwaHwaHwa: height of the wind waves in tenths of a metre.
Outcome DecodeWaveHeights(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '7') return UnexpectedGroup(group);
    if (group[1] != '0') return Outcome::kMalformed;
    const TenthsValue figures = TemperatureFigures(group);
    if (figures.missing) {
        EmitGroupLine(context, {"Wave heights:      ", std::string(kUnknown), "\n"}, true);
    } else {
        EmitGroupLine(context, "Wave heights:      " + figures.text + "m\n", false);
    }
    return Outcome::kAccepted;
}

// 8swTbTbTb: wet-bulb temperature.
Outcome DecodeWetBulb(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '8') return UnexpectedGroup(group);
    context.State().lastTemperature =
        EmitTemperatureLine("Wet bulb Temp.:    ", WetBulbSign(group[1]), group, context);
    return Outcome::kAccepted;
}

GroupDecoder Section2Decoder(int n) {
    static constexpr std::array<GroupDecoder, 9> kDecoders = {
        DecodeSeaTemperature,  DecodeInstrumentedWaves, DecodeSeaWaves,
        DecodeSwellDirections, DecodeFirstSwell,        DecodeSecondSwell,
        DecodeIceAccretion,    DecodeWaveHeights,       DecodeWetBulb,
    };
    if (n < 0 || n >= static_cast<int>(kDecoders.size())) return nullptr;
    return kDecoders[n];
}

// The token after "ICING", in plain language.
Outcome DecodeIcingText(std::string_view token, DecodingContext& context) {
    context.EmitLine("ICING information: " + std::string(token) + "\n", kLevelGroup, 0);
    return Outcome::kAccepted;
}

// ciSibiDiZi: sea ice, shown as its code figures.
Outcome DecodeIceGroup(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    static constexpr std::array<std::string_view, 5> kLabels = {
        "ICE concentration: ", "ICE devel. stage : ", "ICE land origin:   ",
        "ICE edge bearing:  ", "ICE situat. trend: ",
    };
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        const FieldText figure = FiguresField(group.substr(i, 1));
        EmitGroupLine(context, std::string(kLabels[i]) + figure.text + "\n", figure.missing);
    }
    return Outcome::kAccepted;
}

// The token after "ICE" when it is not a ciSibiDiZi group.
Outcome DecodeIceText(std::string_view token, DecodingContext& context) {
    context.EmitLine("ICE information:   " + std::string(token) + "\n", kLevelGroup, 0);
    return Outcome::kAccepted;
}

}  // namespace nimbo
