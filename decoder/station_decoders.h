// Decoders of section 0 (report identification): observation time and wind
// unit, land station with catalogue lookup, ship call sign and position, and
// the two position groups of a mobile land station.
#pragma once

#include <string>
#include <string_view>

#include "decoding_context.h"

namespace nimbo {

// YYGGiw: report kind and observation time; sets the wind-speed unit. A
// field that cannot be read is taken from the heading's YYGGgg; a stamp of
// the Internet format gives the whole date. Not 5 characters: malformed.
Outcome DecodeTimeAndUnit(std::string_view yyggiw, DecodingContext& context);
// A land bulletin's YYGGiw of any length as five characters: YYGG padded
// with "/", and iw only from a group of five (else "/", an unknown unit).
std::string FiveFigureDayHour(std::string_view token);
// IIiii: station lines, catalogue name and Position. Figures other than five
// are malformed (the parser splits ten figures, IIiii and iRixhVV run
// together, before).
Outcome DecodeLandStation(std::string_view iiiii, DecodingContext& context);
// Ship or mobile station call sign (never repaired).
Outcome DecodeShipStation(std::string_view callSign, DecodingContext& context);
// 99LaLaLa: latitude, first half of the position line.
Outcome DecodeLatitude(std::string_view group, DecodingContext& context);
// QcLoLoLoLo: longitude, end of the position line, Position event.
Outcome DecodeLongitude(std::string_view group, DecodingContext& context);
// MMMULaULo: Marsden square of a mobile land station.
Outcome DecodeMarsdenSquare(std::string_view group, DecodingContext& context);
// h0h0h0h0im: altitude of a mobile land station.
Outcome DecodeMobileAltitude(std::string_view group, DecodingContext& context);

}  // namespace nimbo
