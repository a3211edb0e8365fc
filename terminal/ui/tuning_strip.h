// The tuning strip under the tool bar while the line is a sound input: a
// waterfall of the spectrum over the demodulator's search range (newest row
// on top) on a fixed dB scale over the band's noise floor, a frequency scale
// in Hz, the mark and space tones marked; beside it the lock lamp, the
// signal-quality meter, the readout of mark, space, shift and polarity, and
// the polarity choice. A click in the waterfall puts the tone pair there.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "demodulator.h"
#include "tuning_display.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace dovrel {

// Strip height in pixels; the waterfall keeps as many rows as it is high.
inline constexpr int kTuningStripHeight = 66;

class TuningStrip : public QWidget {
    Q_OBJECT
  public:
    explicit TuningStrip(QWidget* parent = nullptr);

    // Adds one spectrum (levels in dB, lowest frequency first, spread over
    // modem::kSearchLowHz..kSearchHighHz) as the newest row, and shows what
    // the demodulator follows.
    void AddSpectrum(const std::vector<float>& bins, const modem::TuningState& tuning);
    // Empties the waterfall and the marks (a new line).
    void Reset();
    // The shift in use (readout and tool tip) and the polarity chosen (0
    // automatic, 1 normal, 2 reverse), as the line settings hold them.
    void SetShift(int shiftHz);
    void SetPolarity(int choice);
    void SetMendShifts(bool on);

    // The frequency under a horizontal position of the waterfall, and back.
    double HzAt(int x) const;
    int XAt(double hz) const;
    const modem::TuningState& Tuning() const { return m_tuning; }
    const TuningReadout& Readout() const { return m_readout; }

  signals:
    // A left click: the tone pair's centre is wanted at `centreHz`.
    void TuneRequested(double centreHz);
    // A right click: the next shift is wanted.
    void ShiftRequested();
    // The polarity box: 0 automatic, 1 normal, 2 reverse.
    void PolarityRequested(int choice);
    // The "Mend shifts" box.
    void MendShiftsRequested(bool on);

  private:
    class Waterfall;
    class SignalMeter;
    QWidget* CreatePanel();
    void ShowReadout();

    Waterfall* m_waterfall = nullptr;
    SignalMeter* m_meter = nullptr;
    QLabel* m_lock = nullptr;
    QLabel* m_tones = nullptr;
    QLabel* m_found = nullptr;
    QComboBox* m_polarity = nullptr;
    QCheckBox* m_mendShifts = nullptr;
    WaterfallScale m_scale;
    std::vector<float> m_levels;
    modem::TuningState m_tuning;
    TuningReadout m_readout;
    int m_shiftHz = 450;
};

}  // namespace dovrel
