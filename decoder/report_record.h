// The decoder's own record of a report, group by group: the code figures
// each group gave, as the group decoders read them. The text lines are
// rendered from it (report_renderer.h); the public WeatherObservation holds
// the values in their units and is filled from the same decode.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "group_fields.h"
#include "observation_date.h"
#include "tables/code_tables.h"

namespace nimbo {

// A code figure read from its field; none when the field is not all figures
// (a "/" for missing, or a garbled character).
using CodeFigure = std::optional<int>;

// The figure of the characters [first, first+count) of a group.
inline CodeFigure ReadFigure(std::string_view group, std::size_t first, std::size_t count) {
    const std::string_view field = Field(group, first, count);
    if (!IsValidField(field)) return std::nullopt;
    return FieldValue(field);
}

// A text kept as written, at most N characters (what is longer is cut). Held
// in place, so the groups of the record copy as plain data.
template <std::size_t N>
class WrittenText {
  public:
    WrittenText() = default;
    explicit WrittenText(std::string_view text) { m_size = text.copy(m_text.data(), N); }
    std::string_view View() const { return {m_text.data(), m_size}; }

  private:
    std::array<char, N> m_text{};
    std::size_t m_size = 0;
};
using WrittenGroup = WrittenText<5>;

// snTTT: sign (0 above, 1 below zero; 9 a relative humidity), whole degrees
// and tenths.
struct TemperatureReading {
    CodeFigure sign;
    CodeFigure whole;
    CodeFigure tenth;
};

// The figures of a group whose characters 1 to 4 are snTTT.
inline TemperatureReading ReadTemperature(std::string_view group) {
    return {ReadFigure(group, 1, 1), ReadFigure(group, 2, 2), ReadFigure(group, 4, 1)};
}

// Degrees Celsius; none when the sign is not 0 or 1 or no figure was read.
inline std::optional<float> Celsius(const TemperatureReading& figures) {
    if (!figures.whole && !figures.tenth) return std::nullopt;
    if (figures.sign != 0 && figures.sign != 1) return std::nullopt;
    float value = figures.whole ? static_cast<float>(*figures.whole) : 0.0f;
    if (figures.tenth) value += static_cast<float>(*figures.tenth) / 10.0f;
    return figures.sign == 0 ? value : -value;
}

// The bulletin's abbreviated heading TTAAii CCCC YYGGgg BBB, one struct per
// item; kept from the heading to the next one.
struct Designator {  // TTAAii
    std::string ttaaii;
    std::string_view dataType;     // of T1 (static text)
    std::string_view stationKind;  // of A1 where T1 has area letters, else empty
    std::string_view area;         // of A2 likewise
};
struct Sender {  // CCCC
    std::string cccc;
};
struct TransmittedTime {  // YYGGgg; a field that is no time is none
    CodeFigure day;
    CodeFigure hour;
    CodeFigure minute;
    CalendarDate date;  // of that day, before the reference date
};
struct BulletinStatus {  // BBB
    std::string bbb;
    std::string_view kind;  // delayed, corrected, amended (static text)
};
using HeadingItem = std::variant<Designator, Sender, TransmittedTime, BulletinStatus>;

// Kind of the report being decoded, from its indicator.
enum class ReportKind : int { kShip = 0, kLand = 1, kMobile = 2 };

// Section 0, one struct per part of the report's identification.
struct ReportTime {  // YYGGiw
    ReportKind kind = ReportKind::kLand;
    std::optional<int> day;  // YY, or the heading's, or the stamp's
    std::optional<int> hour;
    CalendarDate date;
};
struct StationIdentity {       // IIiii, or a call sign
    WrittenText<40> identity;  // as written
    bool land = true;
    std::string_view region;  // WMO region text of a land station (static text)
};
struct StationReference {  // the catalogue's entry for IIiii
    // Views into the station catalogue, which outlives the decoding.
    std::string_view name;
    std::string_view country;  // two-letter designator
};
struct CountryReference {      // the country of IIiii, by its number
    std::string_view country;  // static text
};
// A coordinate as written: whole degrees and the tenth.
struct Coordinate {
    bool unreported = false;  // every figure "/"
    std::size_t width = 2;    // figures of the whole degrees
    CodeFigure whole;
    CodeFigure tenth;
};
struct Latitude {  // 99LaLaLa
    Coordinate figures;
};
struct Longitude {  // QcLoLoLoLo
    Coordinate figures;
};
struct MarsdenSquare {  // MMMULaULo
    WrittenGroup group;
};
struct MobileAltitude {  // h0h0h0h0im
    int altitude = 0;    // the leading figures of h0h0h0h0
    char im = '/';       // as written: 1 to 4 metres, 5 to 8 feet
};
using Section0Part = std::variant<ReportTime, StationIdentity, StationReference, CountryReference,
                                  Latitude, Longitude, MarsdenSquare, MobileAltitude>;

// Section 1, one struct per group, named for what it reports.
struct CloudAndVisibility {         // iRixhVV
    char ix = '/';                  // as written: 1 to 3 manned, 4 to 7 automatic
    bool weatherAnnounced = false;  // ix says a 7-group follows
    CodeFigure lowestCloud;         // h, code table 1600
    CodeFigure visibility;          // VV, code table 4377
};
struct NilReport {};        // "NIL" in place of iRixhVV
struct Wind {               // Nddff
    CodeFigure cover;       // N, code table 2700
    CodeFigure direction;   // dd, tens of degrees; 00 calm, 99 variable
    CodeFigure speed;       // ff
    std::string_view unit;  // the wind-speed unit text in force (static text)
};
struct HighWindSpeed {  // 00fff
    CodeFigure speed;
    std::string_view unit;
};
struct AirTemperature {  // 1snTTT, 2snTdTdTd
    bool dewPoint = false;
    TemperatureReading figures;
};
struct RelativeHumidity {  // 29UUU
    CodeFigure percent;
};
struct PressureReading {  // 3PoPoPoPo, 4PPPP
    bool seaLevel = false;
    CodeFigure hundreds;  // the three figures before the tenth, the thousand left out
    CodeFigure tenth;
};
struct Geopotential {           // 4a3hhh
    std::string_view surface;   // hPa of the standard surface, code table 0264 (static text)
    std::optional<int> height;  // geopotential metres, from hhh
};
struct PressureTendency {       // 5appp
    CodeFigure characteristic;  // a, code table 0200
    CodeFigure whole;           // the first two figures of ppp, hectopascals
    CodeFigure tenth;
};
struct Precipitation {  // 6RRRtR, of section 1 or 3
    CodeFigure amount;  // RRR, code table 3590
    CodeFigure period;  // tR, code table 4019
};
struct Weather {             // 7wwW1W2
    CodeFigure present;      // ww or wawa
    CodeFigure past1;        // W1 or Wa1
    CodeFigure past2;        // W2 or Wa2
    CodeTable presentTable;  // the tables in force, from ix
    CodeTable pastTable;
};
struct Clouds {         // 8NhCLCMCH
    CodeFigure amount;  // Nh, code table 2700
    CodeFigure low;     // CL, code table 0513
    CodeFigure middle;  // CM, code table 0515
    CodeFigure high;    // CH, code table 0509
};
struct ExactTime {            // 9GGgg
    bool unreported = false;  // "9////"
    CodeFigure hour;
    CodeFigure minute;
};
using Section1Group = std::variant<CloudAndVisibility, NilReport, Wind, HighWindSpeed,
                                   AirTemperature, RelativeHumidity, PressureReading, Geopotential,
                                   PressureTendency, Precipitation, Weather, Clouds, ExactTime>;

// Section 2, one struct per group, named for what it reports.
struct ShipMovement {      // 222Dsvs
    CodeFigure direction;  // Ds, code table 0700
    CodeFigure speed;      // vs, code table 4451
};
// The meaning of a sign figure that also gives the method of measuring.
struct SignedMethod {
    char sign = ' ';
    std::string_view method;  // static text, empty for none
    float factor = 0.0f;      // 0: the figure gives no sign
};
struct MarineTemperature {  // 0snTwTwTw, 8swTbTbTb
    bool wetBulb = false;
    TemperatureReading figures;
    SignedMethod meaning;  // of sn or sw
};
enum class WaveSystem { kInstrumentedWaves, kWindWaves, kFirstSwell, kSecondSwell };
struct Waves {  // 1PwaPwaHwaHwa, 2PwPwHwHw, 4Pw1Pw1Hw1Hw1, 5Pw2Pw2Hw2Hw2
    WaveSystem system = WaveSystem::kWindWaves;
    CodeFigure period;  // seconds
    CodeFigure height;  // half metres
};
struct SwellDirections {  // 3dw1dw1dw2dw2
    CodeFigure first;     // tens of degrees
    CodeFigure second;
};
struct IceAccretion {      // 6IsEsEsRs
    CodeFigure cause;      // Is, code table 1751
    CodeFigure thickness;  // EsEs, centimetres
    CodeFigure rate;       // Rs, code table 3551
};
struct WaveHeight {    // 70HwaHwaHwa
    CodeFigure whole;  // metres
    CodeFigure tenth;
};
struct IcingText {  // the token after "ICING", in plain language
    std::string token;
};
struct SeaIce {                         // ciSibiDiZi
    std::array<CodeFigure, 5> figures;  // ci, Si, bi, Di, zi
};
struct IceText {  // the token after "ICE" when it is no ciSibiDiZi group
    std::string token;
};
using Section2Group = std::variant<ShipMovement, MarineTemperature, Waves, SwellDirections,
                                   IceAccretion, WaveHeight, IcingText, SeaIce, IceText>;

// Section 3, one struct per group, named for what it reports.
struct LocalInformation {  // 0xxxx, and every group of the regional data
    WrittenGroup group;
};
struct ExtremeTemperature {  // 1snTxTxTx, 2snTnTnTn
    bool maximum = true;
    TemperatureReading figures;
};
struct GroundState {     // 3EsnTgTg
    CodeFigure state;    // E, code table 0901
    CodeFigure sign;     // 0 above, 1 below zero
    CodeFigure degrees;  // TgTg
};
struct SnowCover {     // 4E'sss
    char state = '/';  // E' as written, code table 0975
    CodeFigure depth;  // sss, centimetres; 997 to 999 are less than 0.5 cm, not measurable
};
struct Evaporation {        // 5EEEiE
    CodeFigure tenths;      // EEE, tenths of a millimetre
    CodeFigure instrument;  // iE, code table 1806
};
struct TemperatureChange {  // 54g0sndT
    CodeFigure period;      // g0, hours
    CodeFigure sign;        // 0 rise, 1 fall, 9 a relative humidity
    CodeFigure change;      // dT
};
struct Sunshine {  // 553SS, 55SSS
    bool lastHour = false;
    CodeFigure tenths;  // tenths of an hour
};
struct Radiation {           // jFFFF after a sunshine group
    CodeFigure type;         // j
    bool announced = false;  // j fixed by 55407, 55408, 55507 or 55508
    bool daily = false;      // J/cm2 over 24 hours; otherwise kJ/m2 over the last hour
    CodeFigure amount;
};
struct CloudDrift {                        // 56DLDMDH, code table 0700
    std::array<CodeFigure, 3> directions;  // low, middle, high
};
struct CloudDirection {    // 57CDaeC
    CodeFigure genus;      // code table 0500
    CodeFigure azimuth;    // code table 0700
    CodeFigure elevation;  // code table 1004
};
struct PressureChange {  // 58p24p24p24, 59p24p24p24
    bool rise = true;
    CodeFigure tenths;  // tenths of a hectopascal
};
struct Precipitation24h {  // 7R24R24R24R24
    CodeFigure tenths;     // tenths of a millimetre; 9999 a trace
};
struct CloudLayer {     // 8NsChshs
    CodeFigure amount;  // code table 2700
    CodeFigure genus;   // code table 0500
    CodeFigure height;  // code table 1677
};
struct SpecialPhenomenon {  // 9SpSpspsp
    WrittenGroup group;
    std::string_view windUnit;  // the wind-speed unit text in force (static text)
};
using Section3Group =
    std::variant<LocalInformation, ExtremeTemperature, GroundState, SnowCover, Evaporation,
                 TemperatureChange, Sunshine, Radiation, CloudDrift, CloudDirection, PressureChange,
                 Precipitation, Precipitation24h, CloudLayer, SpecialPhenomenon>;

// The groups of the sections read most copy as plain data into and out of
// the record's lists.
static_assert(std::is_trivially_copyable_v<Section0Part>);
static_assert(std::is_trivially_copyable_v<Section1Group>);
static_assert(std::is_trivially_copyable_v<Section3Group>);

// N'C'H'H'Ct (section 4): a cloud layer whose base is below the station.
struct CloudBelowStation {
    CodeFigure amount;        // N', code table 2700
    CodeFigure genus;         // C', code table 0500
    CodeFigure upperSurface;  // H'H', altitude of the upper surface in hundreds of metres
    CodeFigure top;           // Ct, code table 0552
};

// The groups of one kind a report gave, in order. Text that never ends its
// report could run on in a section, so the list holds a bounded number: a
// group beyond it takes the last place.
template <typename Group>
class GroupList {
  public:
    // The group, as kept.
    const Group& Add(Group group) {
        constexpr std::size_t kMaxGroups = 64;
        if (m_groups.size() == kMaxGroups) {
            m_groups.back() = std::move(group);
        } else {
            m_groups.push_back(std::move(group));
        }
        return m_groups.back();
    }
    const std::vector<Group>& Groups() const { return m_groups; }
    // Empties the list; its storage stays for the next report.
    void Clear() { m_groups.clear(); }

  private:
    std::vector<Group> m_groups;
};

// The record of the report being decoded, section by section, in the order
// the groups came.
struct ReportRecord {
    GroupList<HeadingItem> heading;  // emptied where a heading starts, not per report
    GroupList<Section0Part> section0;
    GroupList<Section1Group> section1;
    GroupList<Section2Group> section2;
    GroupList<Section3Group> section3;
    GroupList<CloudBelowStation> section4;
    bool nationalData = false;        // "555" was read
    GroupList<std::string> section5;  // the national groups, as written

    // Empties the record for the next report; the lists keep their storage,
    // and the heading stays until the next heading.
    void Clear() {
        section0.Clear();
        section1.Clear();
        section2.Clear();
        section3.Clear();
        section4.Clear();
        nationalData = false;
        section5.Clear();
    }
};

}  // namespace nimbo
