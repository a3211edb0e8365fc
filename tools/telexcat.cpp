// telexcat: decodes teleprinter line characters (ITA2 or ASCII) from files,
// stdin or a serial device to text on stdout, or encodes text to ITA2 codes.
#include <fcntl.h>
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

bool TakeValue(int argc, char** argv, int& i, const char* name, std::string& value) {
    const std::string arg = argv[i];
    const std::string prefix = std::string(name) + "=";
    if (arg == name) {
        if (i + 1 >= argc) Fail(std::string("option ") + name + " needs a value");
        value = argv[++i];
        return true;
    }
    if (arg.rfind(prefix, 0) == 0) {
        value = arg.substr(prefix.size());
        return true;
    }
    return false;
}

Options ParseArgs(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string v;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (TakeValue(argc, argv, i, "--code", v)) {
            if (v == "telex") o.telex.code = LineCode::Telex;
            else if (v == "ascii7") o.telex.code = LineCode::Ascii7;
            else if (v == "ascii8") o.telex.code = LineCode::Ascii8;
            else Fail("unknown line code '" + v + "' (telex, ascii7 or ascii8)");
        } else if (TakeValue(argc, argv, i, "--alphabet", v)) {
            if (v == "ita2") o.telex.alphabet = 0;
            else if (v == "tlx") o.telex.alphabet = 1;
            else Fail("unknown alphabet '" + v + "' (ita2 or tlx)");
        } else if (TakeValue(argc, argv, i, "--mode", v)) {
            if (v.size() != 1 || v[0] < '0' || v[0] > '4') Fail("mode must be 0 to 4");
            o.telex.mode = static_cast<std::uint8_t>(v[0] - '0');
        } else if (arg == "--raw-crlf") {
            o.telex.rawCrLf = true;
        } else if (arg == "--bell-beep") {
            o.telex.bellBeeps = true;
        } else if (arg == "--encode") {
            o.encode = true;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            Fail("unknown option '" + arg + "' (see --help)");
        } else {
            o.inputs.push_back(arg);
        }
    }
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
