// The serial line device: opens the device that the line settings name,
// applies speed, data bits, parity, stop bits and the RTS/DTR levels through
// termios, and moves bytes both ways without ever blocking the caller.
#pragma once

#include <string>
#include <string_view>

#include "line_device.h"
#include "modem_lines.h"
#include "serial_parity_marks.h"
#include "terminal_settings.h"

namespace dovrel {

// The device a line names: `PortName` when it is not empty, otherwise
// Port n as the n-th conventional serial device "/dev/ttyS<n-1>" (Port 1 is
// /dev/ttyS0). Empty when neither names a device (Port 0 or negative).
std::string LineDevicePath(const LineSettings& line);
// Port number of a conventional device path ("/dev/ttyS2" gives 3); 0 for
// any other path.
int PortNumberOfDevice(const std::string& path);

// The UUCP-style lock file name of a device below /dev ("/dev/ttyUSB0"
// gives "LCK..ttyUSB0", "/dev/pts/3" gives "LCK..pts_3"); empty for any
// other path. Takes the device with its links resolved.
std::string LockFileNameOf(const std::string& device);

// Where lock files go: the first writable of /run/lock and /var/lock, or
// empty when neither is writable (no lock files are then written).
std::string DefaultLockDirectory();

// One open serial device. Not copyable; closes the device when destroyed.
//
// The file descriptor is non-blocking, so the program watches it for
// readability (and, while output is pending, writability) in its event loop
// and calls ReadAvailable() / FlushOutput(). Any device error or a vanished
// device (hang-up, USB adapter unplugged, pseudo-terminal master closed)
// closes the line at once and keeps the system's error text in LastError().
class SerialLine : public LineDevice {
  public:
    SerialLine() = default;
    // `modem` sets the RTS and DTR lines; it must outlive the line.
    explicit SerialLine(std::string lockDirectory, ModemLines& modem = DeviceModemLines())
        : m_lockDir(std::move(lockDirectory)), m_modem(modem) {}
    ~SerialLine() override;
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    // Opens the device LineDevicePath(line) and applies the settings. When
    // another device is open it is closed first; when the same device is
    // open it is kept and only the settings are applied again. Returns the
    // empty text on success; otherwise the reason (the system's error text,
    // prefixed with the device path) and the line is closed. The device is
    // opened exclusively: TIOCEXCL, an flock on the descriptor (which also
    // stops root) and, for devices under /dev, a UUCP-style lock file named
    // after the device with its links resolved (LockFileNameOf) while it is
    // open. A second opener, or a lock file of another live process, makes
    // the open fail with "in use by another program". RTS and DTR are set
    // as the settings say; a device without modem lines (a pseudo-terminal)
    // is usable as long as neither is asked for.
    std::string Open(const LineSettings& line) override;
    // Applies the settings to the open device, RTS and DTR included (raised
    // when asked for, lowered otherwise): "" on success, else the reason; a
    // refused setting is a failure, never ignored, and closes the line.
    std::string Apply(const LineSettings& line);
    // Lowers RTS and DTR and closes the device (dropping pending output and
    // the locks). Safe to call when closed; clears LastError().
    void Close() override;

    bool IsOpen() const override { return m_fd >= 0; }
    // The descriptor to watch; -1 while closed. Owned by this object.
    int Fd() const { return m_fd; }
    // Path of the open device (as it was named); empty while closed.
    const std::string& DevicePath() const { return m_path; }

    // Returns every byte waiting on the device, up to 64 KiB per call (the
    // rest stays readable), never blocking. With parity checking on, a byte
    // received with a parity error comes back as "~". An error or hang-up
    // closes the line; the bytes read before it are still returned.
    std::string ReadAvailable() override;
    // Queues `bytes` for sending and writes as much as the device takes now.
    // False (and the line closed) on a device error or when closed.
    bool Write(std::string_view bytes) override;
    // Writes queued output that the device would not take earlier; call
    // when the descriptor becomes writable. False on a device error.
    bool FlushOutput();
    // True while queued output waits for the device.
    bool HasPendingOutput() const { return !m_out.empty(); }

    // The reason the line was last closed by an error or an open failed;
    // empty otherwise.
    const std::string& LastError() const override { return m_error; }
    std::string OpenName() const override { return m_path; }

  private:
    std::string Fail(const std::string& what, int err);
    bool TakeLock(const std::string& device);
    void DropLock();

    int m_fd = -1;
    std::string m_path;
    std::string m_out;
    std::string m_error;
    std::string m_lockDir = DefaultLockDirectory();
    std::string m_lockFile;
    ModemLines& m_modem = DeviceModemLines();
    ParityMarkDecoder m_marks;
};

}  // namespace dovrel
