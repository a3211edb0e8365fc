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

#include "line_text_decoder.h"
#include "line_text_encoder.h"
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
            case 'h':
                std::fputs(kUsage, stdout);
                std::exit(0);
            case kCode:
                o.telex.code = ParseCode(v);
                break;
            case kAlphabet:
                o.telex.alphabet = ParseAlphabet(v);
                break;
            case kMode:
                if (v.size() != 1 || v[0] < '0' || v[0] > '4') Fail("mode must be 0 to 4");
                o.telex.mode = static_cast<std::uint8_t>(v[0] - '0');
                break;
            case kRawCrLf:
                o.telex.rawCrLf = true;
                break;
            case kBellBeep:
                o.telex.bellBeeps = true;
                break;
            case kEncode:
                o.encode = true;
                break;
            case ':':
                Fail(std::string("option ") + argv[optind - 1] + " needs a value");
            default:
                Fail(std::string("unknown option '") + argv[optind - 1] + "' (see --help)");
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
    dovrel::LineTextDecoder decoder(o.telex, [] { std::fputc('\a', stderr); });
    std::string out;
    for (const std::string& name : o.inputs) {
        ReadAll(name, [&](const char* data, std::size_t size) {
            out.clear();
            decoder.Feed({reinterpret_cast<const std::uint8_t*>(data), size}, out);
            std::fwrite(out.data(), 1, out.size(), stdout);
            std::fflush(stdout);
        });
    }
    out.clear();
    decoder.Finish(out);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int Encode(Options& o) {
    std::string text;
    for (const std::string& name : o.inputs)
        ReadAll(name, [&](const char* data, std::size_t size) { text.append(data, size); });

    TelexState state;
    std::vector<dovrel::UnsendableChar> unsendable;
    const std::string out = dovrel::EncodeLineText(text, o.telex, state, unsendable);
    for (const auto& u : unsendable) {
        if (u.codePoint < 0)
            std::fprintf(stderr, "telexcat: line %d, column %d: invalid UTF-8 byte\n", u.line,
                         u.column);
        else
            std::fprintf(stderr, "telexcat: line %d, column %d: U+%04X cannot be sent\n", u.line,
                         u.column, static_cast<unsigned>(u.codePoint));
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return unsendable.empty() ? 0 : 1;
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
