// Twips conversions and the screen checks of the stored window placement.
#include "window_geometry.h"

#include <cmath>

namespace dovrel {
namespace {
double UsableDpi(double dpi) { return dpi > 0 ? dpi : 96.0; }
}  // namespace

int TwipsToPixels(std::int64_t twips, double dpi) {
    return static_cast<int>(
        std::lround(static_cast<double>(twips) * UsableDpi(dpi) / kTwipsPerInch));
}

std::int32_t PixelsToTwips(std::int64_t pixels, double dpi) {
    return static_cast<std::int32_t>(
        std::lround(static_cast<double>(pixels) * kTwipsPerInch / UsableDpi(dpi)));
}

TwipsRect PlaceMainWindow(const StoredPlacement& stored, std::int32_t screenWidthTwips,
                          std::int32_t screenHeightTwips) {
    TwipsRect r{stored.X, stored.Y, stored.W, stored.H};
    if (static_cast<std::int64_t>(r.X) > static_cast<std::int64_t>(screenWidthTwips) - 100)
        r.X = 100;
    if (static_cast<std::int64_t>(r.Y) > static_cast<std::int64_t>(screenHeightTwips) - 100)
        r.Y = kDesignWindow.Y;
    // A size of zero or less would make the window vanish: take the design size.
    if (r.W <= 0) r.W = kDesignWindow.W;
    if (r.H <= 0) r.H = kDesignWindow.H;
    return r;
}

}  // namespace dovrel
