// Section 1 decoders. Invalid fields never make a group malformed; they only
// mark lines as missing, which quiet mode leaves out.
#include "section1_decoders.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "group_fields.h"
#include "report_renderer.h"
#include "tables/code_tables.h"

namespace nimbo {
namespace {

// Keeps the decoded group in the record and writes its lines.
void Take(Section1Group group, DecodingContext& context) {
    RenderLines(context.Record().section1.Add(std::move(group)), context);
}

// Amount and period of a 6RRRtR group (code tables 3590 and 4019).
PrecipitationAmount PrecipitationRecord(const Precipitation& group) {
    PrecipitationAmount record;
    if (group.amount) {
        const int n = *group.amount;
        record.amountCode = n;
        record.trace = n == 990;
        record.amountMm = n <= 989 ? n : n == 990 ? 0.0 : (n - 990) / 10.0;
    }
    if (group.period) {
        record.periodCode = *group.period;
        if (record.periodCode != 0)
            record.periodHours = PrecipitationPeriodOf(*record.periodCode).hours;
    }
    return record;
}

std::optional<double> ValueOf(float value) {
    if (value == kNoValue) return std::nullopt;
    return RoundedTenths(value);
}

bool MayRaiseForStation(const DecodingState& state) {
    return PositionKnown(state.latitude, state.longitude);
}

// The sign figure sn of a temperature group: 0 or 1, or "/" when missing.
bool IsTemperatureSign(char sn) { return sn == '0' || sn == '1' || sn == '/'; }

// VV of iRixhVV into the record; flagged for the unused figures 51 to 55.
Outcome RecordVisibility(const CodeFigure& vv, WeatherObservation& record) {
    const Visibility& row = VisibilityOf(vv.value_or(-1));
    if (row.form == VisibilityForm::kUnused) return vv ? Outcome::kFlagged : Outcome::kAccepted;
    record.visibilityCode = *vv;
    record.visibilityM = row.metres;
    record.visibilityLessThan = row.lessThan;
    return Outcome::kAccepted;
}

// ix of iRixhVV: which tables the weather group uses, and whether it follows.
void TakeOperation(char ix, DecodingState& state) {
    state.weatherGroupAnnounced = ix == '1' || ix == '4' || ix == '7';
    state.windGroupSeen = false;
    state.weatherGroupOmitted = ix == '2' || ix == '3' || ix == '5' || ix == '6';
    const bool automatic = ix == '7';
    state.presentWeather = automatic ? CodeTable::T4680_wawa : CodeTable::T4677_ww;
    state.pastWeather = automatic ? CodeTable::T4531_Wa : CodeTable::T4561_W;
}

}  // namespace

// iRixhVV: operation type, weather group announcement, cloud base, visibility.
Outcome DecodeCloudAndVisibility(std::string_view group, DecodingContext& context) {
    if (group.find("NIL") != std::string_view::npos ||
        group.find("nil") != std::string_view::npos) {
        context.Observation().nil = true;
        Take(NilReport{}, context);
        return Outcome::kAccepted;
    }
    if (group.size() != 5) return Outcome::kMalformed;
    const char ix = group[1];
    TakeOperation(ix, context.State());
    const CloudAndVisibility decoded{.ix = ix,
                                     .weatherAnnounced = context.State().weatherGroupAnnounced,
                                     .lowestCloud = ReadFigure(group, 2, 1),
                                     .visibility = ReadFigure(group, 3, 2)};
    context.Observation().automaticWeatherCodes = ix == '7';
    // The group is decoded, and a visibility figure outside the table named.
    const Outcome outcome = RecordVisibility(decoded.visibility, context.Observation());
    Take(decoded, context);
    return outcome;
}

// Nddff: total cloud cover, wind direction and speed.
Outcome DecodeWind(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    DecodingState& state = context.State();
    const Wind wind{.cover = ReadFigure(group, 0, 1),
                    .direction = ReadFigure(group, 1, 2),
                    .speed = ReadFigure(group, 3, 2),
                    .unit = state.windUnit};
    WeatherObservation& record = context.Observation();
    if (wind.cover) {
        record.cloudCoverCode = *wind.cover;
        if (*wind.cover <= 8) record.cloudCoverOktas = record.cloudCoverCode;
    }
    // Directions 01 to 36 are tens of degrees, 00 calm, 99 variable; any
    // other figure is outside the table.
    const std::optional<int>& dd = wind.direction;
    const bool ddInvalid = dd && *dd > 36 && *dd != 99;
    if (dd && !ddInvalid) {
        record.windDirectionCode = *dd;
        record.windCalm = *dd == 0;
        record.windVariable = *dd == 99;
        if (*dd >= 1 && *dd <= 36) record.windDirection = *dd * 10;
    }
    if (wind.speed) record.windSpeed = *wind.speed;
    Take(wind, context);
    state.windGroupSeen = true;
    // A direction outside the table, or calm with a wind speed, is named.
    const bool calmWithWind = dd == 0 && wind.speed && *wind.speed > 0;
    return ddInvalid || calmWithWind ? Outcome::kFlagged : Outcome::kAccepted;
}

// 00fff: wind speed of 99 units or more.
Outcome DecodeHighWindSpeed(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (!IsValidField(group.substr(0, 2))) return UnexpectedGroup(group);
    const HighWindSpeed wind{ReadFigure(group, 2, 3), context.State().windUnit};
    if (wind.speed) context.Observation().windSpeed = *wind.speed;
    Take(wind, context);
    return Outcome::kAccepted;
}

// 1snTTT: air temperature.
Outcome DecodeAirTemperature(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '1') return UnexpectedGroup(group);
    if (!IsTemperatureSign(group[1])) return Outcome::kMalformed;
    const AirTemperature temperature{.dewPoint = false, .figures = ReadTemperature(group)};
    const float value = Celsius(temperature.figures).value_or(kNoValue);
    DecodingState& state = context.State();
    state.lastTemperature = value;
    context.Observation().airTemperature = ValueOf(value);
    Take(temperature, context);
    if (MayRaiseForStation(state) && std::trunc(std::fabs(value)) < 100.0f) {
        context.Events().Temperature(value, 0);
    }
    return Outcome::kAccepted;
}

// 2snTdTdTd: dew point, or 29UUU: relative humidity in per cent.
Outcome DecodeDewPoint(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '2') return UnexpectedGroup(group);
    if (!IsTemperatureSign(group[1]) && group[1] != '9') return Outcome::kMalformed;
    if (group[1] == '9') {
        const RelativeHumidity humidity{ReadFigure(group, 2, 3)};
        context.State().lastTemperature = kNoValue;
        if (humidity.percent) context.Observation().relativeHumidity = *humidity.percent;
        Take(humidity, context);
        return Outcome::kAccepted;
    }
    const AirTemperature dewPoint{.dewPoint = true, .figures = ReadTemperature(group)};
    const float value = Celsius(dewPoint.figures).value_or(kNoValue);
    context.State().lastTemperature = value;
    context.Observation().dewPoint = ValueOf(value);
    Take(dewPoint, context);
    return Outcome::kAccepted;
}

namespace {

// Hectopascals, the thousand restored for figures below 500; kNoValue
// without the hundreds.
float PressureHpa(const PressureReading& pressure) {
    if (!pressure.hundreds) return kNoValue;
    const int hundreds = *pressure.hundreds;
    float value = static_cast<float>(hundreds < 500 ? 1000 + hundreds : hundreds);
    if (pressure.tenth) value += static_cast<float>(*pressure.tenth) / 10.0f;
    return value;
}

Outcome DecodePressureGroup(std::string_view group, char first, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != first) return UnexpectedGroup(group);
    const bool seaLevel = first == '4';
    const PressureReading pressure{seaLevel, ReadFigure(group, 1, 3), ReadFigure(group, 4, 1)};
    const float value = PressureHpa(pressure);
    DecodingState& state = context.State();
    state.lastPressure = value;
    WeatherObservation& record = context.Observation();
    (seaLevel ? record.seaLevelPressure : record.stationPressure) = ValueOf(value);
    Take(pressure, context);
    if (MayRaiseForStation(state) && value < 1200.0f) context.Events().Pressure(value, seaLevel);
    return Outcome::kAccepted;
}

}  // namespace

// 3PoPoPoPo: station pressure.
Outcome DecodeStationPressure(std::string_view group, DecodingContext& context) {
    return DecodePressureGroup(group, '3', context);
}

namespace {

// Standard isobaric surface of 4a3hhh (code table 0264) and the height that
// the three figures hhh stand for, their thousands figure left out.
struct StandardSurface {
    char a3;
    std::string_view name;
    int hectopascals;
    int (*height)(int hhh);
};

constexpr std::array<StandardSurface, 5> kStandardSurfaces = {{
    {'1', "1000", 1000, [](int hhh) { return hhh >= 500 ? -(hhh - 500) : hhh; }},
    {'2', "925", 925, [](int hhh) { return hhh < 300 ? 1000 + hhh : hhh; }},
    {'5', "500", 500, [](int hhh) { return 5000 + hhh; }},
    {'7', "700", 700, [](int hhh) { return hhh < 500 ? 3000 + hhh : 2000 + hhh; }},
    {'8', "850", 850, [](int hhh) { return 1000 + hhh; }},
}};

const StandardSurface* FindStandardSurface(char a3) {
    for (const StandardSurface& surface : kStandardSurfaces) {
        if (surface.a3 == a3) return &surface;
    }
    return nullptr;
}

// 4a3hhh: a high station's geopotential of a standard surface, sent in place
// of the sea-level pressure; it is no pressure, so no Pressure event.
void DecodeGeopotential(std::string_view group, const StandardSurface& surface,
                        DecodingContext& context) {
    const CodeFigure hhh = ReadFigure(group, 2, 3);
    Geopotential geopotential{.surface = surface.name, .height = std::nullopt};
    if (hhh) geopotential.height = surface.height(*hhh);
    WeatherObservation& record = context.Observation();
    record.geopotentialSurface = surface.hectopascals;
    if (geopotential.height) record.geopotentialHeight = geopotential.height;
    Take(geopotential, context);
}

}  // namespace

// 4PPPP: sea-level pressure, or 4a3hhh: geopotential of a standard surface.
Outcome DecodeSeaLevelPressure(std::string_view group, DecodingContext& context) {
    if (group.size() == 5 && group[0] == '4') {
        if (const StandardSurface* surface = FindStandardSurface(group[1])) {
            DecodeGeopotential(group, *surface, context);
            return Outcome::kAccepted;
        }
    }
    return DecodePressureGroup(group, '4', context);
}

// 5appp: pressure tendency over three hours.
Outcome DecodePressureTendency(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '5') return UnexpectedGroup(group);
    const PressureTendency tendency{ReadFigure(group, 1, 1), ReadFigure(group, 2, 2),
                                    ReadFigure(group, 4, 1)};
    // a 0 to 3: higher than three hours ago, 4 the same, 5 to 8 lower; without
    // a the change has no sign, and the record no signed change.
    WeatherObservation& record = context.Observation();
    if (tendency.characteristic) record.tendencyCode = *tendency.characteristic;
    const CodeFigure ppp = ReadFigure(group, 2, 3);
    if (record.tendencyCode && *record.tendencyCode <= 8 && ppp) {
        const double change = *ppp / 10.0;
        record.pressureChange = *record.tendencyCode >= 5 ? -change : change;
    }
    Take(tendency, context);
    return Outcome::kAccepted;
}

Outcome DecodePrecipitation(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '6') return UnexpectedGroup(group);
    const Precipitation precipitation{ReadFigure(group, 1, 3), ReadFigure(group, 4, 1)};
    context.Observation().precipitation = PrecipitationRecord(precipitation);
    Take(precipitation, context);
    return Outcome::kAccepted;
}

// 6RRRtR of section 3: kept with section 3's groups.
Outcome DecodeSection3Precipitation(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '6') return UnexpectedGroup(group);
    const Precipitation precipitation{ReadFigure(group, 1, 3), ReadFigure(group, 4, 1)};
    context.Observation().precipitationSection3 = PrecipitationRecord(precipitation);
    RenderLines(context.Record().section3.Add(precipitation), context);
    return Outcome::kAccepted;
}

// 7wwW1W2: present and past weather, in the tables iRixhVV put in force. A
// group that ix says is omitted is decoded too, and named.
Outcome DecodeWeather(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    const DecodingState& state = context.State();
    if (group[0] != '7') return UnexpectedGroup(group);
    const Weather weather{ReadFigure(group, 1, 2), ReadFigure(group, 3, 1), ReadFigure(group, 4, 1),
                          state.presentWeather, state.pastWeather};
    WeatherObservation& record = context.Observation();
    if (weather.present) record.presentWeatherCode = weather.present;
    if (weather.past1) record.pastWeather1Code = weather.past1;
    if (weather.past2) record.pastWeather2Code = weather.past2;
    Take(weather, context);
    return state.weatherGroupOmitted ? Outcome::kFlagged : Outcome::kAccepted;
}

// 8NhCLCMCH: cloud amount and the three cloud types.
Outcome DecodeClouds(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '8') return UnexpectedGroup(group);
    const Clouds clouds{ReadFigure(group, 1, 1), ReadFigure(group, 2, 1), ReadFigure(group, 3, 1),
                        ReadFigure(group, 4, 1)};
    WeatherObservation& record = context.Observation();
    if (clouds.amount) record.cloudAmountCode = clouds.amount;
    if (clouds.low) record.lowCloudCode = clouds.low;
    if (clouds.middle) record.middleCloudCode = clouds.middle;
    if (clouds.high) record.highCloudCode = clouds.high;
    Take(clouds, context);
    return Outcome::kAccepted;
}

// 9GGgg: time of observation; the line names impossible times.
Outcome DecodeObservationTime(std::string_view group, DecodingContext& context) {
    if (group.size() != 5) return Outcome::kMalformed;
    if (group[0] != '9') return UnexpectedGroup(group);
    Take(ExactTime{.unreported = group.substr(1) == "////",
                   .hour = ReadFigure(group, 1, 2),
                   .minute = ReadFigure(group, 3, 2)},
         context);
    return Outcome::kAccepted;
}

GroupDecoder Section1Decoder(int n) {
    static constexpr std::array<GroupDecoder, 10> kDecoders = {
        DecodeHighWindSpeed,    DecodeAirTemperature,   DecodeDewPoint,      DecodeStationPressure,
        DecodeSeaLevelPressure, DecodePressureTendency, DecodePrecipitation, DecodeWeather,
        DecodeClouds,           DecodeObservationTime,
    };
    if (n < 0 || n >= static_cast<int>(kDecoders.size())) return nullptr;
    return kDecoders[n];
}

}  // namespace nimbo
