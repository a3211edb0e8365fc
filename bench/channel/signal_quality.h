// Measuring a receiver: white noise at a given signal-to-noise ratio for a
// modulator's signal, and the character errors of what came back, counted on
// the text a reader sees.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace modem {

// Adds white Gaussian noise to `samples` (taken at rateHz) so that a sine of
// peak `amplitude` stands snrDb above the noise in a 3 kHz bandwidth. The same
// seed gives the same noise.
void AddWhiteNoise(std::vector<float>& samples, double rateHz, double snrDb, unsigned seed,
                   double amplitude = 0.5);

// Characters lost, added or changed between what was sent and what was
// received (the edit distance). With `joinedLate` the received text may
// begin anywhere in the sent one (a receiver tuned in mid-text): the sent
// text before that costs nothing.
std::size_t CharacterErrors(std::string_view sent, std::string_view received,
                            bool joinedLate = false);

// The text a reader sees for line codes: 5-bit codes through the Telex
// decoding (shifts) and the CR/LF clean-up, 7/8-bit codes as ASCII.
std::string ReaderText(std::string_view codes, int dataBits = 5);

}  // namespace modem
