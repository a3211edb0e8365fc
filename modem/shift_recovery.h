// Mends lost letters/figures shifts in received 5-bit ITA2 codes. One lost
// FIGS turns every figure behind it into a letter up to the sender's next
// shift (a line, or a whole bulletin), one lost LTRS letters into signs.
// A group between spaces and line ends that reads only in the other shift
// (and, for figures, where figures are the traffic's usual shift) is given
// the shift code that says so. The shift is followed as a teleprinter
// without unshift-on-space follows it; a shift code put in is one the
// receiving teleprinter would be in anyway, whatever its own setting.
#pragma once

#include <cstdint>
#include <vector>

namespace modem {

// One received code with the framer's soft decision.
struct SoftCode {
    std::uint8_t code = 0;
    std::uint8_t alternative = 0;  // `code` with its least sure bit turned over
    float margin = 1.0f;           // how sure that bit was (0: a coin toss, about 1: sure)
};

class ShiftRecovery {
  public:
    // Takes the next received code; appends to `out` the codes that are
    // decided: received codes as they came, and where a group reads only in
    // the other shift, that shift code before it (in place of a doubtful
    // shift code or of a first character that was probably the shift).
    // Codes are held while their group could still be read either way.
    void Push(const SoftCode& received, std::vector<std::uint8_t>& out);
    // Ends the group held and passes it on (the sender paused, a frame was
    // lost, the signal ended).
    void Flush(std::vector<std::uint8_t>& out);

  private:
    struct Group {
        bool lead = false;     // it begins with a shift code
        bool figures = false;  // the shift it came in
        int chars = 0, digits = 0;
        int others = 0;    // characters that are neither digits nor '/' '=' in figures
        int signs = 0;     // ... nor '-' '.'
        int testLine = 0;  // the letters R and Y
    };
    Group Held() const;
    bool Open() const;
    bool Doubtful(std::uint8_t target) const;
    bool Switch(const Group& g) const;
    // Passes on the held group, in the other shift when Switch() says so.
    void Decide(std::vector<std::uint8_t>& out);
    std::uint8_t Mended(const SoftCode& c) const;
    void Emit(std::uint8_t code, std::vector<std::uint8_t>& out);

    std::vector<SoftCode> m_group;  // held: an optional shift code, then characters
    bool m_figures = false;         // the shift the stream puts out is in
    bool m_passing = false;         // the group is decided: codes go straight out
    bool m_readFigures = false;     // ... in figures
    float m_figureShare = 0.0f;     // recent groups read as figures (a running share)
};

}  // namespace modem
