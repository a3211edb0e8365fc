// linesim: the far end of a serial line for demos and tests. Opens a
// pseudo-terminal, prints the path of its slave side, and writes a capture
// file into it at teleprinter speed, as a demodulator would deliver it.
#include <fcntl.h>
#include <getopt.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "telex_coding.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kUsage =
    "Usage: linesim [options] [CAPTURE]\n"
    "Opens a pseudo-terminal, prints its slave path on the first line of\n"
    "standard output, then writes CAPTURE (default: the bundled ITA2 sample)\n"
    "into it, one byte per line character, paced like a serial line.\n"
    "\n"
    "  --baud N         line speed in bits per second (default 50); 0 writes\n"
    "                   as fast as the reader takes it\n"
    "  --data-bits N    5, 7 or 8 (default 5): bits per character\n"
    "  --stop-bits S    1, 1.5 or 2 (default 1.5); a character takes\n"
    "                   1 start + data + stop bits\n"
    "  --repeat N       write the capture N times (default 1)\n"
    "  --loop           write it again and again until interrupted\n"
    "  --wait-open      wait until a program opens the slave before writing\n"
    "  --linger SECONDS keep the line open after the last byte (default 1),\n"
    "                   ending early when the reader closes it\n"
    "  --echo-sent      print what the terminal sends back, one line per\n"
    "                   burst: \"sent: \" + the bytes in hex + \" [\" + text + \"]\",\n"
    "                   the text decoded as ITA2 for 5 data bits (letters\n"
    "                   shift at start) or as ASCII, other bytes shown as \".\"\n"
    "  --help           this text\n"
    "\n"
    "Exit status: 0 done, 1 the capture or the pseudo-terminal could not be\n"
    "used, 2 bad arguments, 3 the reader closed the line before the end.\n";

struct Options {
    std::string capture;
    double baud = 50;
    int dataBits = 5;
    double stopBits = 1.5;
    long repeat = 1;
    bool loop = false;
    bool waitOpen = false;
    double linger = 1.0;
    bool echoSent = false;
};

bool ParseNumber(const char* text, double& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return errno == 0 && end != text && *end == '\0' && std::isfinite(value);
}

// Takes the value of a numeric option into `opt`; false when it is out of range.
bool TakeNumber(int option, double value, Options& opt) {
    switch (option) {
        case 'b':
            if (value < 0) return false;
            opt.baud = value;
            return true;
        case 'd':
            if (value != 5 && value != 7 && value != 8) return false;
            opt.dataBits = static_cast<int>(value);
            return true;
        case 's':
            if (value != 1 && value != 1.5 && value != 2) return false;
            opt.stopBits = value;
            return true;
        case 'r':
            if (value < 0 || value != std::floor(value)) return false;
            opt.repeat = static_cast<long>(value);
            return true;
        case 'g':
            if (value < 0) return false;
            opt.linger = value;
            return true;
    }
    return false;
}

// 0 ok, 1 help shown, 2 bad arguments.
int ParseArguments(int argc, char** argv, Options& opt) {
    enum : int { kLoop = 256, kWaitOpen, kEchoSent };
    static const option kOptions[] = {
        {"baud", required_argument, nullptr, 'b'},
        {"data-bits", required_argument, nullptr, 'd'},
        {"stop-bits", required_argument, nullptr, 's'},
        {"repeat", required_argument, nullptr, 'r'},
        {"linger", required_argument, nullptr, 'g'},
        {"loop", no_argument, nullptr, kLoop},
        {"wait-open", no_argument, nullptr, kWaitOpen},
        {"echo-sent", no_argument, nullptr, kEchoSent},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    opterr = 0;  // the messages below name the option as the user wrote it
    optind = 1;
    for (int c; (c = getopt_long(argc, argv, ":h", kOptions, nullptr)) != -1;) {
        double value = 0;
        switch (c) {
            case 'h':
                std::fputs(kUsage, stdout);
                return 1;
            case kLoop:
                opt.loop = true;
                break;
            case kWaitOpen:
                opt.waitOpen = true;
                break;
            case kEchoSent:
                opt.echoSent = true;
                break;
            case ':':
                std::fprintf(stderr, "linesim: %s needs a number\n", argv[optind - 1]);
                return 2;
            case '?':
                std::fprintf(stderr, "linesim: bad option or value: %s\n", argv[optind - 1]);
                return 2;
            default:
                if (!ParseNumber(optarg, value)) {
                    std::fprintf(stderr, "linesim: not a number: %s\n", optarg);
                    return 2;
                }
                if (!TakeNumber(c, value, opt)) {
                    std::fprintf(stderr, "linesim: bad option or value: %s\n", optarg);
                    return 2;
                }
        }
    }
    if (optind + 1 < argc) {
        std::fprintf(stderr, "linesim: more than one capture file\n%s", kUsage);
        return 2;
    }
    opt.capture = optind < argc ? argv[optind] : LINESIM_DEFAULT_CAPTURE;
    return 0;
}

// Prints one burst the terminal sent back.
class EchoPrinter {
  public:
    explicit EchoPrinter(int dataBits) : m_dataBits(dataBits) {
        m_state.RxShift = dovrel::Shift::Letters;
    }
    void Print(const char* bytes, std::size_t n) {
        std::string hex;
        std::string text;
        for (std::size_t i = 0; i < n; ++i) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            char buf[4];
            std::snprintf(buf, sizeof buf, "%s%02X", i ? " " : "", byte);
            hex += buf;
            text += Decode(byte);
        }
        std::printf("sent: %s [%s]\n", hex.c_str(), text.c_str());
        std::fflush(stdout);
    }

  private:
    std::string Decode(unsigned char byte) {
        std::string ch;
        if (m_dataBits == 5) {
            std::uint8_t code = byte;
            ch = dovrel::TelexDecode(code, m_alphabet, m_mode, m_state);
        } else {
            const unsigned char c = m_dataBits == 7 ? (byte & 0x7F) : byte;
            ch = std::string(1, static_cast<char>(c));
        }
        for (char& c : ch) {
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
                c = '.';
        }
        return ch;
    }

    int m_dataBits;
    std::uint8_t m_alphabet = 0;
    std::uint8_t m_mode = 0;
    dovrel::TelexState m_state;
};

// The line: the master side, and the slave held open by us until a reader
// is expected to open it.
class Line {
  public:
    ~Line() {
        if (m_slave >= 0) close(m_slave);
        if (m_master >= 0) close(m_master);
    }
    bool Open(std::string& slavePath) {
        char name[256] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) return false;
        // Raw from the start: no echo or translation before the reader sets
        // its own line settings.
        termios tio{};
        if (tcgetattr(m_slave, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(m_slave, TCSANOW, &tio);
        }
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
        slavePath = name;
        return true;
    }
    // Lets go of our slave descriptor, so that the hang-up state of the
    // master shows whether anyone else has the slave open.
    void ReleaseSlave() {
        close(m_slave);
        m_slave = -1;
        m_watchHangUp = true;
    }
    bool ReaderPresent() const {
        pollfd p{m_master, 0, 0};
        return poll(&p, 1, 0) == 0 || !(p.revents & POLLHUP);
    }
    int Master() const { return m_master; }
    bool WatchHangUp() const { return m_watchHangUp; }

  private:
    int m_master = -1;
    int m_slave = -1;
    bool m_watchHangUp = false;
};

bool ReadCapture(const std::string& path, std::string& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    data.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

// Waits for something to read back (printing it) or the deadline. False
// when the reader closed the line.
bool Service(const Line& line, EchoPrinter* echo, Clock::time_point until, bool wantWrite) {
    while (true) {
        const auto now = Clock::now();
        int timeout = 0;
        if (until > now)
            timeout =
                static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(until - now).count());
        pollfd p{line.Master(), static_cast<short>((echo ? POLLIN : 0) | (wantWrite ? POLLOUT : 0)),
                 0};
        const int ready = poll(&p, 1, timeout);
        if (ready < 0 && errno != EINTR) return false;
        if (ready > 0 && (p.revents & POLLIN) && echo) {
            char buf[512];
            const ssize_t n = read(line.Master(), buf, sizeof buf);
            if (n > 0) echo->Print(buf, static_cast<std::size_t>(n));
        }
        if (ready > 0 && (p.revents & POLLHUP) && line.WatchHangUp()) return false;
        if (ready > 0 && (p.revents & POLLOUT) && wantWrite) return true;
        if (Clock::now() >= until && !wantWrite) return true;
        if (ready == 0) return true;
    }
}

// Writes the whole capture once. False when the reader closed the line.
bool WriteCapture(Line& line, const std::string& data, const Options& opt, EchoPrinter* echo,
                  Clock::time_point& next) {
    const auto charTime = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
        opt.baud > 0 ? (1 + opt.dataBits + opt.stopBits) / opt.baud : 0));
    std::size_t pos = 0;
    while (pos < data.size()) {
        if (opt.baud > 0) {
            if (!Service(line, echo, next, false)) return false;
        }
        const std::size_t chunk = opt.baud > 0 ? 1 : data.size() - pos;
        const ssize_t n = write(line.Master(), data.data() + pos, chunk);
        if (n > 0) {
            pos += static_cast<std::size_t>(n);
            next += charTime;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        if (!Service(line, echo, Clock::now() + std::chrono::milliseconds(100), true)) return false;
    }
    return true;
}

void WaitForReader(const Line& line) {
    while (!line.ReaderPresent()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    // Give the reader a moment to set its line settings.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    if (const int parsed = ParseArguments(argc, argv, opt); parsed != 0) return parsed == 1 ? 0 : 2;
    std::string data;
    if (!ReadCapture(opt.capture, data)) {
        std::fprintf(stderr, "linesim: cannot read %s: %s\n", opt.capture.c_str(),
                     std::strerror(errno));
        return 1;
    }
    Line line;
    std::string slave;
    if (!line.Open(slave)) {
        std::fprintf(stderr, "linesim: cannot open a pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    std::printf("%s\n", slave.c_str());
    std::fflush(stdout);
    if (opt.waitOpen) {
        line.ReleaseSlave();
        WaitForReader(line);
    }
    EchoPrinter printer(opt.dataBits);
    EchoPrinter* echo = opt.echoSent ? &printer : nullptr;
    auto next = Clock::now();
    for (long pass = 0; opt.loop || pass < opt.repeat; ++pass) {
        if (!WriteCapture(line, data, opt, echo, next)) return 3;
    }
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(opt.linger));
    while (Clock::now() < end) {
        if (!Service(line, echo, end, false)) break;  // the reader is done with the line
    }
    return 0;
}
