// The report parser takes each token through a fixed order of steps: raw log,
// framing (message start, message end, indicator), report end,
// resynchronisation, section markers, and finally the current state. The
// order matters: it decides, for example, that a token ending in "=" is
// decoded before the next report starts.
//
// Where a report begins, the first groups are held until they show what they
// begin (a land report, a ship or buoy body, or nothing), and text that begins
// no report is skipped to its report end with one error, so one bad report
// costs only itself.
#include "report_parser.h"

#include <cstdio>

#include "figure_repair.h"
#include "group_fields.h"
#include "heading_decoders.h"
#include "later_sections.h"
#include "line_text.h"
#include "report_start.h"
#include "section1_decoders.h"
#include "station_decoders.h"
#include "tables/code_tables.h"

namespace nimbo {
namespace {

constexpr std::string_view kErrorLabel = "DATA ERROR:        ";
// Skipped text is named in its error up to this length.
constexpr std::size_t kSkippedShown = 80;

bool IsFigureGroup(std::string_view repaired) {
    return !repaired.empty() && repaired.find_first_not_of("0123456789/") == std::string_view::npos;
}

bool IsNil(std::string_view text) {
    return text.size() == 3 && (text[0] | 0x20) == 'n' && (text[1] | 0x20) == 'i' &&
           (text[2] | 0x20) == 'l';
}

// A report ends in "=", or in "V" or ";" (an "=" received in letters shift):
// a token that ends otherwise is ruled out at once.
bool MayEndReport(std::string_view token) {
    return !token.empty() && (token.back() == '=' || token.back() == 'V' || token.back() == ';');
}

// Every section marker starts with three equal figures ("222", "333", "444",
// "555"): most groups are ruled out at once.
bool MayBeSectionMarker(std::string_view group) {
    return group.size() >= 3 && group[0] == group[1] && group[1] == group[2];
}

// Where radio noise turned a report end "=" into another character: a group
// at the end of its line with one character too many after five figures, or
// one character that is no figure alone on its line. Returns how much of the
// text is the group (npos: none of this).
std::size_t GarbledEndKeeps(std::string_view text, bool lineStart, TokenSeparator separator) {
    if (separator != kSeparatorLineEnd) return std::string_view::npos;
    if (text.size() == 6 && RepairsToFigureGroup(text.substr(0, 5))) return 5;
    if (text.size() == 1 && lineStart && !IsFigureGroup(text)) return 0;
    return std::string_view::npos;
}

// Empties the observation for the next report. Copying from an empty record
// (rather than moving a new one in) keeps the storage of its texts and of its
// error list, so filling them again costs no allocation.
void ResetObservation(WeatherObservation& observation) {
    static const WeatherObservation kEmpty;
    observation = kEmpty;
}

}  // namespace

ReportParser::ReportParser(_IWeatherDecoderEvents& events, ObservationFanout& observations,
                           BulletinTextEvents& bulletinText, const StationCatalogue& catalogue,
                           const DecoderOptions& options)
    : m_events(events),
      m_observations(observations),
      m_bulletinText(bulletinText),
      m_catalogue(catalogue),
      m_options(options) {}

ReportParser::~ReportParser() = default;

void ReportParser::ProcessToken(std::string_view token, int keywordCode,
                                TokenSeparator separatorCode) {
    if (!token.empty()) ++m_reportTokens;
    if (m_resyn) {
        m_resyn = false;
        m_held.clear();
        m_state = ParserState::kResyncWait;
        m_bulletinText.Suspend();
    }
    // The first token after a delimiter starts its line.
    const bool lineStart = m_atLineStart || keywordCode != kKeywordNone;
    const bool indicator = lineStart && IsIndicatorWord(token);
    const bool framing =
        keywordCode != kKeywordNone || separatorCode == kSeparatorBlankLine || indicator;
    // What was held is decided before a message start or end or an indicator
    // changes the state.
    if (framing && !m_handingOn) SettleHeldGroups();
    if (!m_handingOn) {
        if (indicator) {
            // The open bulletin ends where the next one begins.
            m_bulletinText.BulletinEnd();
        } else {
            m_bulletinText.Token(token, keywordCode, separatorCode);
        }
    }

    if (framing) FrameMessage(keywordCode, separatorCode);
    if (keywordCode != kKeywordNone) m_atLineStart = true;
    // Settling may have handed on a token, which leaves the line start.
    if (indicator && m_atLineStart) {
        TakeIndicator(token, separatorCode);
        return;
    }

    Group group;
    group.separator = separatorCode;
    group.lineStart = m_atLineStart;
    group.onIndicatorLine = m_indicatorLine;
    const std::size_t endLength = MayEndReport(token) ? ReportEndLength(token) : 0;
    group.reportEnd = endLength > 0;
    group.text = token.substr(0, token.size() - endLength);
    // Here, not in a member: a token handed on is processed within this call.
    std::string repairedStorage;
    group.repaired = RepairFigures(group.text, repairedStorage);
    if (group.reportEnd) m_reportTokens = 0;
    if (Resynchronising() && HandleResync(group.repaired, group.reportEnd)) return;
    // A token at the splitter's cap was cut: it is reported once, not decoded.
    if (token.size() >= kMaxTokenLength) {
        EmitError(group.text);
        group.text = group.repaired = {};
    }
    TakeGroup(group);
    if (separatorCode != kSeparatorBlank) m_indicatorLine = false;
    m_atLineStart = separatorCode != kSeparatorBlank;
    if (!m_handingOn && m_held.empty() && !Skipping()) m_bulletinText.Commit();
}

bool ReportParser::OutsideBulletin() const {
    // A held report start that is no station number may be the next
    // bulletin's heading: the splitter keeps it in its line memory.
    return Skipping() ||
           (!m_held.empty() && m_state == m_resumeState && !IsStationNumber(m_held[0].repaired));
}

void ReportParser::FrameMessage(int keywordCode, TokenSeparator separatorCode) {
    if (keywordCode != kKeywordNone || separatorCode == kSeparatorBlankLine) FinishObservation();
    if (keywordCode == kKeywordAfterZczc) {
        m_sectionsAllowed = false;
        m_state = ParserState::kHeading;
        for (auto& slot : m_heading) slot.clear();
        m_headingCount = 0;
        m_decoding.headingTime.clear();
        m_decoding.stamp.reset();
        m_decoding.correction.clear();
    } else if (keywordCode == kKeywordAfterNnnn || separatorCode == kSeparatorBlankLine) {
        m_sectionsAllowed = false;
        m_state = ParserState::kIdle;
    }
}

// "=" ends a report, and so does a doubled "==". "V" and ";" stand for "="
// received in letters shift, so they end a report only after a group of
// figures (or NIL), never on a heading item or a call sign ("ENVV", "LAHV").
std::size_t ReportParser::ReportEndLength(std::string_view token) const {
    if (token.empty()) return 0;
    if (token.back() == '=') {
        const std::size_t kept = token.find_last_not_of('=');
        return token.size() - (kept == std::string_view::npos ? 0 : kept + 1);
    }
    if (token.back() != 'V' && token.back() != ';') return 0;
    if (m_state == ParserState::kHeading || m_state == ParserState::kShipCallSign) return 0;
    const std::string_view body = token.substr(0, token.size() - 1);
    return RepairsToFigureGroup(body) || IsNil(body) ? 1 : 0;
}

// ---------------------------------------------------------------------------
// Holding groups until they show what they begin

void ReportParser::TakeGroup(const Group& group) {
    if (m_observationOpen && m_observation.nil && group.lineStart && LandStream() &&
        IsStationNumber(group.repaired)) {
        // A NIL report holds nothing more: a station number on the next line
        // starts the next report even when the report end was lost.
        m_state = m_resumeState;
        m_sectionsAllowed = false;
        FinishObservation();
    }
    if (!m_held.empty() || StartsHold(group)) {
        m_held.emplace_back(group);
        DecideHeld(group.reportEnd);
        return;
    }
    if (m_state == ParserState::kSkipReport) {
        SkipGroup(group);
        return;
    }
    if (m_state == ParserState::kOutsideBulletin) return;
    if (m_state == m_resumeState && !group.text.empty() && !LandStream() &&
        !IsCallSign(group.text)) {
        // In a ship or mobile bulletin only a call sign starts a report.
        m_state = ParserState::kSkipReport;
        SkipGroup(group);
        return;
    }
    ProcessGroup(group);
}

// Where the parser holds a group before decoding it: the day-hour group that
// may be missing, the first groups of a land bulletin's report, a line that
// may start a report in skipped text, and a line end that may hold a garbled
// report end.
bool ReportParser::StartsHold(const Group& group) const {
    if (group.text.empty()) return false;
    switch (m_state) {
        case ParserState::kLandTime:
            return !LooksLikeDayHour(group.repaired) && IsStationNumber(group.repaired);
        case ParserState::kLandStation:
            return true;
        case ParserState::kSkipReport:
            return group.lineStart &&
                   (LandStream() ? IsStationNumber(group.repaired) : IsCallSign(group.text));
        case ParserState::kSection1Wind:
        case ParserState::kSection1:
        case ParserState::kSection1Done:
        case ParserState::kSection2:
        case ParserState::kSection2Done:
        case ParserState::kSection3:
        case ParserState::kSection3Done:
        case ParserState::kSection4:
        case ParserState::kSection5:
            // Only a group at the end of its line may hold a garbled report end.
            return group.separator == kSeparatorLineEnd && LandStream() && !group.reportEnd &&
                   GarbledEndKeeps(group.text, group.lineStart, group.separator) !=
                       std::string_view::npos;
        default:
            return false;
    }
}

ReportParser::HeldTexts ReportParser::TextsOfHeld(std::size_t first) const {
    HeldTexts texts;
    for (std::size_t i = first; i < m_held.size() && texts.count < texts.items.size(); ++i) {
        texts.items[texts.count++] = {m_held[i].text, m_held[i].repaired};
    }
    return texts;
}

void ReportParser::DecideHeld(bool complete) {
    switch (m_state) {
        case ParserState::kLandTime:
            DecideDayHour(complete);
            break;
        case ParserState::kLandStation:
            DecideReportStart(complete);
            break;
        case ParserState::kSkipReport:
            DecideSkippedStart(complete);
            break;
        default:
            if (complete || m_held.size() > 1) DecideReportEnd(complete);
            break;
    }
}

// A station number where YYGGiw should stand, plainly starting a report,
// while the groups after it do not: the day-hour group is missing, and the
// heading's day and hour stand in for it. Otherwise it is a garbled YYGGiw.
void ReportParser::DecideDayHour(bool complete) {
    const HeldTexts texts = TextsOfHeld(0);
    const StartKind here = ClassifyLandStart(texts.View(), complete, true);
    const StartKind after = ClassifyLandStart(texts.View().subspan(1), complete, true);
    if (here == StartKind::kUndecided ||
        (here == StartKind::kLand && after == StartKind::kUndecided))
        return;
    std::vector<HeldGroup> held = TakeHeld();
    if (here == StartKind::kLand && after != StartKind::kLand) {
        m_landTime.clear();
        m_state = ParserState::kLandStation;
        Release(std::move(held), 0);
        return;
    }
    ProcessGroup(held.front().View());
    Release(std::move(held), 1);
}

void ReportParser::DecideReportStart(bool complete) {
    // Text after YYGGiw on the indicator line must show a report start plainly.
    const bool strict = m_held[0].facts.onIndicatorLine && !m_held[0].facts.lineStart;
    const StartKind kind = ClassifyLandStart(TextsOfHeld(0).View(), complete, strict);
    if (kind == StartKind::kUndecided) return;
    std::vector<HeldGroup> held = TakeHeld();
    if (kind == StartKind::kLand || kind == StartKind::kSea) {
        StartReport(kind == StartKind::kLand ? ReportKind::kLand : ReportKind::kShip,
                    std::move(held));
        return;
    }
    // The first group starts skipped text; a later line may still start a report.
    m_state = ParserState::kSkipReport;
    SkipGroup(held.front().View());
    Release(std::move(held), 1);
}

// A line in skipped text that plainly starts a report ends the skip there.
void ReportParser::DecideSkippedStart(bool complete) {
    const HeldTexts texts = TextsOfHeld(0);
    const StartKind kind = LandStream() ? ClassifyLandStart(texts.View(), complete, true)
                                        : ClassifySeaStart(texts.View(), complete);
    if (kind == StartKind::kUndecided) return;
    std::vector<HeldGroup> held = TakeHeld();
    if (kind == StartKind::kNone) {
        // Still skipped text; a later line may start a report.
        SkipGroup(held.front().View());
        Release(std::move(held), 1);
        return;
    }
    FinishSkip();
    StartReport(LandStream() ? ReportKind::kLand : m_decoding.reportKind, std::move(held));
}

// A group at a line end with a character after its five figures, and a
// plain land report start on the next line: the character was the report
// end. The group is named and decoded, and the next report starts.
void ReportParser::DecideReportEnd(bool complete) {
    StartKind kind = StartKind::kNone;
    if (m_held.size() > 1 && m_held[1].facts.lineStart) {
        kind = ClassifyLandStart(TextsOfHeld(1).View(), complete, true);
        if (kind == StartKind::kUndecided) return;
    }
    std::vector<HeldGroup> held = TakeHeld();
    HeldGroup& candidate = held.front();
    if (kind == StartKind::kLand) {
        EmitError(candidate.text);
        candidate.text.resize(
            GarbledEndKeeps(candidate.text, candidate.facts.lineStart, candidate.facts.separator));
        candidate.repaired = RepairFigures(candidate.text);  // the group lost its last character
        candidate.facts.reportEnd = true;
    }
    ProcessGroup(candidate.View());
    Release(std::move(held), 1);
}

// Decides what is held now, as if no more groups came.
void ReportParser::SettleHeldGroups() {
    while (!m_held.empty()) DecideHeld(true);
    if (Skipping()) {
        // Text without a report end before the next message or bulletin is a
        // trailer (a switch stamp, a channel number): it is dropped silently.
        m_skipped.clear();
        m_bulletinText.Discard();
    } else {
        m_bulletinText.Commit();
    }
}

std::vector<ReportParser::HeldGroup> ReportParser::TakeHeld() {
    std::vector<HeldGroup> held;
    held.swap(m_held);
    // The next report start holds a few groups again: the room that the
    // last released batch left spares allocating it.
    m_held.swap(m_spareHeld);
    if (m_held.capacity() == 0) m_held.reserve(4);
    return held;
}

void ReportParser::Release(std::vector<HeldGroup> groups, std::size_t first) {
    for (std::size_t i = first; i < groups.size(); ++i) TakeGroup(groups[i].View());
    groups.clear();
    if (m_spareHeld.capacity() < groups.capacity()) m_spareHeld.swap(groups);
}

// The first group goes straight to the state machine; the state it leads to
// decides about the others.
void ReportParser::StartReport(ReportKind kind, std::vector<HeldGroup> groups) {
    m_decoding.reportKind = kind;
    if (kind != ReportKind::kLand) m_state = ParserState::kShipCallSign;
    ProcessGroup(groups.front().View());
    Release(std::move(groups), 1);
}

void ReportParser::SkipGroup(const Group& group) {
    if (group.lineStart && IsDesignator(group.text)) {
        // A heading line: the bulletin has ended, and what follows (a message
        // in another code) is no report of it.
        m_skipped.clear();
        m_state = ParserState::kOutsideBulletin;
        return;
    }
    if (!group.text.empty() && m_skipped.size() <= kSkippedShown) {
        if (!m_skipped.empty()) m_skipped.push_back(' ');
        m_skipped += group.text;
    }
    if (group.reportEnd) FinishSkip();
}

// Skipped text that reached a report end was a report without a station
// identity: one error names it, and the next report starts afresh.
void ReportParser::FinishSkip() {
    if (m_skipped.size() > kSkippedShown) {
        m_skipped.resize(kSkippedShown);
        m_skipped += "...";
    }
    if (!m_skipped.empty()) EmitError(m_skipped);
    m_skipped.clear();
    m_state = m_resumeState;
    m_sectionsAllowed = false;
}

void ReportParser::ProcessGroup(const Group& group) {
    const bool consumed = m_sectionsAllowed && MayBeSectionMarker(group.repaired) &&
                          HandleSectionMarker(group.repaired);
    if (!consumed && !group.text.empty()) HandleState(group);
    if (m_observationOpen && !m_handingOn) {
        AppendReportText(group.text);
        if (group.reportEnd) AppendReportEnd();
    }
    if (group.reportEnd) {
        m_state = m_resumeState;
        m_sectionsAllowed = false;
        FinishObservation();
    }
}

// An indicator that is a whole token at a line start opens a report and, in
// the raw log, a bulletin with the stored heading.
void ReportParser::TakeIndicator(std::string_view token, TokenSeparator separatorCode) {
    if (token == "AAXX") {
        m_decoding.reportKind = ReportKind::kLand;
    } else if (token == "OOXX") {
        m_decoding.reportKind = ReportKind::kMobile;
    } else {
        m_decoding.reportKind = ReportKind::kShip;
    }
    FinishObservation();
    // A stamp dates only the report on its own line.
    if (m_state != ParserState::kAfterHeading) m_decoding.stamp.reset();
    m_bulletinText.BulletinStart(m_heading, token, separatorCode);
    m_sectionsAllowed = false;
    const bool land = m_decoding.reportKind == ReportKind::kLand;
    m_indicatorLine = land && separatorCode == kSeparatorBlank;
    m_state = land ? ParserState::kLandTime : ParserState::kShipCallSign;
    m_resumeState = land ? ParserState::kLandStation : ParserState::kShipCallSign;
}

// After a resynchronisation request: wait for the end of the current report,
// guess the kind of the next one from its third token, skip it, and decode
// from the one after.
bool ReportParser::HandleResync(std::string_view repaired, bool reportEnd) {
    switch (m_state) {
        case ParserState::kResyncWait:
            if (reportEnd) m_state = ParserState::kResyncGuess;
            return true;
        case ParserState::kResyncGuess:
            if (m_reportTokens == 3) {
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
                m_bulletinText.Resume();
                m_state = m_resumeState;
            }
            return true;
        default:
            return false;
    }
}

// "222" opens section 2 only where section 2 may stand, right after section
// 1: later sections hold groups of their own that begin with 222. In a land
// report a 222 group in the place of group 2 is a damaged dew point (a sign
// figure 2 is no sign), unless it is a coastal station's "222//".
bool ReportParser::SectionTwoMayStand(std::string_view group) const {
    if (m_state == ParserState::kSection1Done) return true;
    if (m_state != ParserState::kSection1) return false;
    return m_decoding.reportKind != ReportKind::kLand || m_groupOrder > 2 ||
           group.substr(3) == "//";
}

bool ReportParser::HandleSectionMarker(std::string_view group) {
    if (group.starts_with("222") && m_decoding.windGroupSeen && SectionTwoMayStand(group)) {
        m_groupOrder = 0;
        EmitSeparator(kSeparatorSection);
        DecodeShipMovement(group, *this);
        m_state = ParserState::kSection2;
    } else if (group == "333" || group == "333//") {  // padded to five figures in Region II
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

void ReportParser::HandleState(const Group& group) {
    const std::string_view token = group.text;
    switch (m_state) {
        case ParserState::kIdle:
        case ParserState::kSkipReport:
        case ParserState::kOutsideBulletin:
            break;
        case ParserState::kHeading:
            HandleHeading(token, group.separator);
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
            HandleShipState(group);
            break;
        case ParserState::kLandTime:
            // Named once per bulletin; each report takes what it can from it.
            m_landTime = group.repaired;
            if (!LooksLikeDayHour(m_landTime)) EmitError(m_landTime);
            m_state = ParserState::kLandStation;
            break;
        case ParserState::kLandStation:
            HandleLandStation(token);
            break;
        case ParserState::kSection1Start:
            HandleSection1Start(group.repaired);
            break;
        case ParserState::kSection1Wind:
            Decode(DecodeWind, group.repaired, ParserState::kSection1);
            break;
        case ParserState::kSection1:
            HandleSection1Group(group.repaired);
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
            RouteLaterSection(group);
            break;
        default:  // kSection1Done, and any state that has no tokens of its own
            ApplyErrorRule(token);
            break;
    }
}

void ReportParser::HandleHeading(std::string_view token, TokenSeparator separatorCode) {
    if (m_headingCount < m_heading.size()) m_heading[m_headingCount++] = std::string(token);
    if (separatorCode == kSeparatorBlank && m_headingCount < m_heading.size()) return;
    // A line of the Internet format begins with its stamp in place of a heading.
    if (separatorCode != kSeparatorBlank && m_headingCount == 1) {
        m_decoding.stamp = ParseStamp(m_heading[0]);
        if (m_decoding.stamp) {
            m_headingCount = 0;
            m_state = ParserState::kAfterHeading;
            return;
        }
    }
    EmitSeparator(kSeparatorHeading);
    EmitHeadingLines();
    m_headingCount = 0;
    if (separatorCode == kSeparatorBlank) {
        // A fifth item on the heading line: this is no heading after all.
        ApplyErrorRule(token);
        if (m_options.relax) m_state = ParserState::kAfterHeading;
    } else {
        m_state = ParserState::kAfterHeading;
    }
}

void ReportParser::EmitHeadingLines() {
    m_record.heading.Clear();
    m_decoding.headingTime = RepairFigures(m_heading[2]);
    m_decoding.correction = BbbText(m_heading[3]).empty() ? "" : m_heading[3];
    DecodeSender(m_heading[1], *this);
    DecodeDesignator(m_heading[0], *this);
    DecodeTransmittedTime(m_decoding.headingTime, *this);
    DecodeStatus(m_heading[3], *this);
}

void ReportParser::HandleShipState(const Group& group) {
    const std::string_view repaired = group.repaired;
    switch (m_state) {
        case ParserState::kShipCallSign:
            m_decoding.callSign = group.text;  // call signs are never repaired
            m_state = ParserState::kShipTime;
            break;
        case ParserState::kShipTime:
            EmitSeparator(kSeparatorReport);
            if (DecodeTimeAndUnit(repaired, *this) != Outcome::kMalformed) {
                DecodeShipStation(m_decoding.callSign, *this);
                m_state = ParserState::kShipLatitude;
            } else {
                ApplyErrorRule(repaired);
            }
            break;
        case ParserState::kShipLatitude:
            Decode(DecodeLatitude, repaired, ParserState::kShipLongitude);
            break;
        case ParserState::kShipLongitude:
            Decode(DecodeLongitude, repaired,
                   m_decoding.reportKind == ReportKind::kMobile ? ParserState::kMobileSquare
                                                                : ParserState::kSection1Start);
            break;
        case ParserState::kMobileSquare:
            Decode(DecodeMarsdenSquare, repaired, ParserState::kMobileAltitude);
            break;
        case ParserState::kMobileAltitude:
            Decode(DecodeMobileAltitude, repaired, ParserState::kSection1Start);
            break;
        default:
            break;
    }
}

// Each land report starts with its station number and shows the bulletin's
// observation time again. Ten figures are the station number and iRixhVV run
// together: the second half is handed on as the next group.
void ReportParser::HandleLandStation(std::string_view token) {
    EmitSeparator(kSeparatorReport);
    DecodeTimeAndUnit(FiveFigureDayHour(m_landTime), *this);
    m_state = ParserState::kSection1Start;
    const bool runOn = token.size() == 10 && IsAllFigures(token);
    DecodeLandStation(runOn ? token.substr(0, 5) : token, *this);
    if (runOn) HandOnToken(token.substr(5));
}

void ReportParser::HandleSection1Start(std::string_view group) {
    m_groupOrder = 0;
    m_sectionsAllowed = true;
    Decode(DecodeCloudAndVisibility, group, ParserState::kSection1Wind);
}

// Groups 0 to 9 in rising order; the first figure chooses the decoder.
void ReportParser::HandleSection1Group(std::string_view group) {
    const int n = group[0] - '0';
    if (m_groupOrder != 0 && n < m_groupOrder) {
        ApplyErrorRule(group);
        return;
    }
    const GroupDecoder decoder = Section1Decoder(n);
    if (decoder == nullptr) return;
    if (!TakeOutcome(decoder(group, *this), group)) return;
    if (n == 9) {
        m_groupOrder = 0;
        m_state = ParserState::kSection1Done;
    } else {
        m_groupOrder = n + 1;
    }
}

void ReportParser::Decode(GroupDecoder decoder, std::string_view group, ParserState next) {
    if (TakeOutcome(decoder(group, *this), group)) m_state = next;
}

bool ReportParser::TakeOutcome(Outcome outcome, std::string_view group) {
    if (outcome == Outcome::kMalformed) {
        ApplyErrorRule(group);
        return false;
    }
    if (outcome == Outcome::kFlagged) EmitError(group);
    return true;
}

void ReportParser::HandOnToken(std::string_view token) {
    const bool wasHandingOn = m_handingOn;
    m_handingOn = true;
    ProcessToken(token, kKeywordNone, kSeparatorBlank);
    m_handingOn = wasHandingOn;
}

// The event texts are built in one buffer that keeps its capacity, so a
// decoded line costs no allocation. A line no longer than the last one is
// copied over it with no call: the string only gets shorter.
void ReportParser::EmitLine(std::string_view text, int level, int slevel) {
    if (text.empty()) return;
    if (text.size() <= m_eventText.size()) {
        m_eventText.resize(text.size());
        CopyShort(m_eventText.data(), text.data(), text.size());
    } else {
        m_eventText.clear();
        m_eventText.append(text);
    }
    m_events.Result(m_eventText, level, slevel);
}

void ReportParser::EmitLine(std::initializer_list<std::string_view> parts, int level, int slevel) {
    m_eventText.clear();
    for (const std::string_view part : parts) m_eventText.append(part);
    if (m_eventText.empty()) return;
    m_events.Result(m_eventText, level, slevel);
}

// Every report starts with its report separator, so the observation record
// starts there too.
void ReportParser::EmitSeparator(SeparatorLevel level) {
    m_events.Separator(static_cast<std::int32_t>(level));
    if (level == kSeparatorReport) StartObservation();
}

void ReportParser::StartObservation() {
    FinishObservation();
    ResetObservation(m_observation);
    m_record.Clear();
    m_observationOpen = true;
    // The texts of a report that no sink hears are not built; a sink
    // connected while a report is open hears from the next report on.
    m_observationHeard = !m_observations.Empty();
    m_reportLength = 0;
    if (!m_observationHeard) return;
    static constexpr std::string_view kKinds[] = {"BBXX", "AAXX", "OOXX"};
    const std::string_view kind = kKinds[static_cast<int>(m_decoding.reportKind)];
    m_observation.kind = kind;
    for (std::size_t i = 0; i < 3; ++i) {
        if (m_heading[i].empty()) continue;
        if (!m_observation.heading.empty()) m_observation.heading.push_back(' ');
        m_observation.heading += m_heading[i];
    }
    m_observation.correction = m_decoding.correction;
    // The report text starts with what the report shares with its bulletin:
    // the indicator, and the time group of a land bulletin or the call sign
    // read before this separator.
    kind.copy(m_reportText.data(), kind.size());
    m_reportLength = kind.size();
    const bool land = m_decoding.reportKind == ReportKind::kLand;
    AppendReportText(land ? m_landTime : m_decoding.callSign);
}

// A report longer than any real one (text without its "=") keeps its start.
void ReportParser::AppendReportText(std::string_view token) {
    if (!m_observationHeard || token.empty() || m_reportLength + token.size() >= kMaxReportText)
        return;
    if (m_reportLength > 0) m_reportText[m_reportLength++] = ' ';
    token.copy(m_reportText.data() + m_reportLength, token.size());
    m_reportLength += token.size();
}

void ReportParser::AppendReportEnd() {
    if (m_observationHeard && m_reportLength < m_reportText.size())
        m_reportText[m_reportLength++] = '=';
}

// Every report asks; a UTC day is 86,400 seconds of POSIX time, so the date
// is worked out again only when the day number changes.
CalendarDate ReportParser::ReferenceDate() const {
    if (m_referenceDate) return *m_referenceDate;
    const std::time_t now = std::time(nullptr);
    if (now < 0) return UtcDate(now);
    const std::time_t dayNumber = now / 86400;
    if (dayNumber != m_todayNumber) {
        m_today = UtcDate(now);
        m_todayNumber = dayNumber;
    }
    return m_today;
}

void ReportParser::FinishObservation() {
    if (!m_observationOpen) return;
    m_observationOpen = false;
    if (!m_observationHeard) return;
    m_observation.report.assign(m_reportText.data(), m_reportLength);
    m_observations.Observation(m_observation);
}

void ReportParser::EmitError(std::string_view token) {
    if (m_observationOpen && m_observationHeard) m_observation.errors.emplace_back(token);
    m_eventText.assign(kErrorLabel).append(token).push_back('\n');
    m_events.Error(m_eventText);
}

void ReportParser::ApplyErrorRule(std::string_view token) {
    EmitError(token);
    if (m_options.relax) return;
    m_sectionsAllowed = false;
    m_state = ParserState::kIdle;
}

void ReportParser::FinishRawBulletin() { m_bulletinText.BulletinEnd(); }

}  // namespace nimbo
