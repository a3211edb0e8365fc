// The report parser in sections 2 to 5: which decoder a group goes to, the
// order rules, and the states that end a section. Section 3's group-order
// counter keeps its groups in rising order of their first figure; 5-, 8- and
// 9-groups may repeat, and "80000" opens the regional data, which run to the
// end of the section as they are written.
#include "later_sections.h"

#include "report_parser.h"
#include "section3_decoders.h"

namespace nimbo {
namespace {

constexpr int kRegionalData = 10;
constexpr int kLastFollowUpState = 6;  // higher states mark a run of radiation groups

}  // namespace

void ReportParser::RouteLaterSection(const Group& group) {
    switch (m_state) {
        case ParserState::kSection2:
            RouteSection2(group);
            break;
        case ParserState::kSection2Icing:
            DecodeIcingText(group.text, *this);
            m_state = ParserState::kSection2;
            break;
        case ParserState::kSection2Ice:
            RouteSection2Ice(group);
            break;
        case ParserState::kSection3:
            RouteSection3(group);
            break;
        case ParserState::kSection4:
            TakeOutcome(DecodeSection4Group(group.repaired, *this), group.repaired);
            break;
        case ParserState::kSection5:
            DecodeSection5Group(group.repaired, *this);
            break;
        default:  // the "done" states: nothing may follow in the section
            ApplyErrorRule(group.text);
            break;
    }
}

void ReportParser::RouteSection2(const Group& group) {
    if (group.text == "ICING" || group.text == "ICE") {
        ++m_groupOrder;
        m_state = group.text == "ICING" ? ParserState::kSection2Icing : ParserState::kSection2Ice;
        return;
    }
    const std::string_view repaired = group.repaired;
    const int n = repaired[0] - '0';
    if (n < m_groupOrder && m_groupOrder != 0) {
        ApplyErrorRule(repaired);
        return;
    }
    const GroupDecoder decoder = Section2Decoder(n);
    if (decoder == nullptr) return;  // a 9-group or no figure: neither taken nor refused
    if (TakeOutcome(decoder(repaired, *this), repaired)) m_groupOrder = n == 8 ? 0 : n + 1;
}

void ReportParser::RouteSection2Ice(const Group& group) {
    const std::string_view repaired = group.repaired;
    if (IsAllFigures(repaired) || repaired.size() == 5) {
        TakeOutcome(DecodeIceGroup(repaired, *this), repaired);
    } else {
        DecodeIceText(group.text, *this);
    }
    // A strict error has already left the report; otherwise the ice group ends
    // section 2.
    if (m_state == ParserState::kSection2Ice) m_state = ParserState::kSection2Done;
}

void ReportParser::RouteSection3(const Group& group) {
    const std::string_view repaired = group.repaired;
    if (m_groupOrder == kRegionalData) {
        TakeOutcome(DecodeLocalInformation(repaired, *this), repaired);
        return;
    }
    // "80000" opens the regional groups wherever it stands in the section.
    if (group.text == "80000") {
        m_groupOrder = kRegionalData;
        return;
    }
    if (ContinuesRadiationSeries(repaired, m_decoding)) {
        TakeOutcome(DecodeRadiationSeries(repaired, *this), repaired);
        return;
    }
    if (m_decoding.radiationState > kLastFollowUpState) m_decoding.radiationState = 0;
    int n = repaired[0] - '0';
    // A pending radiation follow-up claims every group that could be one.
    if (m_decoding.radiationState != 0) {
        if (n <= 5) {
            n = 5;
        } else {
            m_decoding.radiationState = 0;
        }
    }
    if (n < m_groupOrder && m_groupOrder != 0) {
        ApplyErrorRule(repaired);
        return;
    }
    const GroupDecoder decoder = Section3Decoder(n);
    if (decoder == nullptr) return;  // no figure: neither taken nor refused
    if (!TakeOutcome(decoder(repaired, *this), repaired)) return;
    const bool mayRepeat = n == 5 || n == 8 || n == 9;
    m_groupOrder = mayRepeat ? n : n + 1;
}

}  // namespace nimbo
