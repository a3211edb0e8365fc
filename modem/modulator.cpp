// Continuous-phase FSK keying of line codes.
#include "modulator.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace modem {

Modulator::Modulator(double sampleRateHz, const ModSettings& settings)
    : m_rate(sampleRateHz),
      m_settings(settings),
      m_layout(FrameLayout::From(settings.line)),
      m_nco(nco_crcf_create(LIQUID_VCO)) {
    const bool reverse = settings.line.polarity == Polarity::Reverse;
    const double half = 0.5 * settings.line.shiftHz;
    const double mark = settings.centreHz + (reverse ? half : -half);
    const double space = settings.centreHz + (reverse ? -half : half);
    m_markStep = 2.0 * std::numbers::pi * mark / m_rate;
    m_spaceStep = 2.0 * std::numbers::pi * space / m_rate;
}

Modulator::~Modulator() { nco_crcf_destroy(m_nco); }

void Modulator::Bits(double bits, bool mark, std::vector<float>& out) {
    // Samples up to the bit boundary, rounded on the running clock so the
    // bit lengths average out exactly.
    m_clock += bits;
    const auto end =
        static_cast<std::int64_t>(std::llround(m_clock * m_rate / m_settings.line.baud));
    nco_crcf_set_frequency(m_nco, static_cast<float>(mark ? m_markStep : m_spaceStep));
    for (; m_samples < end; ++m_samples) {
        std::complex<float> y;
        nco_crcf_cexpf(m_nco, &y);
        nco_crcf_step(m_nco);
        out.push_back(m_settings.amplitude * y.real());
    }
}

void Modulator::Frame(std::uint8_t code, std::vector<float>& out) {
    Bits(1.0, false, out);
    for (int i = 0; i < m_layout.dataBits; ++i) Bits(1.0, ((code >> i) & 1) != 0, out);
    if (m_layout.hasParity) Bits(1.0, m_layout.ParityBit(code), out);
    Bits(m_layout.stopBits, true, out);
}

void Modulator::Send(std::span<const std::uint8_t> codes, std::vector<float>& out) {
    constexpr std::uint8_t kFigures = 27, kLetters = 31;
    if (!m_started && !codes.empty() && m_layout.dataBits == 5 && m_settings.announceShift &&
        (codes[0] & 0x1F) != kFigures && (codes[0] & 0x1F) != kLetters)
        Frame(kFigures, out);
    m_started = m_started || !codes.empty();
    for (const std::uint8_t code : codes) Frame(code, out);
}

void Modulator::Idle(double bits, std::vector<float>& out) { Bits(bits, true, out); }

}  // namespace modem
