// The Watterson channel over the analytic signal: each path multiplies the
// signal, delayed by the path's delay, by its own fading gain.
#include "hf_channel.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>

#include "liquid_dsp.h"

namespace modem {
namespace {

using Complex = std::complex<float>;
constexpr double kGainRatePerHz = 32.0;  // fading gain samples per second per Hz of spread
constexpr double kGainTailSigmas = 4.0;  // the Gaussian filter is cut this far out

// The analytic signal of the part of `x` between loHz and hiHz: its real part
// is that part of x.
std::vector<Complex> AnalyticBand(const std::vector<float>& x, double rateHz, double loHz,
                                  double hiHz) {
    std::size_t n = 1;
    while (n < x.size()) n *= 2;
    std::vector<Complex> buf(n), spectrum(n);
    std::copy(x.begin(), x.end(), buf.begin());
    fftplan forward = fft_create_plan(static_cast<unsigned>(n), buf.data(), spectrum.data(),
                                      LIQUID_FFT_FORWARD, 0);
    fftplan backward = fft_create_plan(static_cast<unsigned>(n), spectrum.data(), buf.data(),
                                       LIQUID_FFT_BACKWARD, 0);
    fft_execute(forward);
    for (std::size_t k = 0; k < n; ++k) {
        const double hz = static_cast<double>(k) * rateHz / static_cast<double>(n);
        const bool keep = k > 0 && k < n / 2 && hz >= loHz && hz < hiHz;
        spectrum[k] *= keep ? 2.0f / static_cast<float>(n) : 0.0f;
    }
    fft_execute(backward);
    fft_destroy_plan(forward);
    fft_destroy_plan(backward);
    buf.resize(x.size());
    return buf;
}

// A complex Gaussian process of mean power 1 whose spectrum is a Gaussian
// with sigma = dopplerHz / 2: white noise through a Gaussian filter, taken
// at a low rate and interpolated to the audio rate.
class FadingGain {
  public:
    FadingGain(double seconds, double dopplerHz, std::mt19937& rng)
        : m_rate(kGainRatePerHz * dopplerHz) {
        const double sigmaHz = 0.5 * dopplerHz;
        // |H(f)|^2 = exp(-f^2 / (2 sigma^2)) is h(t) = exp(-4 pi^2 sigma^2 t^2).
        const double tau = 1.0 / (2.0 * std::numbers::pi * sigmaHz * std::numbers::sqrt2);
        const int half = static_cast<int>(std::ceil(kGainTailSigmas * tau * m_rate));
        std::vector<float> h;
        double energy = 0.0;
        for (int k = -half; k <= half; ++k) {
            const double t = k / m_rate;
            h.push_back(static_cast<float>(std::exp(-t * t / (2.0 * tau * tau))));
            energy += static_cast<double>(h.back()) * h.back();
        }
        for (float& v : h) v /= static_cast<float>(std::sqrt(energy));
        std::normal_distribution<float> normal(0.0f, static_cast<float>(std::sqrt(0.5)));
        const auto count = static_cast<std::size_t>(seconds * m_rate) + 2;
        std::vector<Complex> white(count + h.size());
        for (auto& w : white) w = {normal(rng), normal(rng)};
        m_gain.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            for (std::size_t k = 0; k < h.size(); ++k) m_gain[i] += h[k] * white[i + k];
    }
    Complex At(double seconds) const {
        const double pos = seconds * m_rate;
        const auto i = std::min(static_cast<std::size_t>(pos), m_gain.size() - 2);
        const float frac = static_cast<float>(pos - static_cast<double>(i));
        return m_gain[i] + (m_gain[i + 1] - m_gain[i]) * frac;
    }

  private:
    double m_rate;
    std::vector<Complex> m_gain;
};

}  // namespace

void ApplyFading(std::vector<float>& samples, double rateHz, const FadingChannel& channel,
                 unsigned seed) {
    std::mt19937 rng(seed);
    const double seconds = static_cast<double>(samples.size()) / rateHz;
    const std::vector<Complex> a = AnalyticBand(samples, rateHz, 0.0, rateHz);
    const FadingGain first(seconds, channel.dopplerHz, rng);
    const FadingGain second(seconds, channel.dopplerHz, rng);
    const auto delay = static_cast<std::size_t>(std::lround(channel.delayMs * 1e-3 * rateHz));
    const float pathScale = channel.paths > 1 ? static_cast<float>(std::sqrt(0.5)) : 1.0f;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / rateHz;
        Complex y = first.At(t) * a[i];
        if (channel.paths > 1 && i >= delay) y += second.At(t) * a[i - delay];
        samples[i] = pathScale * y.real();
    }
}

void FadeOneSide(std::vector<float>& samples, double rateHz, double splitHz, bool upper,
                 double dopplerHz, unsigned seed) {
    std::mt19937 rng(seed);
    const double seconds = static_cast<double>(samples.size()) / rateHz;
    const std::vector<Complex> faded = upper ? AnalyticBand(samples, rateHz, splitHz, rateHz)
                                             : AnalyticBand(samples, rateHz, 0.0, splitHz);
    const FadingGain gain(seconds, dopplerHz, rng);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] +=
            (gain.At(static_cast<double>(i) / rateHz) * faded[i]).real() - faded[i].real();
}

void AddCarrier(std::vector<float>& samples, double rateHz, double hz, double dbAboveSignal,
                double amplitude) {
    const double a = amplitude * std::pow(10.0, dbAboveSignal / 20.0);
    const double step = 2.0 * std::numbers::pi * hz / rateHz;
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] += static_cast<float>(a * std::sin(step * static_cast<double>(i)));
}

}  // namespace modem
