// Modem lines through the tty ioctls.
#include "modem_lines.h"

#include <sys/ioctl.h>

#include <cerrno>

namespace dovrel {

int TtyModemLines::Set(int fd, bool rts, bool dtr) {
    int high = (rts ? TIOCM_RTS : 0) | (dtr ? TIOCM_DTR : 0);
    int low = (rts ? 0 : TIOCM_RTS) | (dtr ? 0 : TIOCM_DTR);
    if (high != 0 && ioctl(fd, TIOCMBIS, &high) != 0) return errno;
    if (low != 0 && ioctl(fd, TIOCMBIC, &low) != 0) return errno;
    return 0;
}

ModemLines& DeviceModemLines() {
    static TtyModemLines lines;
    return lines;
}

}  // namespace dovrel
