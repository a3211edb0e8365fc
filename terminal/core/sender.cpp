// Typed sending.
#include "sender.h"

#include <string>

namespace dovrel {

int Sender::SendConvert(int& dat, std::uint8_t dataBits, std::uint8_t& alphabet) {
    // Checked first: encoding while closed would move the transmit shift
    // although nothing reaches the far end, and the next character sent
    // would then lack the shift it needs.
    if (!m_line.IsOpen()) {
        dat = 0;
        return 0;
    }
    // No line code carries a character above one byte; 7 bits would send
    // its low bits as some other character.
    if (dat < 0 || dat > 255) {
        dat = 0;
        if (m_beep) m_beep();
        return 0;
    }
    std::string text;
    switch (dataBits) {
        case 5:
            text = TelexEncode(dat, alphabet, m_state);
            break;
        case 7:
            text.push_back(static_cast<char>(dat & 127));
            break;
        case 8:
            text.push_back(static_cast<char>(dat));
            break;
        default:
            break;
    }
    if (!text.empty()) m_line.Write(text);
    if (dat == 0 && m_beep) m_beep();
    return dat;
}

bool Sender::SendBoxKey(int& key, std::uint8_t dataBits, std::uint8_t& alphabet) {
    key = SendConvert(key, dataBits, alphabet);
    return key == 13;
}

}  // namespace dovrel
