// The serial line device over termios.
#include "serial_line.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "serial_speed.h"

namespace dovrel {
namespace {

constexpr std::size_t kReadChunk = 4096;
constexpr std::size_t kReadLimit = 64 * 1024;
constexpr const char* kHangUpText = "the device hung up (unplugged, or closed at the far end)";

std::string ErrorText(int err) { return std::system_category().message(err); }

// Unix98 pseudo-terminal slaves (majors 136..143) store no data bits or
// parity, so what they read back proves nothing about the settings.
bool IsPseudoTerminal(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned maj = major(st.st_rdev);
    return maj >= 136 && maj <= 143;
}

tcflag_t DataBitsFlag(std::uint8_t data) {
    switch (data) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

// Parity 0 none, 1 odd, 2 even, 3 mark, 4 space.
tcflag_t ParityFlags(std::uint8_t parity) {
    switch (parity) {
        case 1:
            return PARENB | PARODD;
        case 2:
            return PARENB;
        case 3:
            return PARENB | PARODD | CMSPAR;
        case 4:
            return PARENB | CMSPAR;
        default:
            return 0;
    }
}

// Raw, binary line: no echo, no translation, no flow control, reads that
// return whatever is waiting. With parity on, bad bytes are marked (PARMRK)
// so they can be shown as "~"; breaks are ignored.
void MakeRaw(termios& tio, const LineSettings& line) {
    tio.c_iflag = IGNBRK;
    if (line.Parity != 0) tio.c_iflag |= INPCK | PARMRK;
    tio.c_oflag = 0;
    tio.c_lflag = 0;
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    // HUPCL: the driver lowers RTS and DTR at the last close, also when the
    // program ends without closing the line itself.
    tio.c_cflag |= CREAD | CLOCAL | HUPCL | DataBitsFlag(line.Data) | ParityFlags(line.Parity);
    // One stop bit, or the longer stop: a UART sends 1.5 stop bits with 5
    // data bits and 2 with more when CSTOPB is set.
    if (line.Stop != 0) tio.c_cflag |= CSTOPB;
    // A standard speed here: after a custom speed the flags hold BOTHER,
    // which tcsetattr refuses. The real speed is set right after.
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    // VMIN 1 keeps "no data" (EAGAIN) apart from a hang-up (0 bytes).
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
}

bool SameFlags(const termios& want, const termios& got, bool pty) {
    const tcflag_t mask = pty ? CSTOPB : (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    return (want.c_cflag & mask) == (got.c_cflag & mask);
}

// The device a path names, links resolved; the path itself when it cannot
// be resolved (the open then reports why).
std::string ResolvedDevice(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return path;
    std::string resolved(real);
    std::free(real);
    return resolved;
}

const char* LinesText(bool rts, bool dtr) {
    return rts && dtr ? "RTS and DTR" : rts ? "RTS" : "DTR";
}

// Pid stored in a lock file (ASCII, as written by UUCP-style programs), 0
// when unreadable.
long ReadLockPid(const std::string& file) {
    std::FILE* f = std::fopen(file.c_str(), "r");
    if (f == nullptr) return 0;
    long pid = 0;
    if (std::fscanf(f, "%ld", &pid) != 1) pid = 0;
    std::fclose(f);
    return pid;
}

bool ProcessAlive(long pid) {
    return pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

}  // namespace

std::string LineDevicePath(const LineSettings& line) {
    if (!line.PortName.empty()) return line.PortName;
    if (line.Port <= 0) return {};
    return "/dev/ttyS" + std::to_string(line.Port - 1);
}

int PortNumberOfDevice(const std::string& path) {
    const std::string prefix = "/dev/ttyS";
    if (path.rfind(prefix, 0) != 0 || path.size() == prefix.size() ||
        path.size() > prefix.size() + 4)
        return 0;
    int n = 0;
    for (std::size_t i = prefix.size(); i < path.size(); ++i) {
        if (path[i] < '0' || path[i] > '9') return 0;
        n = n * 10 + (path[i] - '0');
    }
    return n + 1;
}

std::string LockFileNameOf(const std::string& device) {
    const std::string prefix = "/dev/";
    if (device.rfind(prefix, 0) != 0 || device.size() == prefix.size()) return {};
    std::string name = device.substr(prefix.size());
    std::replace(name.begin(), name.end(), '/', '_');
    return "LCK.." + name;
}

std::string DefaultLockDirectory() {
    for (const char* dir : {"/run/lock", "/var/lock"}) {
        if (access(dir, W_OK) == 0) return dir;
    }
    return {};
}

SerialLine::~SerialLine() { Close(); }

std::string SerialLine::Fail(const std::string& what, int err) {
    const std::string path = m_path;
    Close();
    m_error = path + ": " + what + (err != 0 ? ": " + ErrorText(err) : std::string());
    return m_error;
}

std::string SerialLine::Open(const LineSettings& line) {
    const std::string path = LineDevicePath(line);
    if (path.empty()) {
        Close();
        m_error = "No serial port selected";
        return m_error;
    }
    if (IsOpen() && path == m_path) return Apply(line);
    Close();
    m_path = path;
    if (!TakeLock(ResolvedDevice(path))) return m_error;
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        const int err = errno;
        m_fd = -1;
        return Fail(err == EBUSY ? "in use by another program" : "cannot open", err);
    }
    // TIOCEXCL does not stop root, and a lock file is only a convention:
    // the lock on the device itself refuses every second opener.
    if (flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if (err == EWOULDBLOCK) return Fail("in use by another program (the device is locked)", 0);
        return Fail("cannot lock", err);
    }
    if (ioctl(m_fd, TIOCEXCL) != 0) return Fail("cannot open exclusively", errno);
    return Apply(line);
}

std::string SerialLine::Apply(const LineSettings& line) {
    if (!IsOpen()) return m_error = "Serial port is not open";
    termios tio{};
    if (tcgetattr(m_fd, &tio) != 0) return Fail("cannot read the line settings", errno);
    MakeRaw(tio, line);
    if (tcsetattr(m_fd, TCSANOW, &tio) != 0) return Fail("cannot set the line settings", errno);
    termios got{};
    if (tcgetattr(m_fd, &got) != 0) return Fail("cannot read the line settings", errno);
    const bool pty = IsPseudoTerminal(m_fd);
    if (!SameFlags(tio, got, pty))
        return Fail("the device refuses " + std::to_string(line.Data) +
                        " data bits with this parity and stop bits",
                    0);
    if (const int err = SetLineSpeed(m_fd, line.Baud); err != 0)
        return Fail("cannot set " + std::to_string(line.Baud) + " bauds", err);
    int actual = 0;
    if (GetLineSpeed(m_fd, actual) == 0 &&
        (actual * 100 < line.Baud * 97 || actual * 100 > line.Baud * 103))
        return Fail("the device refuses " + std::to_string(line.Baud) + " bauds", 0);
    // Both lines as stored, the open having raised them. A device without
    // modem lines (a pseudo-terminal) stays usable unless a line is asked for.
    if (const int err = m_modem.Set(m_fd, line.RTS, line.DTR); err != 0 && (line.RTS || line.DTR))
        return Fail(std::string("cannot raise ") + LinesText(line.RTS, line.DTR), err);
    m_marks.Reset();
    m_error.clear();
    return {};
}

void SerialLine::Close() {
    if (m_fd >= 0) {
        tcflush(m_fd, TCIOFLUSH);
        m_modem.Set(m_fd, false, false);  // best effort: the device may be gone
        ::close(m_fd);
    }
    m_fd = -1;
    DropLock();
    m_path.clear();
    m_out.clear();
    m_error.clear();
    m_marks.Reset();
}

std::string SerialLine::ReadAvailable() {
    std::string text;
    char buf[kReadChunk];
    std::size_t total = 0;
    while (IsOpen() && total < kReadLimit) {
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n > 0) {
            total += static_cast<std::size_t>(n);
            m_marks.Decode(std::string_view(buf, static_cast<std::size_t>(n)), text);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        // A pseudo-terminal whose far end closed, like an unplugged adapter,
        // reports EIO rather than end of file: both are a hang-up.
        if (n == 0 || errno == EIO)
            Fail(kHangUpText, 0);
        else
            Fail("read failed", errno);
    }
    return text;
}

bool SerialLine::Write(std::string_view bytes) {
    if (!IsOpen()) return false;
    m_out.append(bytes);
    return FlushOutput();
}

bool SerialLine::FlushOutput() {
    while (IsOpen() && !m_out.empty()) {
        const ssize_t n = ::write(m_fd, m_out.data(), m_out.size());
        if (n > 0) {
            m_out.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        if (n < 0 && errno == EIO)
            Fail(kHangUpText, 0);
        else
            Fail("write failed", n < 0 ? errno : EIO);
        return false;
    }
    return IsOpen();
}

bool SerialLine::TakeLock(const std::string& device) {
    const std::string name = LockFileNameOf(device);
    if (m_lockDir.empty() || name.empty()) return true;
    const std::string file = m_lockDir + "/" + name;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            char text[16];
            const int len =
                std::snprintf(text, sizeof text, "%10ld\n", static_cast<long>(getpid()));
            const bool ok = ::write(fd, text, static_cast<std::size_t>(len)) == len;
            ::close(fd);
            if (!ok) {
                ::unlink(file.c_str());
                return true;  // an unwritable lock folder does not stop the line
            }
            m_lockFile = file;
            return true;
        }
        if (errno != EEXIST) return true;
        const long pid = ReadLockPid(file);
        if (pid == static_cast<long>(getpid()) || ProcessAlive(pid)) {
            Fail("in use by another program (lock file " + file + ", process " +
                     std::to_string(pid) + ")",
                 0);
            return false;
        }
        ::unlink(file.c_str());  // stale lock of a process that is gone
    }
    return true;
}

void SerialLine::DropLock() {
    if (!m_lockFile.empty()) ::unlink(m_lockFile.c_str());
    m_lockFile.clear();
}

}  // namespace dovrel
