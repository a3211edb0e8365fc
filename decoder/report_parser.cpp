// The report parser takes each token through a fixed order of steps: raw log,
// framing (message start, message end, blank line, indicator), report end,
// resynchronisation, section markers, and finally the current state. The
// order matters: it decides, for example, that a token ending in "=" is
// decoded before the next report starts.
#include "report_parser.h"

#include <cstdio>

#include "figure_repair.h"
#include "heading_decoders.h"
#include "later_sections.h"
#include "section1_decoders.h"
#include "station_decoders.h"
#include "tables/code_tables.h"

namespace nimbo {
namespace {

constexpr std::string_view kErrorLabel = "DATA ERROR:        ";

bool IsFigureGroup(std::string_view repaired) {
    return !repaired.empty() && repaired.find_first_not_of("0123456789/") == std::string_view::npos;
}

bool IsNil(std::string_view text) {
    return text.size() == 3 && (text[0] | 0x20) == 'n' && (text[1] | 0x20) == 'i' &&
           (text[2] | 0x20) == 'l';
}

// A land station number: five figures, or ten when the next group is run on.
bool IsStationNumber(std::string_view token) {
    const std::string repaired = RepairFigures(token);
    return (repaired.size() == 5 || repaired.size() == 10) &&
           repaired.find_first_not_of("0123456789") == std::string::npos;
}

// A ship or mobile station call sign: capital letters and figures.
bool IsCallSign(std::string_view token) {
    return token.size() >= 2 && token.size() <= 10 &&
           token.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") ==
               std::string_view::npos;
}

char RuleCharacter(SeparatorLevel level) {
    switch (level) {
        case kSeparatorHeading:
            return '=';
        case kSeparatorReport:
            return '-';
        case kSeparatorSection:
            return '.';
        default:
            return ':';
    }
}

}  // namespace

ReportParser::ReportParser(_IWeatherDecoderEvents& events, _IWeatherObservationEvents& observations,
                           const StationCatalogue& catalogue)
    : m_events(events), m_observations(observations), m_catalogue(catalogue) {}

ReportParser::~ReportParser() = default;

void ReportParser::ProcessToken(std::string_view token, int keywordCode,
                                TokenSeparator separatorCode) {
    if (!token.empty()) ++m_reportTokens;
    if (m_resyn) {
        m_resyn = false;
        m_state = ParserState::kResyncWait;
        m_reportOpen = false;
    }
    // A token at the splitter's cap was cut: it is reported once, not decoded.
    const bool overlong = token.size() >= kMaxTokenLength;
    const bool startsNoReport = !overlong && keywordCode == kKeywordNone &&
                                separatorCode != kSeparatorBlankLine &&
                                !StartsReport(WithoutReportEnd(token));
    if (m_reportOpen && !m_handingOn) {
        // Text that starts no report ends the bulletin in the raw log.
        if (startsNoReport) {
            m_rawLog.Write("NNNN\n");
        } else {
            WriteRawToken(token, keywordCode, separatorCode);
        }
    }

    FrameMessage(keywordCode, separatorCode);
    // The first token after a delimiter starts its line; an indicator there
    // opens the report even when no heading came first.
    if (keywordCode != kKeywordNone) m_atLineStart = true;
    if (m_atLineStart && TakeIndicator(token, separatorCode)) return;

    std::string_view group = token;
    const std::size_t endLength = ReportEndLength(group);
    const bool reportEnd = endLength > 0;
    if (reportEnd) {
        group.remove_suffix(endLength);
        m_reportTokens = 0;
    }
    if (HandleResync(group, reportEnd)) return;
    if (overlong) {
        EmitError(group);
        group = {};
    }

    const bool consumed = m_sectionsAllowed && HandleSectionMarker(RepairFigures(group));
    if (!consumed && !group.empty()) {
        if (startsNoReport) {
            m_reportOpen = false;
            m_state = ParserState::kOutsideBulletin;
        } else {
            HandleState(group, separatorCode);
        }
    }

    if (reportEnd && m_state != ParserState::kOutsideBulletin) {
        m_state = m_resumeState;
        m_sectionsAllowed = false;
        FinishObservation();
    }
    m_atLineStart = separatorCode != kSeparatorBlank;
}

void ReportParser::FrameMessage(int keywordCode, TokenSeparator separatorCode) {
    if (keywordCode != kKeywordNone || separatorCode == kSeparatorBlankLine) FinishObservation();
    if (keywordCode == kKeywordAfterZczc) {
        m_reportOpen = false;
        m_sectionsAllowed = false;
        m_state = ParserState::kHeading;
        for (auto& slot : m_heading) slot.clear();
        m_headingCount = 0;
    } else if (keywordCode == kKeywordAfterNnnn || separatorCode == kSeparatorBlankLine) {
        m_reportOpen = false;
        m_sectionsAllowed = false;
        m_state = ParserState::kIdle;
    }
}

// "=" ends a report, and so does a doubled "==". "V" and ";" stand for "="
// received in letters shift, so they end a report only after a group of
// figures (or NIL), never on a heading item or a call sign ("ENVV", "LAHV").
std::size_t ReportParser::ReportEndLength(std::string_view token) const {
    if (token.empty()) return 0;
    const std::size_t kept = token.find_last_not_of('=');
    if (kept != token.size() - 1)
        return token.size() - (kept == std::string_view::npos ? 0 : kept + 1);
    if (token.back() != 'V' && token.back() != ';') return 0;
    if (m_state == ParserState::kHeading || m_state == ParserState::kShipCallSign) return 0;
    const std::string_view body = token.substr(0, token.size() - 1);
    return IsFigureGroup(RepairFigures(body)) || IsNil(body) ? 1 : 0;
}

// Where a report begins, only a station number or call sign begins one;
// anything else (a switch stamp, a trailer, the next bulletin's heading)
// starts no report.
bool ReportParser::StartsReport(std::string_view token) const {
    if (token.empty()) return true;
    if (m_state == ParserState::kLandStation) return IsStationNumber(token);
    if (m_state == ParserState::kShipCallSign) return IsCallSign(token);
    return true;
}

std::string_view ReportParser::WithoutReportEnd(std::string_view token) const {
    return token.substr(0, token.size() - ReportEndLength(token));
}

void ReportParser::WriteRawToken(std::string_view token, int keywordCode,
                                 TokenSeparator separatorCode) {
    if (!m_rawLog.IsOpen()) return;
    if (keywordCode == kKeywordNone && separatorCode != kSeparatorBlankLine) {
        m_rawLog.Write(std::string(token) + (separatorCode == kSeparatorBlank ? " " : "\n"));
    } else {
        m_rawLog.Write("NNNN\n");
    }
}

// An indicator that is a whole token at a line start opens a report: the raw
// log gets a fresh, numbered bulletin with the stored heading.
bool ReportParser::TakeIndicator(std::string_view token, TokenSeparator separatorCode) {
    if (token == "AAXX") {
        m_decoding.reportKind = ReportKind::kLand;
    } else if (token == "OOXX") {
        m_decoding.reportKind = ReportKind::kMobile;
    } else if (token == "BBXX") {
        m_decoding.reportKind = ReportKind::kShip;
    } else {
        return false;
    }
    FinishObservation();
    ++m_bulletinCounter;
    char number[32];
    std::snprintf(number, sizeof number, "ZCZC %05d", m_bulletinCounter % 100000);
    std::string text = number;
    bool first = true;
    for (const auto& slot : m_heading) {
        if (slot.empty()) continue;
        text += (first ? "\n" : " ") + slot;
        first = false;
    }
    text += "\n" + std::string(token) + (separatorCode == kSeparatorBlank ? " " : "\n");
    m_rawLog.Write(text);
    m_reportOpen = true;
    m_sectionsAllowed = false;
    const bool land = m_decoding.reportKind == ReportKind::kLand;
    m_state = land ? ParserState::kLandTime : ParserState::kShipCallSign;
    m_resumeState = land ? ParserState::kLandStation : ParserState::kShipCallSign;
    return true;
}

// After a resynchronisation request: wait for the end of the current report,
// guess the kind of the next one from its third token, skip it, and decode
// from the one after.
bool ReportParser::HandleResync(std::string_view group, bool reportEnd) {
    switch (m_state) {
        case ParserState::kResyncWait:
            if (reportEnd) m_state = ParserState::kResyncGuess;
            return true;
        case ParserState::kResyncGuess:
            if (m_reportTokens == 3) {
                const std::string repaired = RepairFigures(group);
                if (repaired.size() == 5 && repaired.starts_with("99")) {
                    m_events.Guess("BBXX");
                    m_decoding.reportKind = ReportKind::kShip;
                    m_resumeState = ParserState::kShipCallSign;
                } else {
                    m_events.Guess("AAXX");
                    m_decoding.reportKind = ReportKind::kLand;
                    m_resumeState = ParserState::kLandStation;
                }
                m_state = ParserState::kResyncSkip;
            }
            return true;
        case ParserState::kResyncSkip:
            if (reportEnd) {
                m_reportOpen = true;
                m_state = m_resumeState;
            }
            return true;
        default:
            return false;
    }
}

// "222" opens section 2 only where section 2 may stand, right after section
// 1: later sections hold groups of their own that begin with 222.
bool ReportParser::HandleSectionMarker(std::string_view group) {
    const bool inSection1 =
        m_state == ParserState::kSection1 || m_state == ParserState::kSection1Done;
    if (group.starts_with("222") && m_decoding.windGroupSeen && inSection1) {
        m_groupOrder = 0;
        EmitSeparator(kSeparatorSection);
        DecodeShipMovement(group, *this);
        m_state = ParserState::kSection2;
    } else if (group == "333") {
        m_groupOrder = 0;
        m_decoding.highestJ1 = 0;
        m_decoding.radiationState = 0;
        EmitSeparator(kSeparatorSection);
        m_state = ParserState::kSection3;
    } else if (group == "444") {
        m_groupOrder = 0;
        EmitSeparator(kSeparatorSection);
        m_state = ParserState::kSection4;
    } else if (group == "555") {
        m_groupOrder = 0;
        DecodeSection5Marker(group, *this);
        m_state = ParserState::kSection5;
    } else {
        return false;
    }
    return true;
}

void ReportParser::HandleState(std::string_view token, TokenSeparator separatorCode) {
    switch (m_state) {
        case ParserState::kIdle:
        case ParserState::kOutsideBulletin:
            break;
        case ParserState::kHeading:
            HandleHeading(token, separatorCode);
            break;
        case ParserState::kAfterHeading:
            for (auto& slot : m_heading) slot.clear();
            break;
        case ParserState::kShipCallSign:
        case ParserState::kShipTime:
        case ParserState::kShipLatitude:
        case ParserState::kShipLongitude:
        case ParserState::kMobileSquare:
        case ParserState::kMobileAltitude:
            HandleShipState(token);
            break;
        case ParserState::kLandTime:
            m_landTime = RepairFigures(token);
            m_state = ParserState::kLandStation;
            break;
        case ParserState::kLandStation:
            HandleLandStation(token);
            break;
        case ParserState::kSection1Start:
            HandleSection1Start(token);
            break;
        case ParserState::kSection1Wind:
            Decode(DecodeWind, RepairFigures(token), ParserState::kSection1);
            break;
        case ParserState::kSection1:
            HandleSection1Group(token);
            break;
        case ParserState::kSection2:
        case ParserState::kSection2Icing:
        case ParserState::kSection2Ice:
        case ParserState::kSection2Done:
        case ParserState::kSection3:
        case ParserState::kSection3Done:
        case ParserState::kSection4:
        case ParserState::kSection4Done:
        case ParserState::kSection5:
        case ParserState::kSection5Done:
            RouteLaterSection(token, *this);
            break;
        default:  // kSection1Done, and any state that has no tokens of its own
            ApplyErrorRule(token);
            break;
    }
}

void ReportParser::HandleHeading(std::string_view token, TokenSeparator separatorCode) {
    if (m_headingCount < m_heading.size()) m_heading[m_headingCount++] = std::string(token);
    if (separatorCode == kSeparatorBlank && m_headingCount < m_heading.size()) return;
    EmitSeparator(kSeparatorHeading);
    EmitHeadingLines();
    m_headingCount = 0;
    if (separatorCode == kSeparatorBlank) {
        // A fifth item on the heading line: this is no heading after all.
        ApplyErrorRule(token);
        if (relax) m_state = ParserState::kAfterHeading;
    } else {
        m_state = ParserState::kAfterHeading;
    }
}

void ReportParser::EmitHeadingLines() {
    DecodeSender(m_heading[1], *this);
    DecodeDesignator(m_heading[0], *this);
    DecodeTransmittedTime(RepairFigures(m_heading[2]), *this);
    DecodeStatus(m_heading[3], *this);
}

void ReportParser::HandleShipState(std::string_view token) {
    switch (m_state) {
        case ParserState::kShipCallSign:
            m_decoding.callSign = std::string(token);  // call signs are never repaired
            m_state = ParserState::kShipTime;
            break;
        case ParserState::kShipTime: {
            EmitSeparator(kSeparatorReport);
            const std::string group = RepairFigures(token);
            if (DecodeTimeAndUnit(group, *this)) {
                DecodeShipStation(m_decoding.callSign, *this);
                m_state = ParserState::kShipLatitude;
            } else {
                ApplyErrorRule(group);
            }
            break;
        }
        case ParserState::kShipLatitude:
            Decode(DecodeLatitude, RepairFigures(token), ParserState::kShipLongitude);
            break;
        case ParserState::kShipLongitude:
            Decode(DecodeLongitude, RepairFigures(token),
                   m_decoding.reportKind == ReportKind::kMobile ? ParserState::kMobileSquare
                                                                : ParserState::kSection1Start);
            break;
        case ParserState::kMobileSquare:
            Decode(DecodeMarsdenSquare, RepairFigures(token), ParserState::kMobileAltitude);
            break;
        case ParserState::kMobileAltitude:
            Decode(DecodeMobileAltitude, RepairFigures(token), ParserState::kSection1Start);
            break;
        default:
            break;
    }
}

// Each land report starts with its station number and shows the bulletin's
// observation time again. A station number run together with iRixhVV moves
// the state on by itself.
void ReportParser::HandleLandStation(std::string_view token) {
    EmitSeparator(kSeparatorReport);
    DecodeTimeAndUnit(m_landTime, *this);
    m_state = ParserState::kSection1Start;
    DecodeLandStation(token, *this);
}

void ReportParser::HandleSection1Start(std::string_view token) {
    m_groupOrder = 0;
    m_sectionsAllowed = true;
    Decode(DecodeCloudAndVisibility, RepairFigures(token), ParserState::kSection1Wind);
}

// Groups 0 to 9 in rising order; the first figure chooses the decoder.
void ReportParser::HandleSection1Group(std::string_view token) {
    const std::string group = RepairFigures(token);
    const int n = group[0] - '0';
    if (m_groupOrder != 0 && n < m_groupOrder) {
        ApplyErrorRule(group);
        return;
    }
    const GroupDecoder decoder = Section1Decoder(n);
    if (decoder == nullptr) return;
    if (!decoder(group, *this)) {
        ApplyErrorRule(group);
        return;
    }
    if (n == 9) {
        m_groupOrder = 0;
        m_state = ParserState::kSection1Done;
    } else {
        m_groupOrder = n + 1;
    }
}

void ReportParser::Decode(GroupDecoder decoder, std::string_view group, ParserState next) {
    if (decoder(group, *this)) {
        m_state = next;
    } else {
        ApplyErrorRule(group);
    }
}

void ReportParser::HandOnToken(std::string_view token) {
    const bool wasHandingOn = m_handingOn;
    m_handingOn = true;
    ProcessToken(token, kKeywordNone, kSeparatorBlank);
    m_handingOn = wasHandingOn;
}

// The event texts are built in one buffer that keeps its capacity, so a
// decoded line costs no allocation.
void ReportParser::EmitLine(std::string_view text, int level, int slevel) {
    if (text.empty()) return;
    m_textLog.Write(text);
    m_eventText.assign(text);
    m_events.Result(m_eventText, level, slevel);
}

// Every report starts with its report separator, so the observation record
// starts there too.
void ReportParser::EmitSeparator(SeparatorLevel level) {
    if (m_textLog.IsOpen()) m_textLog.Write(std::string(81, RuleCharacter(level)) + "\n");
    m_events.Separator(static_cast<std::int32_t>(level));
    if (level == kSeparatorReport) StartObservation();
}

void ReportParser::StartObservation() {
    FinishObservation();
    m_observation = WeatherObservation{};
    m_observationOpen = true;
    static constexpr std::string_view kKinds[] = {"BBXX", "AAXX", "OOXX"};
    m_observation.kind = std::string(kKinds[static_cast<int>(m_decoding.reportKind)]);
}

void ReportParser::FinishObservation() {
    if (!m_observationOpen) return;
    m_observationOpen = false;
    m_observations.Observation(m_observation);
}

void ReportParser::EmitError(std::string_view token) {
    if (m_observationOpen) m_observation.errors.emplace_back(token);
    m_eventText.assign(kErrorLabel).append(token).push_back('\n');
    m_textLog.Write(m_eventText);
    m_events.Error(m_eventText);
}

void ReportParser::ApplyErrorRule(std::string_view token) {
    EmitError(token);
    if (relax) return;
    m_sectionsAllowed = false;
    m_state = ParserState::kIdle;
}

// Closing the raw log ends the bulletin it is in, once, so that every file
// holds whole bulletins; the next one is written from its indicator on. (The
// "NNNN" of a bulletin whose end was received is otherwise written only with
// the next token the parser sees, which may come much later.)
bool ReportParser::OpenRawLog(bool enable) {
    const bool wasOpen = m_rawLog.IsOpen();
    if (wasOpen && !enable && m_reportOpen && m_rawLog.Written()) {
        m_rawLog.Write("NNNN\n");
        m_reportOpen = false;
    }
    const bool open = m_rawLog.Open(enable, m_logBase);
    if (wasOpen && !open) m_bulletinCounter = 0;
    return open;
}

bool ReportParser::OpenTextLog(bool enable) { return m_textLog.Open(enable, m_logBase); }

std::string ReportParser::TakeLogFailures() {
    std::string raw = m_rawLog.TakeFailure();
    const std::string text = m_textLog.TakeFailure();
    return raw.empty() || text.empty() ? raw + text : raw + "\n" + text;
}

void ReportParser::SetLogBase(const std::string& folder, const std::string& name) {
    m_logBase = LogBasePath(folder, name);
}

void ReportParser::FinishRawBulletin() {
    if (!m_reportOpen) return;
    m_rawLog.Write("NNNN\n");
    m_reportOpen = false;
}

}  // namespace nimbo
