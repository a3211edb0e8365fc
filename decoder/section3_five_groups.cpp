// The 5-groups of section 3 (evaporation, temperature change, sunshine, cloud
// drift and direction, 24-hour pressure change) and the radiation groups that
// follow the sunshine groups.
//
// Radiation follow-up state (DecodingState::radiationState):
//   0 none; 6 after 553SS (hourly radiation in kJ/m2 follows);
//   5 after 55SSS (daily radiation in J/cm2 follows);
//   1 after 55407, 2 after 55408 (one hour: net short-wave or direct solar
//   radiation in kJ/m2); 3 after 55507, 4 after 55508 (24 hours, in J/cm2);
//   kHourlySeries + j / kDailySeries + j after a radiation group of type j:
//   further radiation groups of a higher type 1 to 4 may follow (stations
//   send "55300 0//// 20000 3////" in one run).
#include "section3_five_groups.h"

#include "group_fields.h"
#include "report_renderer.h"

namespace nimbo {
namespace {

constexpr int kHourlyRadiation = 6;
constexpr int kDailyRadiation = 5;
constexpr int kHourlySeries = 10;
constexpr int kDailySeries = 20;
constexpr int kHighestSeriesType = 4;

// Keeps the decoded group in the record and writes its lines.
Outcome Take(Section3Group group, DecodingContext& context) {
    RenderLines(context.Record().section3.Add(std::move(group)), context);
    return Outcome::kAccepted;
}

// jFFFF: type of radiation and amount. fixedType: the type announced by the
// group before, and the group may be written without its type figure.
Outcome DecodeRadiation(std::string_view group, bool daily, CodeFigure fixedType,
                        DecodingContext& context) {
    std::size_t amountAt = 1;
    if (fixedType && group.size() == 4) {
        amountAt = 0;  // a follow-up written without its type figure
    } else if (group.size() != 5) {
        return Outcome::kMalformed;
    }
    return Take(Radiation{.type = fixedType ? fixedType : ReadFigure(group, 0, 1),
                          .announced = fixedType.has_value(),
                          .daily = daily,
                          .amount = ReadFigure(group, amountAt, 4)},
                context);
}

// The group after 55407, 55408, 55507 or 55508.
Outcome DecodeAnnouncedRadiation(std::string_view group, int followUp, DecodingContext& context) {
    const int type = followUp % 2 == 1 ? 7 : 8;
    return DecodeRadiation(group, followUp > 2, type, context);
}

// 5EEEiE: evaporation or evapotranspiration and the instrument.
Outcome DecodeEvaporation(std::string_view group, DecodingContext& context) {
    return Take(
        Evaporation{.tenths = ReadFigure(group, 1, 3), .instrument = ReadFigure(group, 4, 1)},
        context);
}

// 54g0sndT: change of temperature within the period.
Outcome DecodeTemperatureChange(std::string_view group, DecodingContext& context) {
    return Take(TemperatureChange{.period = ReadFigure(group, 2, 1),
                                  .sign = ReadFigure(group, 3, 1),
                                  .change = ReadFigure(group, 4, 1)},
                context);
}

// 55xxx: sunshine, and the announcements of the radiation groups that follow.
Outcome DecodeSunshine(std::string_view group, DecodingContext& context) {
    int& radiation = context.State().radiationState;
    const char kind = group[2];
    if (kind == '3') {
        radiation = kHourlyRadiation;
        return Take(Sunshine{.lastHour = true, .tenths = ReadFigure(group, 3, 2)}, context);
    }
    if (kind == '4' || kind == '5') {
        const std::string_view tail = group.substr(3, 2);
        if (tail == "07" || tail == "08") {
            radiation = (kind == '4' ? 1 : 3) + (tail == "08" ? 1 : 0);
            return Outcome::kAccepted;
        }
        radiation = 0;
        return UnexpectedGroup(group);
    }
    if ((kind >= '0' && kind <= '2') || group.substr(2) == "///") {
        radiation = kDailyRadiation;
        return Take(Sunshine{.lastHour = false, .tenths = ReadFigure(group, 2, 3)}, context);
    }
    radiation = 0;  // 556xx to 559xx, and sunshine groups we cannot read
    return Outcome::kAccepted;
}

// 56DLDMDH: direction of drift of low, middle and high clouds.
Outcome DecodeCloudDrift(std::string_view group, DecodingContext& context) {
    return Take(
        CloudDrift{{ReadFigure(group, 2, 1), ReadFigure(group, 3, 1), ReadFigure(group, 4, 1)}},
        context);
}

// 57CDaeC: genus, direction and elevation of one cloud.
Outcome DecodeCloudDirection(std::string_view group, DecodingContext& context) {
    return Take(CloudDirection{.genus = ReadFigure(group, 2, 1),
                               .azimuth = ReadFigure(group, 3, 1),
                               .elevation = ReadFigure(group, 4, 1)},
                context);
}

// 58p24p24p24 / 59p24p24p24: surface pressure change over 24 hours.
Outcome DecodePressureChange(std::string_view group, DecodingContext& context) {
    return Take(PressureChange{.rise = group[1] == '8', .tenths = ReadFigure(group, 2, 3)},
                context);
}

Outcome DecodeByJ1(int j1, std::string_view group, DecodingContext& context) {
    if (j1 >= 0 && j1 <= 3) return DecodeEvaporation(group, context);
    switch (j1) {
        case 4:
            return DecodeTemperatureChange(group, context);
        case 5:
            return DecodeSunshine(group, context);
        case 6:
            return DecodeCloudDrift(group, context);
        case 7:
            return DecodeCloudDirection(group, context);
        case 8:
        case 9:
            return DecodePressureChange(group, context);
        default:
            return Outcome::kMalformed;
    }
}

}  // namespace

bool ContinuesRadiationSeries(std::string_view group, const DecodingState& state) {
    const int series = state.radiationState;
    if (series < kHourlySeries || group.size() != 5 || !IsFigure(group[0])) return false;
    const int j = group[0] - '0';
    return j > series % 10 && j <= kHighestSeriesType;
}

Outcome DecodeRadiationSeries(std::string_view group, DecodingContext& context) {
    DecodingState& state = context.State();
    const bool hourly = state.radiationState < kDailySeries;
    state.radiationState = (hourly ? kHourlySeries : kDailySeries) + group[0] - '0';
    return DecodeRadiation(group, !hourly, std::nullopt, context);
}

Outcome DecodeFiveGroup(std::string_view group, DecodingContext& context) {
    if (group.size() < 2) return Outcome::kMalformed;
    DecodingState& state = context.State();
    const int followUp = state.radiationState;
    if (followUp >= 1 && followUp <= 4) {
        state.radiationState = 0;
        return DecodeAnnouncedRadiation(group, followUp, context);
    }
    if (group[1] != '5' && (followUp == kHourlyRadiation || followUp == kDailyRadiation)) {
        const bool hourly = followUp == kHourlyRadiation;
        state.radiationState = 0;
        const Outcome outcome = DecodeRadiation(group, !hourly, std::nullopt, context);
        if (outcome == Outcome::kMalformed) return outcome;
        if (IsFigure(group[0])) {
            state.radiationState = (hourly ? kHourlySeries : kDailySeries) + group[0] - '0';
        }
        return Outcome::kAccepted;
    }
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '5') return UnexpectedGroup(group);
    if (!IsFigure(group[1])) {
        // Without j1 the kind of the group is unknown; like any group of
        // another kind that starts with a figure, it is taken without output.
        state.radiationState = 0;
        return Outcome::kAccepted;
    }
    const int j1 = group[1] - '0';
    if (j1 < state.highestJ1 && state.highestJ1 != 0) {
        state.radiationState = 0;
        return Outcome::kMalformed;
    }
    if (DecodeByJ1(j1, group, context) == Outcome::kMalformed) return Outcome::kMalformed;
    state.highestJ1 = j1 <= 3 ? 4 : j1;
    if (j1 != 5) state.radiationState = 0;
    return Outcome::kAccepted;
}

}  // namespace nimbo
