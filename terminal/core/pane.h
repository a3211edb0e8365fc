// The terminal pane seam: a text pane that appends styled text at its end.
// The window implements it over its rich-text widget; tests and benchmarks
// use a recording pane (tests/support).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dovrel {

// Colours are 24-bit values with red in the low byte (0xBBGGRR).
inline constexpr std::uint32_t kColourYellow = 0x00FFFF;   // received text
inline constexpr std::uint32_t kColourRed = 0x0000FF;      // line timestamps
inline constexpr std::uint32_t kColourGreen = 0x00FF00;    // NEW MSG / END MSG lines
inline constexpr std::uint32_t kColourMagenta = 0xFF00FF;  // START / STOP lines
inline constexpr std::uint32_t kColourBlue = 0xFF0000;
inline constexpr std::uint32_t kColourCyan = 0xFFFF00;  // user keywords

// How a piece of text is shown: its colour and the emphasis (bold) switch.
struct TextStyle {
    std::uint32_t colour = kColourYellow;
    bool emphasis = false;
    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

inline constexpr TextStyle kReceivedStyle{kColourYellow, false};

class Pane {
  public:
    virtual ~Pane() = default;
    // Inserts `text` at the end of the pane in `style`. The text is 8-bit
    // display text; "\n" is the pane's line break.
    virtual void Append(std::string_view text, TextStyle style) = 0;
    // Number of characters the pane holds (a line break counts one).
    virtual std::size_t Length() const = 0;
    // Removes everything from the pane.
    virtual void Clear() = 0;
};

}  // namespace dovrel
