// Character framing shared by framer and modulator.
#include "frame_layout.h"

#include <bit>

namespace modem {

FrameLayout FrameLayout::From(const DemodSettings& settings) {
    FrameLayout f;
    f.dataBits = settings.dataBits == 7 || settings.dataBits == 8 ? settings.dataBits : 5;
    f.parity = f.dataBits == 5 ? Parity::None : settings.parity;
    f.hasParity = f.parity != Parity::None;
    f.stopBits = settings.stopBits >= 1.0 && settings.stopBits <= 2.0 ? settings.stopBits : 1.5;
    return f;
}

bool FrameLayout::ParityBit(std::uint32_t code) const {
    const bool odd = std::popcount(code & ((1u << dataBits) - 1)) % 2 != 0;
    switch (parity) {
        case Parity::Even:
            return odd;
        case Parity::Odd:
            return !odd;
        case Parity::Mark:
            return true;
        case Parity::Space:
        case Parity::None:
            return false;
    }
    return false;
}

}  // namespace modem
