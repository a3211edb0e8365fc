// Measuring a receiver: white noise at a given signal-to-noise ratio for a
// modulator's signal, and the character errors of what came back.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace modem {

// Adds white Gaussian noise to `samples` (taken at rateHz) so that a sine of
// peak `amplitude` stands snrDb above the noise in a 3 kHz bandwidth. The same
// seed gives the same noise.
void AddWhiteNoise(std::vector<float>& samples, double rateHz, double snrDb, unsigned seed,
                   double amplitude = 0.5);

// Characters lost, added or changed between what was sent and what was
// received (the edit distance).
std::size_t CharacterErrors(std::string_view sent, std::string_view received);

}  // namespace modem
