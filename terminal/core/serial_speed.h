// Line speeds in bits per second through the kernel's termios2 interface,
// which takes any integer speed (45, 100, 135 ...) and not only the
// standard ones. Kept apart because its kernel header clashes with
// <termios.h>.
#pragma once

namespace dovrel {

// Sets input and output speed of the tty `fd` to `baud`. Returns 0, or the
// errno of the failing call.
int SetLineSpeed(int fd, int baud);
// Reads the output speed that the driver holds (the speed it could really
// set, which may differ from the one asked for). Returns 0, or an errno.
int GetLineSpeed(int fd, int& baud);

}  // namespace dovrel
