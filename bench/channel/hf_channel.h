// A short-wave channel for measuring receivers: the Watterson model (one or
// two paths, each faded by its own complex Gaussian process with a Gaussian
// Doppler spectrum), selective fading of one tone only, and a steady carrier.
// Used by the modem benchmark and the modem tests; not part of the product.
#pragma once

#include <vector>

namespace modem {

struct FadingChannel {
    const char* name;
    int paths;         // 1: flat fading; 2: two paths of equal mean power
    double delayMs;    // delay of the second path
    double dopplerHz;  // Doppler spread of each path, twice the spectrum's sigma
};

// The usual test channels (CCIR 520 / ITU-R F.1487) and a flat one.
inline constexpr FadingChannel kFlatRayleigh{"flat Rayleigh", 1, 0.0, 1.0};
inline constexpr FadingChannel kCcirGood{"CCIR good", 2, 0.5, 0.1};
inline constexpr FadingChannel kCcirModerate{"CCIR moderate", 2, 1.0, 0.5};
inline constexpr FadingChannel kCcirPoor{"CCIR poor", 2, 2.0, 1.0};

// Passes the real signal `samples` (taken at rateHz) through `channel`; the
// mean power of the signal is kept. The same seed gives the same fading.
void ApplyFading(std::vector<float>& samples, double rateHz, const FadingChannel& channel,
                 unsigned seed);

// Fades only the part of the signal above splitHz (upper = true) or below it
// by one Rayleigh process of the given Doppler spread: selective fading that
// takes one tone of a pair down while the other stays.
void FadeOneSide(std::vector<float>& samples, double rateHz, double splitHz, bool upper,
                 double dopplerHz, unsigned seed);

// Adds a steady sine at hz whose power stands dbAboveSignal over that of a
// sine of peak `amplitude` (the modulator's signal).
void AddCarrier(std::vector<float>& samples, double rateHz, double hz, double dbAboveSignal,
                double amplitude = 0.5);

}  // namespace modem
