// Section 2 decoders. Invalid fields never make a group malformed; they only
// mark lines as missing, which quiet mode leaves out. Each reads its figures
// into the report's record, puts the values into the observation and has the
// renderer write the group's lines.
#include "section2_decoders.h"

#include <array>
#include <cmath>
#include <string>

#include "group_fields.h"
#include "later_sections.h"
#include "report_renderer.h"

namespace nimbo {
namespace {

// Keeps the decoded group in the record and writes its lines.
Outcome Take(Section2Group group, DecodingContext& context) {
    RenderLines(context.Record().section2.Add(std::move(group)), context);
    return Outcome::kAccepted;
}

// sn of 0snTwTwTw: even figures positive, odd negative, by measuring method.
SignedMethod SeaTemperatureSign(const CodeFigure& sn) {
    static constexpr std::array<std::string_view, 3> kMethods = {
        " (intake measure)", " (bucket measure)", " (hull contact measure)"};
    if (!sn || *sn > 7) return {};
    const bool negative = *sn % 2 == 1;
    return {negative ? '-' : '+', *sn < 6 ? kMethods[*sn / 2] : "", negative ? -1.0f : 1.0f};
}

// sw of 8swTbTbTb.
SignedMethod WetBulbSign(const CodeFigure& sw) {
    switch (sw.value_or(-1)) {
        case 0:
            return {'+', " (measured)", 1.0f};
        case 1:
            return {'-', " (measured)", -1.0f};
        case 2:
            return {' ', " (ice bulb measured)", 0.0f};
        case 5:
            return {'+', " (computed)", 1.0f};
        case 6:
            return {'-', " (computed)", -1.0f};
        case 7:
            return {' ', " (ice bulb computed)", 0.0f};
        default:
            return {};
    }
}

// The temperature in degrees; kNoValue when the sign figure gives no sign or
// the whole degrees are missing.
float MarineCelsius(const MarineTemperature& temperature) {
    const TemperatureReading& figures = temperature.figures;
    if (temperature.meaning.factor == 0.0f || !figures.whole) return kNoValue;
    float magnitude = static_cast<float>(*figures.whole);
    if (figures.tenth) magnitude += static_cast<float>(*figures.tenth) / 10.0f;
    return magnitude * temperature.meaning.factor;
}

// Wind waves of group 1 (measured, preferred) or 2 into the record.
void RecordWaves(const Waves& waves, WeatherObservation& record) {
    const bool instrumented = waves.system == WaveSystem::kInstrumentedWaves;
    if ((!instrumented && waves.system != WaveSystem::kWindWaves) ||
        (record.wavesInstrumented && !instrumented)) {
        return;
    }
    record.wavesInstrumented = instrumented;
    record.wavePeriodS.reset();
    record.waveHeightM.reset();
    if (waves.period) record.wavePeriodS = *waves.period;
    if (waves.height) record.waveHeightM = *waves.height * 0.5;
}

// Period and height of a wave or swell group (heights in half metres).
Outcome DecodeWaveGroup(std::string_view group, char first, WaveSystem system,
                        DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != first) return UnexpectedGroup(group);
    const Waves waves{system, ReadFigure(group, 1, 2), ReadFigure(group, 3, 2)};
    RecordWaves(waves, context.Observation());
    return Take(waves, context);
}

}  // namespace

// 222Dsvs: course and average speed of the ship.
Outcome DecodeShipMovement(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '2') return UnexpectedGroup(group);
    if (group[1] != '2' || group[2] != '2') return Outcome::kMalformed;
    return Take(ShipMovement{ReadFigure(group, 3, 1), ReadFigure(group, 4, 1)}, context);
}

// 0snTwTwTw: sea-surface temperature, also raised for the map.
Outcome DecodeSeaTemperature(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '0') return UnexpectedGroup(group);
    const TemperatureReading figures = ReadTemperature(group);
    const MarineTemperature temperature{false, figures, SeaTemperatureSign(figures.sign)};
    Take(temperature, context);
    const float value = MarineCelsius(temperature);
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
    return DecodeWaveGroup(group, '1', WaveSystem::kInstrumentedWaves, context);
}

// 2PwPwHwHw: wind waves, estimated.
Outcome DecodeSeaWaves(std::string_view group, DecodingContext& context) {
    return DecodeWaveGroup(group, '2', WaveSystem::kWindWaves, context);
}

// 3dw1dw1dw2dw2: directions of the two swell systems.
Outcome DecodeSwellDirections(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '3') return UnexpectedGroup(group);
    return Take(SwellDirections{ReadFigure(group, 1, 2), ReadFigure(group, 3, 2)}, context);
}

// 4Pw1Pw1Hw1Hw1: first swell system.
Outcome DecodeFirstSwell(std::string_view group, DecodingContext& context) {
    return DecodeWaveGroup(group, '4', WaveSystem::kFirstSwell, context);
}

// 5Pw2Pw2Hw2Hw2: second swell system.
Outcome DecodeSecondSwell(std::string_view group, DecodingContext& context) {
    return DecodeWaveGroup(group, '5', WaveSystem::kSecondSwell, context);
}

// 6IsEsEsRs: ice accretion on the ship: its cause (Is), thickness in
// centimetres (EsEs) and rate (Rs).
Outcome DecodeIceAccretion(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '6') return UnexpectedGroup(group);
    return Take(
        IceAccretion{ReadFigure(group, 1, 1), ReadFigure(group, 2, 2), ReadFigure(group, 4, 1)},
        context);
}

// 70HwaHwaHwa: height of the wind waves in tenths of a metre.
Outcome DecodeWaveHeights(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '7') return UnexpectedGroup(group);
    if (group[1] != '0') return Outcome::kMalformed;
    return Take(WaveHeight{ReadFigure(group, 2, 2), ReadFigure(group, 4, 1)}, context);
}

// 8swTbTbTb: wet-bulb temperature.
Outcome DecodeWetBulb(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '8') return UnexpectedGroup(group);
    const TemperatureReading figures = ReadTemperature(group);
    const MarineTemperature temperature{true, figures, WetBulbSign(figures.sign)};
    Take(temperature, context);
    context.State().lastTemperature = MarineCelsius(temperature);
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
    return Take(IcingText{std::string(token)}, context);
}

// ciSibiDiZi: sea ice, shown as its code figures.
Outcome DecodeIceGroup(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    SeaIce ice;
    for (std::size_t i = 0; i < ice.figures.size(); ++i) ice.figures[i] = ReadFigure(group, i, 1);
    return Take(ice, context);
}

// The token after "ICE" when it is not a ciSibiDiZi group.
Outcome DecodeIceText(std::string_view token, DecodingContext& context) {
    return Take(IceText{std::string(token)}, context);
}

}  // namespace nimbo
