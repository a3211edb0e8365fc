// Section 1 decoders. Invalid fields never make a group malformed; they only
// mark lines as missing, which quiet mode leaves out.
#include "section1_decoders.h"

#include <array>
#include <cmath>
#include <string>

#include "group_fields.h"
#include "tables/code_tables.h"
#include "value_formatters.h"

namespace nimbo {
namespace {

// Text of a one-figure field looked up in a table, or the missing text.
struct FieldText {
  std::string text;
  bool missing = false;
};

FieldText TableField(std::string_view field, CodeTable table, std::string_view missingText) {
  if (!IsValidField(field)) return {std::string(missingText), true};
  return {std::string(CodeText(table, FieldValue(field))), false};
}

std::string VisibilityText(int vv) {
  if (vv == 89) return "greater than 70 km";
  if (vv == 90) return "less than 0.05 km";
  if (vv == 99) return "greater than 50 km";
  if (vv <= 50) return NumberInWidth(vv / 10, 3) + "km";
  if (vv <= 80) return NumberInWidth(vv - 50, 3) + "km";
  if (vv <= 88) return NumberInWidth((vv - 80) * 5 + 30, 3) + "km";
  return std::string(CodeText(CodeTable::T4377_VV, vv));
}

void EmitOperationLines(char ix, DecodingContext& context) {
  const bool missing = ix == '/';
  const std::string_view operation =
      missing ? kUnknown : ix < '4' ? "Manned station    " : "Automated station ";
  std::string weather = "not send";
  if (context.State().weatherGroupAnnounced) {
    weather = std::string("Sent using ") +
              (ix == '7' ? "new 4680/4531 table code" : "old 4677/4561 table code");
  }
  if (!(missing && context.Quiet())) {
    context.EmitLine("Operation type:    " + std::string(operation) + "\n", kLevelHeader, 0);
    context.EmitLine("Present weather:   " + weather + "\n", kLevelHeader, 0);
  }
}

bool MayRaiseForStation(const DecodingState& state) {
  return PositionKnown(state.latitude, state.longitude);
}

}  // namespace

// iRixhVV: operation type, weather group announcement, cloud base, visibility.
bool DecodeCloudAndVisibility(std::string_view group, DecodingContext& context) {
  if (group.find("NIL") != std::string_view::npos || group.find("nil") != std::string_view::npos) {
    context.EmitSeparator(kSeparatorSection);
    context.EmitLine("No data reported\n", kLevelGroup, 0);
    return true;
  }
  if (group.size() != 5) return false;
  DecodingState& state = context.State();
  state.weatherGroupAnnounced = false;
  state.windGroupSeen = false;
  state.presentWeather = CodeTable::T4677_ww;
  state.pastWeather = CodeTable::T4561_W;
  const char ix = group[1];
  if (ix == '1' || ix == '4' || ix == '7') state.weatherGroupAnnounced = true;
  if (ix == '7') {
    state.presentWeather = CodeTable::T4680_wawa;
    state.pastWeather = CodeTable::T4531_Wa;
  }
  EmitOperationLines(ix, context);
  context.EmitSeparator(kSeparatorSection);

  const FieldText h = TableField(group.substr(2, 1), CodeTable::T1600_h, kUnknown);
  EmitGroupLine(context, "Lowest cloud seen: " + h.text + "\n", h.missing);

  const std::string_view vv = group.substr(3, 2);
  const bool vvMissing = !IsValidField(vv);
  const std::string visibility = vvMissing ? std::string(kUnknown) : VisibilityText(FieldValue(vv));
  EmitGroupLine(context, "Visibility:        " + visibility + "\n", vvMissing);
  return true;
}

// Nddff: total cloud cover, wind direction and speed.
bool DecodeWind(std::string_view group, DecodingContext& context) {
  if (group.size() != 5) return false;
  DecodingState& state = context.State();
  const FieldText n = TableField(group.substr(0, 1), CodeTable::T2700_N, kUnknown);
  EmitGroupLine(context, "Total cloud cover: " + n.text + "\n", n.missing);

  const std::string_view dd = group.substr(1, 2);
  const bool ddMissing = !IsValidField(dd);
  std::string direction(kUnknown);
  if (!ddMissing) {
    const int value = FieldValue(dd);
    direction = value == 99   ? "variable direction"
                : value == 0 ? "calm"
                             : NumberInWidth(value * 10, 3) + "\xB0 (-5/+4)";
  }
  EmitGroupLine(context, "Wind direction:    " + direction + "\n", ddMissing);

  const std::string_view ff = group.substr(3, 2);
  const bool ffMissing = !IsValidField(ff);
  const std::string speed =
      ffMissing ? std::string(kUnknown) : NumberInWidth(FieldValue(ff), 2) + std::string(state.windUnit);
  EmitGroupLine(context, "Wind speed:        " + speed + "\n", ffMissing);
  state.windGroupSeen = true;
  return true;
}

// 00fff: wind speed of 99 units or more.
bool DecodeHighWindSpeed(std::string_view group, DecodingContext& context) {
  if (group.size() != 5) return false;
  if (!IsValidField(group.substr(0, 2))) return UnexpectedGroup(group);
  const std::string_view fff = group.substr(2, 3);
  const bool missing = !IsValidField(fff);
  const std::string speed = missing ? std::string(kUnknown)
                                    : NumberInWidth(FieldValue(fff), 3) +
                                          std::string(context.State().windUnit);
  EmitGroupLine(context, "Wind speed:        " + speed + "\n", missing);
  return true;
}

// 1snTTT: air temperature.
bool DecodeAirTemperature(std::string_view group, DecodingContext& context) {
  if (group.size() != 5) return false;
  if (group[0] != '1') return UnexpectedGroup(group);
  const FormattedValue line = FormatTemperature("Temperature:       ", group);
  DecodingState& state = context.State();
  state.lastTemperature = line.value;
  EmitGroupLine(context, line.text, line.missing);
  if (MayRaiseForStation(state) && std::trunc(std::fabs(line.value)) < 100.0f) {
    context.Events().Temperature(line.value, 0);
  }
  return true;
}

// 2snTdTdTd: dew point (or relative humidity for sn 9).
bool DecodeDewPoint(std::string_view group, DecodingContext& context) {
  if (group.size() != 5) return false;
  if (group[0] != '2') return UnexpectedGroup(group);
  const FormattedValue line = FormatTemperature("Dew Point:         ", group);
  context.State().lastTemperature = line.value;
  EmitGroupLine(context, line.text, line.missing);
  return true;
}

namespace {

bool DecodePressureGroup(std::string_view group, char first, std::string_view label, int sea,
                         DecodingContext& context) {
  if (group.size() != 5) return false;
  if (group[0] != first) return UnexpectedGroup(group);
  const FormattedValue line = FormatPressure(label, group);
  DecodingState& state = context.State();
  state.lastPressure = line.value;
  EmitGroupLine(context, line.text, line.missing);
  if (MayRaiseForStation(state) && line.value < 1200.0f) context.Events().Pressure(line.value, sea);
  return true;
}

}  // namespace

// 3PoPoPoPo: station pressure.
bool DecodeStationPressure(std::string_view group, DecodingContext& context) {
  return DecodePressureGroup(group, '3', "Station Pressure:  ", 0, context);
}

// 4PPPP: sea-level pressure.
bool DecodeSeaLevelPressure(std::string_view group, DecodingContext& context) {
  return DecodePressureGroup(group, '4', "Sea Lvl Pressure:  ", 1, context);
}

// 5appp: pressure tendency over three hours.
bool DecodePressureTendency(std::string_view group, DecodingContext& context) {
  if (group.size() != 5) return false;
  if (group[0] != '5') return UnexpectedGroup(group);
  const std::string_view a = group.substr(1, 1);
  const std::string aText = IsValidField(a) ? std::string(CodeText(CodeTable::T0200_a, FieldValue(a))) : "";
  const std::string_view pp = group.substr(2, 2);
  const std::string_view p = group.substr(4, 1);
  const bool missing = !IsValidField(pp) && !IsValidField(p);
  std::string ppText = "Unknown";
  std::string pText;
  if (!missing) {
    ppText = IsValidField(pp) ? NumberInWidth(FieldValue(pp), 2) : "??";
    pText = IsValidField(p) ? "." + std::string(p) : ".?";
  }
  EmitGroupLine(context, "Pressure Tendancy: " + ppText + pText + "hPa " + aText + "\n", missing);
  return true;
}

// 6RRRtR: amount of precipitation and its period.
bool DecodePrecipitation(std::string_view group, DecodingContext& context) {
  if (group.size() != 5) return false;
  if (group[0] != '6') return UnexpectedGroup(group);
  const std::string_view rrr = group.substr(1, 3);
  const bool missing = !IsValidField(rrr);
  std::string amount = "Unknown";
  if (!missing) {
    const int n = FieldValue(rrr);
    if (n < 989) amount = NumberInWidth(n, 3) + "mm";
    else if (n == 989) amount = NumberInWidth(n, 3) + "mm or more";
    else if (n == 990) amount = "trace";
    else amount = "0." + std::to_string(n - 990) + "mm";
  }
  const std::string_view tr = group.substr(4, 1);
  const int period = IsValidField(tr) ? FieldValue(tr) : 9;
  const std::string periodText = "over " + std::string(CodeText(CodeTable::T4019_tR, period));
  EmitGroupLine(context, "Rain fall:         " + amount + " " + periodText + "\n", missing);
  return true;
}

// 7wwW1W2: present and past weather, in the tables iRixhVV put in force.
bool DecodeWeather(std::string_view group, DecodingContext& context) {
  if (group.size() != 5) return false;
  const DecodingState& state = context.State();
  if (group[0] != '7' || !state.weatherGroupAnnounced) return UnexpectedGroup(group);
  const FieldText ww = TableField(group.substr(1, 2), state.presentWeather, kUnobserved);
  EmitGroupLine(context, "Present weather:   " + ww.text + "\n", ww.missing);

  FieldText past = TableField(group.substr(3, 1), state.pastWeather, kUnobserved);
  const std::string_view w2 = group.substr(4, 1);
  if (IsValidField(w2) && w2 != group.substr(3, 1)) {
    past.text += ", " + std::string(CodeText(state.pastWeather, FieldValue(w2)));
    past.missing = false;
  }
  EmitGroupLine(context, "Past weather:      " + past.text + "\n", past.missing);
  return true;
}

// 8NhCLCMCH: cloud amount and the three cloud types.
bool DecodeClouds(std::string_view group, DecodingContext& context) {
  if (group.size() != 5) return false;
  if (group[0] != '8') return UnexpectedGroup(group);
  const char nh = IsFigure(group[1]) ? group[1] : '0';
  context.EmitLine("Clouds coverage:   " + std::string(1, nh) + "\n", kLevelGroup, 0);
  const FieldText low = TableField(group.substr(2, 1), CodeTable::T0513_CL, kUnobserved);
  EmitGroupLine(context, "Low cloud type:    " + low.text + "\n", low.missing);
  const FieldText medium = TableField(group.substr(3, 1), CodeTable::T0515_CM, kUnobserved);
  EmitGroupLine(context, "Medium cloud type: " + medium.text + "\n", medium.missing);
  const FieldText high = TableField(group.substr(4, 1), CodeTable::T0509_CH, kUnobserved);
  EmitGroupLine(context, "High cloud type:   " + high.text + "\n", high.missing);
  return true;
}

// 9GGgg: time of observation; the remainder part flags impossible times.
bool DecodeObservationTime(std::string_view group, DecodingContext& context) {
  if (group.size() != 5) return false;
  if (group[0] != '9') return UnexpectedGroup(group);
  const std::string_view gg = group.substr(1, 2);
  const std::string_view minutes = group.substr(3, 2);
  if (gg == "//" && minutes == "//") {
    if (context.Quiet()) return true;
    context.EmitLine("Observation time:  " + std::string(kUnknown), kLevelGroup, 0);
    context.EmitLine("\n", kLevelSender, 0);
    return true;
  }
  const std::string ggText = IsValidField(gg) ? std::string(gg) : "??";
  const std::string minuteText = IsValidField(minutes) ? ":" + std::string(minutes) : ":??";
  const bool impossible = (IsValidField(gg) && FieldValue(gg) >= 24) ||
                          (IsValidField(minutes) && FieldValue(minutes) >= 60);
  context.EmitLine("Observation time:  " + ggText + minuteText, kLevelGroup, 0);
  context.EmitLine(std::string(impossible ? " (Encoding Error)" : "") + "\n", kLevelSender, 0);
  return true;
}

GroupDecoder Section1Decoder(int n) {
  static constexpr std::array<GroupDecoder, 10> kDecoders = {
      DecodeHighWindSpeed,    DecodeAirTemperature,  DecodeDewPoint, DecodeStationPressure,
      DecodeSeaLevelPressure, DecodePressureTendency, DecodePrecipitation, DecodeWeather,
      DecodeClouds,           DecodeObservationTime,
  };
  if (n < 0 || n >= static_cast<int>(kDecoders.size())) return nullptr;
  return kDecoders[n];
}

}  // namespace nimbo
