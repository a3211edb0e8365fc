// The tuning strip under the tool bar: a waterfall of the sound input's
// spectrum over the demodulator's search range (newest row on top), the two
// tones it follows marked, and a click to put the tone pair elsewhere.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "demodulator.h"

namespace dovrel {

// Strip height in pixels and how many spectra the waterfall keeps.
inline constexpr int kTuningStripHeight = 40;

class TuningStrip : public QWidget {
    Q_OBJECT
  public:
    explicit TuningStrip(QWidget* parent = nullptr);

    // Adds one spectrum (levels in dB, lowest frequency first, spread over
    // modem::kSearchLowHz..kSearchHighHz) as the newest row and marks the
    // tones when the demodulator is locked.
    void AddSpectrum(const std::vector<float>& bins, const modem::TuningState& tuning);
    // Empties the waterfall and the marks (a new line).
    void Reset();
    // The shift in use, shown in the tool tip.
    void SetShift(int shiftHz);

    // The frequency under a horizontal position, and back.
    double HzAt(int x) const;
    int XAt(double hz) const;
    const modem::TuningState& Tuning() const { return m_tuning; }

  signals:
    // A left click: the tone pair's centre is wanted at `centreHz`.
    void TuneRequested(double centreHz);
    // A right click: the next shift is wanted.
    void ShiftRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    QSize sizeHint() const override;

  private:
    QImage m_waterfall;
    modem::TuningState m_tuning;
};

}  // namespace dovrel
