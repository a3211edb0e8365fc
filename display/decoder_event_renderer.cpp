// Colours, weights and status texts of the decoder's events.
#include "decoder_event_renderer.h"

#include <array>

#include "cp1252_text.h"

namespace nimboview {
namespace {

constexpr std::size_t kRuleLength = 81;

const QColor kMessageColour(35, 142, 35);
const QColor kErrorColour(255, 127, 0);
const QColor kCyan(0, 255, 255);
const QColor kSectionColour(112, 219, 147);
const QColor kOtherResultColour(230, 232, 250);

// Result colour by level: header, sender, station, green, group lines.
const std::array<QColor, 5> kResultColours = {
    QColor(255, 255, 255), QColor(255, 0, 0),   QColor(255, 0, 255),
    QColor(0, 255, 0),     QColor(255, 255, 0),
};

}  // namespace

DecoderEventRenderer::DecoderEventRenderer(DecoderView& view, StationList& stations)
    : m_view(view), m_stations(stations) {}

std::string DecoderEventRenderer::MessageLine(std::int32_t start, const std::string& reference) {
    std::string line;
    if (start != 0) {
        std::string field = reference;
        if (field.size() < 4) field.insert(0, 4 - field.size(), ' ');
        line = "#### Start Msg " + field + " ";
    } else {
        line = "#### End   Msg #####";
    }
    if (line.size() <= kRuleLength - 1) line.resize(kRuleLength, '#');
    return line + "\n";
}

std::string DecoderEventRenderer::SeparatorLine(std::int32_t level) {
    char rule = ':';
    if (level == 0) rule = '=';
    if (level == 1) rule = '-';
    if (level == 2) rule = '.';
    return std::string(kRuleLength, rule) + "\n";
}

QColor DecoderEventRenderer::ResultColour(std::int32_t level) {
    if (level < 0 || level >= static_cast<std::int32_t>(kResultColours.size())) {
        return kOtherResultColour;
    }
    return kResultColours[static_cast<std::size_t>(level)];
}

void DecoderEventRenderer::Message(std::int32_t start, const std::string& reference) {
    m_view.Append(Cp1252ToUnicode(MessageLine(start, reference)), kMessageColour, true);
    m_view.SetResyncChecked(false);
    m_view.SetStateText(start != 0 ? QStringLiteral("Search ...") : QStringLiteral("Waiting ..."));
}

void DecoderEventRenderer::Bloc(std::int32_t) {}

void DecoderEventRenderer::Indicator(const std::string& indicator) {
    m_view.SetStateText("Found " + Cp1252ToUnicode(indicator) + " Station");
    m_view.SetResyncChecked(false);
    m_view.ShowIfHidden();
}

void DecoderEventRenderer::Guess(const std::string& indicator) {
    m_view.SetStateText("Guess " + Cp1252ToUnicode(indicator) + " Station");
    m_view.SetResyncChecked(false);
}

void DecoderEventRenderer::Error(const std::string& data) {
    m_view.Append(Cp1252ToUnicode(data), kErrorColour, false);
}

void DecoderEventRenderer::Separator(std::int32_t level) {
    const QColor& colour = level <= 1 && level >= 0 ? kCyan : kSectionColour;
    m_view.Append(Cp1252ToUnicode(SeparatorLine(level)), colour, true);
}

void DecoderEventRenderer::Result(const std::string& data, std::int32_t level,
                                  std::int32_t slevel) {
    m_view.Append(Cp1252ToUnicode(data), ResultColour(level), slevel != 0);
}

void DecoderEventRenderer::Position(float lat, float lng, const std::string& ident,
                                    const std::string& name, const std::string& country) {
    m_stations.AddPosition(lat, lng, ident, name);
    m_view.StationsChanged(Cp1252ToUnicode(MapTitle(name, country)));
}

void DecoderEventRenderer::Temperature(float tmp, std::int32_t) {
    if (m_stations.SetTemperature(tmp)) m_view.StationsChanged({});
}

void DecoderEventRenderer::Pressure(float prs, std::int32_t) {
    if (m_stations.SetPressure(prs)) m_view.StationsChanged({});
}

}  // namespace nimboview
