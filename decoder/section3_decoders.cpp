// Decoders of the section 3 groups other than the 5-groups. Each reads its
// figures into the report's record, puts the values into the observation
// and has the renderer write the group's lines.
#include "section3_decoders.h"

#include <array>

#include "group_fields.h"
#include "report_renderer.h"
#include "section1_decoders.h"

namespace nimbo {
namespace {

// Keeps the decoded group in the record and writes its lines.
Outcome Take(Section3Group group, DecodingContext& context) {
    RenderLines(context.Record().section3.Add(std::move(group)), context);
    return Outcome::kAccepted;
}

}  // namespace

// 0xxxx, and every group of the regional data.
Outcome DecodeLocalInformation(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    return Take(LocalInformation{WrittenGroup(group)}, context);
}

namespace {

Outcome DecodeExtremeTemperature(std::string_view group, char first, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != first) return UnexpectedGroup(group);
    // sn is 0 or 1 (or missing); any other figure makes the group unreadable.
    if (group[1] != '0' && group[1] != '1' && group[1] != '/') return Outcome::kMalformed;
    const ExtremeTemperature extreme{.maximum = first == '1', .figures = ReadTemperature(group)};
    if (const std::optional<float> celsius = Celsius(extreme.figures)) {
        WeatherObservation& record = context.Observation();
        (extreme.maximum ? record.maxTemperature : record.minTemperature) = RoundedTenths(*celsius);
    }
    return Take(extreme, context);
}

}  // namespace

// 1snTxTxTx: maximum temperature.
Outcome DecodeMaxTemperature(std::string_view group, DecodingContext& context) {
    return DecodeExtremeTemperature(group, '1', context);
}

// 2snTnTnTn: minimum temperature.
Outcome DecodeMinTemperature(std::string_view group, DecodingContext& context) {
    return DecodeExtremeTemperature(group, '2', context);
}

// 3Ejjj: state of the ground without snow, and the minimum ground temperature.
Outcome DecodeGroundState(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '3') return UnexpectedGroup(group);
    return Take(GroundState{.state = ReadFigure(group, 1, 1),
                            .sign = ReadFigure(group, 2, 1),
                            .degrees = ReadFigure(group, 3, 2)},
                context);
}

// 4E'sss: state of the ground with snow, and the snow depth.
Outcome DecodeSnowDepth(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '4') return UnexpectedGroup(group);
    const SnowCover snow{.state = group[1], .depth = ReadFigure(group, 2, 3)};
    if (snow.depth && *snow.depth < 997) context.Observation().snowDepthCm = *snow.depth;
    return Take(snow, context);
}

// 7R24R24R24R24: precipitation over 24 hours, in tenths of a millimetre;
// 9999 is a trace.
Outcome DecodePrecipitation24h(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '7') return UnexpectedGroup(group);
    const Precipitation24h amount{ReadFigure(group, 1, 4)};
    if (amount.tenths) {
        PrecipitationAmount& record = context.Observation().precipitation24h.emplace();
        record.trace = *amount.tenths == 9999;
        record.amountMm = record.trace ? 0.0 : *amount.tenths / 10.0;
        record.periodHours = 24;
    }
    return Take(amount, context);
}

// 8NsChshs: one cloud layer: amount, genus and base height.
Outcome DecodeCloudLayer(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '8') return UnexpectedGroup(group);
    return Take(CloudLayer{.amount = ReadFigure(group, 1, 1),
                           .genus = ReadFigure(group, 2, 1),
                           .height = ReadFigure(group, 3, 2)},
                context);
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
    return Take(SpecialPhenomenon{WrittenGroup(group), context.State().windUnit}, context);
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
