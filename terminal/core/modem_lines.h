// The RTS and DTR modem lines of a serial device. Many interfaces key a
// transmitter or draw their supply from them, so the line sets both at every
// open and apply and lowers both when it closes. Kept behind an interface:
// a pseudo-terminal has no modem lines, and tests record the calls made.
#pragma once

namespace dovrel {

class ModemLines {
  public:
    virtual ~ModemLines() = default;
    // Raises the lines asked for and lowers the others on the tty `fd`.
    // Returns 0, or the errno of the call that failed (ENOTTY on a device
    // without modem lines).
    virtual int Set(int fd, bool rts, bool dtr) = 0;
};

// The device's own lines through TIOCMBIS / TIOCMBIC.
class TtyModemLines : public ModemLines {
  public:
    int Set(int fd, bool rts, bool dtr) override;
};

// The instance serial lines use unless given another.
ModemLines& DeviceModemLines();

}  // namespace dovrel
