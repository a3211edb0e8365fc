// The waterfall: levels are coloured from dark blue (quiet) through
// green to yellow and white (strong), relative to the newest row's range so
// the picture needs no gain setting.
#include "tuning_strip.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <array>

namespace dovrel {
namespace {

// Colour ramp: level from 0 (row minimum) to 1 (row maximum).
struct RampStop {
    float level;
    QRgb colour;
};
constexpr std::array<RampStop, 5> kRamp = {{
    {0.00f, qRgb(0, 0, 32)},
    {0.35f, qRgb(0, 40, 160)},
    {0.60f, qRgb(0, 170, 90)},
    {0.85f, qRgb(240, 220, 0)},
    {1.00f, qRgb(255, 255, 255)},
}};
// Levels more than this far below the row's peak all show as the quietest.
constexpr float kRangeDb = 40.0f;

QRgb RampColour(float level) {
    level = std::clamp(level, 0.0f, 1.0f);
    for (std::size_t i = 1; i < kRamp.size(); ++i) {
        if (level > kRamp[i].level) continue;
        const float t = (level - kRamp[i - 1].level) / (kRamp[i].level - kRamp[i - 1].level);
        auto mix = [t](int a, int b) { return static_cast<int>(a + (b - a) * t); };
        const QRgb a = kRamp[i - 1].colour, b = kRamp[i].colour;
        return qRgb(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)));
    }
    return kRamp.back().colour;
}

}  // namespace

TuningStrip::TuningStrip(QWidget* parent)
    : QWidget(parent), m_waterfall(modem::kSpectrumBins, kTuningStripHeight, QImage::Format_RGB32) {
    setObjectName("TuningStrip");
    SetShift(450);
    setFixedHeight(kTuningStripHeight);
    setCursor(Qt::CrossCursor);
    Reset();
}

QSize TuningStrip::sizeHint() const { return {modem::kSpectrumBins * 2, kTuningStripHeight}; }

void TuningStrip::Reset() {
    m_waterfall.fill(kRamp.front().colour);
    m_tuning = {};
    update();
}

void TuningStrip::SetShift(int shiftHz) {
    setToolTip(QString("Sound input, shift %1 Hz: click to put the tone pair there, right-click "
                       "for the next shift")
                   .arg(shiftHz));
}

void TuningStrip::AddSpectrum(const std::vector<float>& bins, const modem::TuningState& tuning) {
    m_tuning = tuning;
    if (bins.empty()) return;
    // Scroll down one row; the newest spectrum goes on top.
    const qsizetype rowBytes = m_waterfall.bytesPerLine();
    for (int row = m_waterfall.height() - 1; row > 0; --row)
        std::copy_n(m_waterfall.constScanLine(row - 1), rowBytes, m_waterfall.scanLine(row));
    const float peak = *std::max_element(bins.begin(), bins.end());
    auto* top = reinterpret_cast<QRgb*>(m_waterfall.scanLine(0));
    for (int x = 0; x < m_waterfall.width(); ++x) {
        const std::size_t bin =
            std::min(bins.size() - 1, static_cast<std::size_t>(x) * bins.size() /
                                          static_cast<std::size_t>(m_waterfall.width()));
        top[x] = RampColour(1.0f - (peak - bins[bin]) / kRangeDb);
    }
    update();
}

double TuningStrip::HzAt(int x) const {
    const double span = modem::kSearchHighHz - modem::kSearchLowHz;
    return modem::kSearchLowHz + span * std::clamp(x, 0, width()) / std::max(1, width());
}

int TuningStrip::XAt(double hz) const {
    const double span = modem::kSearchHighHz - modem::kSearchLowHz;
    return static_cast<int>((hz - modem::kSearchLowHz) / span * width() + 0.5);
}

void TuningStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(rect(), m_waterfall);
    // A tick every 500 Hz from 500 to 3000.
    painter.setPen(QColor(255, 255, 255, 90));
    for (int hz = 500; hz <= 3000; hz += 500)
        painter.drawLine(XAt(hz), height() - 5, XAt(hz), height());
    if (!m_tuning.locked) return;
    // Mark in red, space in cyan, as full-height lines over the waterfall.
    painter.setPen(QPen(QColor(255, 60, 60), 2));
    painter.drawLine(XAt(m_tuning.markHz), 0, XAt(m_tuning.markHz), height());
    painter.setPen(QPen(QColor(60, 220, 255), 2));
    painter.drawLine(XAt(m_tuning.spaceHz), 0, XAt(m_tuning.spaceHz), height());
}

void TuningStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit TuneRequested(HzAt(event->position().toPoint().x()));
    if (event->button() == Qt::RightButton) emit ShiftRequested();
    QWidget::mousePressEvent(event);
}

}  // namespace dovrel
