// Window positions and sizes as stored (twips, 1440 per inch) and the
// screen checks applied when they are restored.
#pragma once

#include <cstdint>

namespace dovrel {

constexpr int kTwipsPerInch = 1440;

// Twips to pixels and back at `dpi` logical dots per inch, rounded to the
// nearest; a non-positive dpi counts as 96.
int TwipsToPixels(std::int64_t twips, double dpi);
std::int32_t PixelsToTwips(std::int64_t pixels, double dpi);

struct TwipsRect {
    std::int32_t X = 0, Y = 0, W = 0, H = 0;
};

// Design-time placement of the main window, twips.
constexpr TwipsRect kDesignWindow{10, 600, 9390, 6510};

// Values read from the store; missing ones already carry their defaults.
struct StoredPlacement {
    std::int32_t X = 10, Y = 10, W = 9390, H = 6510;
};

// Where the main window goes: X beyond screen width - 100 becomes 100, Y
// beyond screen height - 100 becomes the design-time top; W and H are taken
// as stored, except that a size of zero or less takes the design size.
TwipsRect PlaceMainWindow(const StoredPlacement& stored, std::int32_t screenWidthTwips,
                          std::int32_t screenHeightTwips);

}  // namespace dovrel
