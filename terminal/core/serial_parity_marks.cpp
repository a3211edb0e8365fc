// Reading of the tty driver's parity-error marks.
#include "serial_parity_marks.h"

namespace dovrel {

void ParityMarkDecoder::Decode(std::string_view marked, std::string& out) {
    for (char c : marked) {
        const auto byte = static_cast<unsigned char>(c);
        switch (m_state) {
            case State::Plain:
                if (byte == 0xFF)
                    m_state = State::AfterFF;
                else
                    out.push_back(c);
                break;
            case State::AfterFF:
                if (byte == 0xFF) {
                    out.push_back(c);
                    m_state = State::Plain;
                } else if (byte == 0) {
                    m_state = State::AfterFF0;
                } else {
                    // Not a mark the driver writes; keep both bytes.
                    out.push_back('\xFF');
                    out.push_back(c);
                    m_state = State::Plain;
                }
                break;
            case State::AfterFF0:
                out.push_back('~');
                m_state = State::Plain;
                break;
        }
    }
}

}  // namespace dovrel
