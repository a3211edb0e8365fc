// Line characters to printable text.
#include "line_text_decoder.h"

namespace dovrel {

LineTextDecoder::LineTextDecoder(const TelexOptions& options, std::function<void()> beep)
    : m_options(options), m_beep(std::move(beep)) {}

void LineTextDecoder::Feed(std::span<const std::uint8_t> bytes, std::string& out) {
    for (const std::uint8_t byte : bytes) {
        std::string ch = DecodeLineByte(byte, m_options, m_state);
        const std::string shown =
            DisplayFilter(ch, m_options.rawCrLf, m_options.bellBeeps, m_state, m_beep);
        // As in the terminal pane: CR ends a line, LF shows nothing.
        for (char c : shown) {
            if (c == '\r')
                out += '\n';
            else if (c != '\n')
                out += c;
        }
    }
}

void LineTextDecoder::Finish(std::string& out) const {
    if (!m_options.rawCrLf && m_state.CrLfState == 3) out += '\n';
}

}  // namespace dovrel
