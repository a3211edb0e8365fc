// The carrier cancellers alone: a notch takes a steady sine out and lets a
// tone beside it pass; a canceller on a tone learns the carrier while the
// other tone is keyed and leaves the tone under it.
#include "carrier_notch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "audio_notch.h"

namespace {

constexpr double kRate = 8000.0;

// Power of what the notch lets through of a sine at hz, over that of the sine, in dB.
double NotchGainDb(double notchHz, double hz) {
    modem::AudioNotch notch(kRate);
    const std::vector<double> carriers{notchHz};
    notch.Set(carriers);
    double in = 0.0, out = 0.0;
    for (int i = 0; i < 4 * static_cast<int>(kRate); ++i) {
        const auto x = static_cast<float>(std::sin(2.0 * std::numbers::pi * hz * i / kRate));
        const float y = notch.Step(x);
        if (i < 2 * static_cast<int>(kRate)) continue;  // settled
        in += x * x;
        out += y * y;
    }
    return 10.0 * std::log10(out / in);
}

TEST(CarrierNotch, AudioNotchTakesOutTheCarrierAndPassesATone) {
    EXPECT_LT(NotchGainDb(1275.0, 1275.0), -60.0);
    EXPECT_GT(NotchGainDb(1275.0, 1325.0), -1.0);  // a baud away
}

// Baseband: a carrier on the lower tone (offset -225 Hz) and that tone keyed
// on and off every bit. Told (half a bit late, as the tone filters tell)
// that the higher tone is keyed whenever the lower one is off, the canceller
// learns the carrier alone: once settled, what is left while the lower tone
// is on is that tone.
TEST(CarrierNotch, LearnsACarrierOnAToneOnlyWhileTheOtherIsKeyed) {
    const double rate = 1333.0, bit = rate / 50.0, offset = -225.0;
    modem::CarrierNotch notch(rate, bit);
    const std::vector<modem::CarrierNotch::Carrier> carriers{
        {offset, modem::CarrierNotch::Learn::WhileHighKeyed}};
    notch.Set(carriers);
    double error = 0.0, tone = 0.0;
    for (int i = 0; i < 4 * static_cast<int>(rate); ++i) {
        const std::complex<float> turn =
            std::polar(1.0f, static_cast<float>(2.0 * std::numbers::pi * offset * i / rate));
        const auto onAt = [&](double n) { return n >= 0.0 && static_cast<int>(n / bit) % 2 == 0; };
        const bool on = onAt(i), told = onAt(i - 0.5 * bit);
        const std::complex<float> keyed = on ? turn * std::complex<float>(0.0f, 1.0f) : 0.0f;
        const std::complex<float> z = notch.Step(3.0f * turn + keyed, told, !told);
        if (i < 2 * static_cast<int>(rate) || !on) continue;
        error += std::norm(z - keyed);
        tone += std::norm(keyed);
    }
    EXPECT_LT(error, 0.01 * tone);
}

}  // namespace
