// telexcat: decodes teleprinter line characters (ITA2 or ASCII) from files,
// stdin or a serial device to text on stdout, or encodes text to ITA2 codes.
#include <fcntl.h>
#include <getopt.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "telex_coding.h"

namespace {

using dovrel::LineCode;
using dovrel::TelexOptions;
using dovrel::TelexState;

constexpr const char* kUsage =
    "Usage: telexcat [OPTIONS] [FILE|DEVICE...]\n"
    "Decodes teleprinter line characters (one byte per character) to text on stdout.\n"
    "Reads the files or serial devices in order, or stdin when none is given (\"-\" is stdin).\n"
    "\n"
    "  --code telex|ascii7|ascii8   line code (default telex: 5-bit ITA2)\n"
    "  --alphabet ita2|tlx          figure alphabet of the ITA2 code (default ita2)\n"
    "  --mode 0..4                  letters/figures processing: 0 normal, 1 unshift on space,\n"
    "                               2 figures on space, 3 figures only, 4 letters only\n"
    "  --raw-crlf                   pass CR and LF as they come (no CR/LF clean-up)\n"
    "  --bell-beep                  a received bell beeps on stderr instead of showing <7>\n"
    "  --encode                     encode text to line codes instead (one byte per code);\n"
    "                               a line feed is sent as CR LF\n"
    "  --help                       show this text\n"
    "\n"
    "Exit status: 0 on success, 1 when --encode met characters that cannot be sent,\n"
    "2 on a bad option or an unreadable input.\n";

struct Options {
    TelexOptions telex;
    bool encode = false;
    std::vector<std::string> inputs;
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "telexcat: %s\n", message.c_str());
    std::exit(2);
}

LineCode ParseCode(const std::string& v) {
    if (v == "telex") return LineCode::Telex;
    if (v == "ascii7") return LineCode::Ascii7;
    if (v == "ascii8") return LineCode::Ascii8;
    Fail("unknown line code '" + v + "' (telex, ascii7 or ascii8)");
}

std::uint8_t ParseAlphabet(const std::string& v) {
    if (v == "ita2") return 0;
    if (v == "tlx") return 1;
    Fail("unknown alphabet '" + v + "' (ita2 or tlx)");
}

Options ParseArgs(int argc, char** argv) {
    enum : int { kCode = 256, kAlphabet, kMode, kRawCrLf, kBellBeep, kEncode };
    static const option kOptions[] = {
        {"code", required_argument, nullptr, kCode},
        {"alphabet", required_argument, nullptr, kAlphabet},
        {"mode", required_argument, nullptr, kMode},
        {"raw-crlf", no_argument, nullptr, kRawCrLf},
        {"bell-beep", no_argument, nullptr, kBellBeep},
        {"encode", no_argument, nullptr, kEncode},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    Options o;
    opterr = 0;  // the messages below name the option as the user wrote it
    for (int c; (c = getopt_long(argc, argv, ":h", kOptions, nullptr)) != -1;) {
        const std::string v = optarg ? optarg : "";
        switch (c) {
            case 'h': std::fputs(kUsage, stdout); std::exit(0);
            case kCode: o.telex.code = ParseCode(v); break;
            case kAlphabet: o.telex.alphabet = ParseAlphabet(v); break;
            case kMode:
                if (v.size() != 1 || v[0] < '0' || v[0] > '4') Fail("mode must be 0 to 4");
                o.telex.mode = static_cast<std::uint8_t>(v[0] - '0');
                break;
            case kRawCrLf: o.telex.rawCrLf = true; break;
            case kBellBeep: o.telex.bellBeeps = true; break;
            case kEncode: o.encode = true; break;
            case ':': Fail(std::string("option ") + argv[optind - 1] + " needs a value");
            default: Fail(std::string("unknown option '") + argv[optind - 1] + "' (see --help)");
        }
    }
    for (int i = optind; i < argc; ++i) o.inputs.emplace_back(argv[i]);
    if (o.inputs.empty()) o.inputs.push_back("-");
    return o;
}

// Opens an input; a terminal device (serial line, pseudo-terminal) is put in
// raw mode so every byte arrives unchanged.
int OpenInput(const std::string& name) {
    if (name == "-") return STDIN_FILENO;
    const int fd = ::open(name.c_str(), O_RDONLY | O_NOCTTY);
    if (fd < 0) Fail("cannot open " + name + ": " + std::strerror(errno));
    if (::isatty(fd)) {
        termios tio{};
        if (::tcgetattr(fd, &tio) == 0) {
            ::cfmakeraw(&tio);
            tio.c_cflag |= CREAD | CLOCAL;
            tio.c_cc[VMIN] = 1;
            tio.c_cc[VTIME] = 0;
            ::tcsetattr(fd, TCSANOW, &tio);
        }
    }
    return fd;
}

// Calls `sink` with each block read from `name` until its end. A terminal
// device whose far end hangs up (EIO) ends like a file.
template <typename Sink>
void ReadAll(const std::string& name, Sink&& sink) {
    const int fd = OpenInput(name);
    const bool tty = ::isatty(fd);
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0) {
            sink(buf, static_cast<std::size_t>(n));
            continue;
        }
        if (n == 0) break;
        if (errno == EINTR) continue;
        if (errno == EIO && tty) break;
        Fail("cannot read " + (name == "-" ? std::string("stdin") : name) + ": " +
             std::strerror(errno));
    }
    if (fd != STDIN_FILENO) ::close(fd);
}

int Decode(Options& o) {
    TelexState state;
    std::string out;
    const auto beep = [] { std::fputc('\a', stderr); };
    for (const std::string& name : o.inputs) {
        ReadAll(name, [&](const char* data, std::size_t size) {
            out.clear();
            for (std::size_t i = 0; i < size; ++i) {
                std::string ch = dovrel::DecodeLineByte(static_cast<std::uint8_t>(data[i]),
                                                        o.telex, state);
                const std::string shown =
                    dovrel::DisplayFilter(ch, o.telex.rawCrLf, o.telex.bellBeeps, state, beep);
                // As in the terminal pane: CR ends a line, LF shows nothing.
                for (char c : shown) {
                    if (c == '\r') out += '\n';
                    else if (c != '\n') out += c;
                }
            }
            std::fwrite(out.data(), 1, out.size(), stdout);
            std::fflush(stdout);
        });
    }
    // CR CR LF at the very end: the clean-up still holds that line end,
    // waiting to see whether a second LF follows.
    if (!o.telex.rawCrLf && state.CrLfState == 3) std::fputc('\n', stdout);
    return 0;
}

// Next code point of UTF-8 text at `i`; -1 for a byte that starts no valid sequence.
int NextCodePoint(const std::string& s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80) return b;
    int extra = b >= 0xF0 && b < 0xF5 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : -1;
    if (extra < 0 || b >= 0xF5) return -1;
    int cp = b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return -1;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

int Encode(Options& o) {
    std::string text;
    for (const std::string& name : o.inputs)
        ReadAll(name, [&](const char* data, std::size_t size) { text.append(data, size); });

    TelexState state;
    std::string out;
    int failures = 0;
    int line = 1, column = 0;
    int previous = 0;
    for (std::size_t i = 0; i < text.size();) {
        const int cp = NextCodePoint(text, i);
        ++column;
        std::vector<int> chars;
        if (cp == '\n' && previous != '\r') chars.push_back('\r');
        chars.push_back(cp);
        for (int c : chars) {
            int ch = c;
            std::string codes;
            if (o.telex.code == LineCode::Telex) {
                codes = c < 0 ? std::string() : dovrel::TelexEncode(ch, o.telex.alphabet, state);
            } else if (c >= 0 && c < (o.telex.code == LineCode::Ascii7 ? 128 : 256)) {
                codes.assign(1, static_cast<char>(c));
            }
            if (codes.empty()) {
                ++failures;
                if (c < 0)
                    std::fprintf(stderr, "telexcat: line %d, column %d: invalid UTF-8 byte\n",
                                 line, column);
                else
                    std::fprintf(stderr, "telexcat: line %d, column %d: U+%04X cannot be sent\n",
                                 line, column, static_cast<unsigned>(c));
            }
            out += codes;
        }
        if (cp == '\n') {
            ++line;
            column = 0;
        }
        previous = cp;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o = ParseArgs(argc, argv);
    const int rc = o.encode ? Encode(o) : Decode(o);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "telexcat: cannot write output: %s\n", std::strerror(errno));
        return 2;
    }
    return rc;
}
