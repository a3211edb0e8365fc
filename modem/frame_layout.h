// The bit layout of one asynchronous character on the line: start bit, data
// bits (least significant first), an optional parity bit and the stop bits.
// Shared by the demodulator's framer and the modulator so both agree.
#pragma once

#include <cstdint>

#include "demodulator.h"

namespace modem {

struct FrameLayout {
    int dataBits = 5;
    bool hasParity = false;
    Parity parity = Parity::None;
    double stopBits = 1.5;

    // Takes the framing part of the settings: parity only with 7 or 8 data
    // bits; data bits other than 5, 7 and 8 are taken as 5, stop bits below 1
    // or above 2 as 1.5.
    static FrameLayout From(const DemodSettings& settings);

    // Bits from the start bit up to (not including) the first stop bit.
    int BitsBeforeStop() const { return 1 + dataBits + (hasParity ? 1 : 0); }
    double FrameBits() const { return BitsBeforeStop() + stopBits; }
    // The parity bit that goes with `code` (its low dataBits bits).
    bool ParityBit(std::uint32_t code) const;
};

}  // namespace modem
