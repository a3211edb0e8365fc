// The waterfall's colours run from dark blue (the noise floor) through green
// to yellow and white (40 dB over it). Marks are drawn with a dark outline so
// they show on every colour of the ramp.
#include "tuning_strip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <algorithm>
#include <array>

namespace dovrel {
namespace {

struct RampStop {
    float level;
    QRgb colour;
};
constexpr std::array<RampStop, 5> kRamp = {{
    {0.00f, qRgb(0, 0, 24)},
    {0.25f, qRgb(0, 30, 150)},
    {0.50f, qRgb(0, 170, 90)},
    {0.80f, qRgb(240, 220, 0)},
    {1.00f, qRgb(255, 255, 255)},
}};
constexpr int kScaleHeight = 15;  // the frequency scale under the waterfall
constexpr int kPanelWidth = 320;
constexpr int kMinWaterfallWidth = 200;
const QColor kMarkColour(255, 70, 70);
const QColor kSpaceColour(70, 220, 255);

QRgb RampColour(float level) {
    for (std::size_t i = 1; i < kRamp.size(); ++i) {
        if (level > kRamp[i].level) continue;
        const float t = (level - kRamp[i - 1].level) / (kRamp[i].level - kRamp[i - 1].level);
        auto mix = [t](int a, int b) { return static_cast<int>(a + (b - a) * t); };
        const QRgb a = kRamp[i - 1].colour, b = kRamp[i].colour;
        return qRgb(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)));
    }
    return kRamp.back().colour;
}

double SpanHz() { return modem::kSearchHighHz - modem::kSearchLowHz; }

}  // namespace

// The waterfall with its scale and marks; clicks tune.
class TuningStrip::Waterfall : public QWidget {
  public:
    explicit Waterfall(TuningStrip& strip)
        : QWidget(&strip),
          m_strip(strip),
          m_image(modem::kSpectrumBins, kTuningStripHeight - kScaleHeight, QImage::Format_RGB32) {
        setObjectName("Waterfall");
        setCursor(Qt::CrossCursor);
        setMinimumWidth(kMinWaterfallWidth);
        m_image.fill(kRamp.front().colour);
    }
    void Clear() {
        m_image.fill(kRamp.front().colour);
        update();
    }
    // Scrolls down one row; the newest levels go on top.
    void AddRow(const std::vector<float>& levels) {
        const qsizetype rowBytes = m_image.bytesPerLine();
        for (int row = m_image.height() - 1; row > 0; --row)
            std::copy_n(m_image.constScanLine(row - 1), rowBytes, m_image.scanLine(row));
        auto* top = reinterpret_cast<QRgb*>(m_image.scanLine(0));
        for (int x = 0; x < m_image.width(); ++x)
            top[x] = RampColour(levels[static_cast<std::size_t>(x) * levels.size() /
                                       static_cast<std::size_t>(m_image.width())]);
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const int fallHeight = height() - kScaleHeight;
        p.drawImage(QRect(0, 0, width(), fallHeight), m_image);
        PaintScale(p, fallHeight);
        const modem::TuningState& t = m_strip.m_tuning;
        if (!t.locked) return;
        PaintMark(p, t.markHz, kMarkColour, "M", fallHeight);
        PaintMark(p, t.spaceHz, kSpaceColour, "S", fallHeight);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            emit m_strip.TuneRequested(m_strip.HzAt(event->position().toPoint().x()));
        if (event->button() == Qt::RightButton) emit m_strip.ShiftRequested();
    }

  private:
    // Ticks every 100 Hz, labelled every 500 Hz where the labels have room.
    void PaintScale(QPainter& p, int top) {
        p.fillRect(0, top, width(), kScaleHeight, QColor(32, 32, 32));
        QFont small = font();
        small.setPixelSize(10);
        p.setFont(small);
        int labelsEnd = -1000;
        for (int hz = 300; hz <= 3300; hz += 100) {
            const int x = m_strip.XAt(hz);
            const bool major = hz % 500 == 0;
            p.setPen(QColor(190, 190, 190));
            p.drawLine(x, top, x, top + (major ? 5 : 2));
            if (!major) continue;
            const QString label = hz == 3000 ? QStringLiteral("3000 Hz") : QString::number(hz);
            const int w = p.fontMetrics().horizontalAdvance(label);
            const int left = std::clamp(x - w / 2, 0, width() - w);
            if (left < labelsEnd + 6) continue;
            p.drawText(left, top + kScaleHeight - 2, label);
            labelsEnd = left + w;
        }
    }
    // A line with a dark outline and a lettered tag at the top, in the scale
    // a filled triangle: visible on any colour of the waterfall.
    void PaintMark(QPainter& p, double hz, const QColor& colour, const char* letter, int bottom) {
        const int x = m_strip.XAt(hz);
        p.setPen(QPen(QColor(0, 0, 0, 200), 4));
        p.drawLine(x, 12, x, bottom);
        p.setPen(QPen(colour, 2));
        p.drawLine(x, 12, x, bottom);
        const QRect tag(x - 6, 0, 12, 12);
        p.setPen(Qt::black);
        p.setBrush(colour);
        p.drawRect(tag);
        QFont bold = font();
        bold.setPixelSize(10);
        bold.setBold(true);
        p.setFont(bold);
        p.drawText(tag, Qt::AlignCenter, letter);
        const QPointF arrow[] = {
            {x - 4.0, bottom + 0.0}, {x + 4.0, bottom + 0.0}, {x + 0.0, bottom + 5.0}};
        p.drawPolygon(arrow, 3);
    }

    TuningStrip& m_strip;
    QImage m_image;
};

// The signal-quality bar: red to green with the S/N written on it.
class TuningStrip::SignalMeter : public QWidget {
  public:
    explicit SignalMeter(QWidget* parent) : QWidget(parent) {
        setObjectName("SignalMeter");
        setFixedHeight(16);
        setToolTip("Signal quality: the tones' level over the noise of the band");
    }
    void Show(double fraction, const QString& text) {
        m_fraction = fraction;
        m_text = text;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(40, 40, 40));
        QLinearGradient ramp(0, 0, width(), 0);
        ramp.setColorAt(0.0, QColor(200, 40, 40));
        ramp.setColorAt(0.4, QColor(230, 200, 0));
        ramp.setColorAt(1.0, QColor(40, 200, 60));
        p.fillRect(QRectF(0, 0, width() * m_fraction, height()), ramp);
        // White on a dark shadow reads on every colour of the bar.
        p.setPen(Qt::black);
        p.drawText(rect().translated(1, 1), Qt::AlignCenter, m_text);
        p.setPen(Qt::white);
        p.drawText(rect(), Qt::AlignCenter, m_text);
    }

  private:
    double m_fraction = 0.0;
    QString m_text;
};

TuningStrip::TuningStrip(QWidget* parent) : QWidget(parent) {
    setObjectName("TuningStrip");
    setFixedHeight(kTuningStripHeight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    m_waterfall = new Waterfall(*this);
    layout->addWidget(m_waterfall, 1);
    layout->addWidget(CreatePanel());
    SetShift(450);
    Reset();
}

QWidget* TuningStrip::CreatePanel() {
    auto* panel = new QWidget(this);
    panel->setFixedWidth(kPanelWidth);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 1, 4, 1);
    grid->setVerticalSpacing(1);
    m_lock = new QLabel(panel);
    m_lock->setObjectName("LockLamp");
    m_meter = new SignalMeter(panel);
    m_tones = new QLabel(panel);
    m_tones->setObjectName("ToneReadout");
    m_found = new QLabel(panel);
    m_polarity = new QComboBox(panel);
    m_polarity->setObjectName("Polarity");
    m_polarity->addItems({"Automatic", "Normal", "Reverse"});
    m_polarity->setToolTip("Polarity: found by itself, or mark below space (normal) or above it");
    connect(m_polarity, &QComboBox::activated, this, &TuningStrip::PolarityRequested);
    m_mendShifts = new QCheckBox("Mend shifts", panel);
    m_mendShifts->setObjectName("MendShifts");
    m_mendShifts->setToolTip(
        "Put back a FIGS or LTRS lost in noise where a group reads only as figures or only as "
        "signs (weather traffic)");
    connect(m_mendShifts, &QCheckBox::clicked, this, &TuningStrip::MendShiftsRequested);
    grid->addWidget(m_lock, 0, 0);
    grid->addWidget(m_meter, 0, 1);
    grid->addWidget(m_tones, 1, 0, 1, 2);
    grid->addWidget(m_found, 2, 0);
    grid->addWidget(m_polarity, 2, 1);
    grid->addWidget(m_mendShifts, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return panel;
}

void TuningStrip::Reset() {
    m_waterfall->Clear();
    m_scale.Reset();
    m_tuning = {};
    ShowReadout();
}

void TuningStrip::SetShift(int shiftHz) {
    m_shiftHz = shiftHz;
    m_waterfall->setToolTip(QString("Sound input, shift %1 Hz: click to put the tone pair there, "
                                    "right-click for the next shift")
                                .arg(shiftHz));
    ShowReadout();
}

void TuningStrip::SetPolarity(int choice) {
    const QSignalBlocker quiet(m_polarity);
    m_polarity->setCurrentIndex(std::clamp(choice, 0, 2));
    ShowReadout();
}

void TuningStrip::SetMendShifts(bool on) {
    const QSignalBlocker quiet(m_mendShifts);
    m_mendShifts->setChecked(on);
}

void TuningStrip::AddSpectrum(const std::vector<float>& bins, const modem::TuningState& tuning) {
    m_tuning = tuning;
    if (!bins.empty()) {
        m_scale.Levels(bins, m_levels);
        m_waterfall->AddRow(m_levels);
    }
    ShowReadout();
}

void TuningStrip::ShowReadout() {
    m_readout = ReadoutOf(m_tuning, m_shiftHz, m_polarity->currentIndex());
    m_lock->setText(m_readout.locked ? "<b style='color:#1a9e2a'>&#9679; LOCKED</b>"
                                     : "<span style='color:#888'>&#9675; SEARCHING</span>");
    m_meter->Show(m_readout.meter, QString::fromStdString(m_readout.snr));
    m_tones->setText(QString::fromStdString(m_readout.tones));
    m_found->setText(QString::fromStdString(m_readout.polarity));
    m_waterfall->update();
}

double TuningStrip::HzAt(int x) const {
    const int w = std::max(1, m_waterfall->width());
    return modem::kSearchLowHz + SpanHz() * std::clamp(x, 0, w) / w;
}

int TuningStrip::XAt(double hz) const {
    return static_cast<int>((hz - modem::kSearchLowHz) / SpanHz() * m_waterfall->width() + 0.5);
}

}  // namespace dovrel
