// rttydemod: receives radio teletype from audio (a sound file, or raw PCM
// from a pipe) with the built-in FSK demodulator and prints the text, or the
// line codes, or hands the codes to a pseudo-terminal for any serial program.
// With --transmit it does the opposite: text on stdin to a WAV of the signal.
#include <fcntl.h>
#include <getopt.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "demodulator.h"
#include "line_text_decoder.h"
#include "line_text_encoder.h"
#include "modulator.h"
#include "raw_pcm_source.h"
#include "sound_file_source.h"

namespace {

constexpr const char* kUsage =
    "Usage: rttydemod [OPTIONS] FILE|-\n"
    "       rttydemod --transmit [OPTIONS] OUT.wav|- < text\n"
    "Receives radio teletype from an audio file (WAV, FLAC, ... ; \"-\" is stdin) and\n"
    "prints the text. The tones are found anywhere in 300-3300 Hz and followed.\n"
    "\n"
    "  --baud B              baud rate, 45.45 to 300 (default 50)\n"
    "  --shift S             distance of the two tones in Hz (default 450)\n"
    "  --stop-bits 1|1.5|2   stop bits (default 1.5)\n"
    "  --data-bits 5|7|8     5: ITA2 (default); 7 or 8: ASCII\n"
    "  --parity none|even|odd|mark|space   parity of ASCII characters (default none)\n"
    "  --normal | --reverse  mark below / above space (default: found by itself)\n"
    "  --centre HZ           receive only the keyed pair centred near HZ, whatever\n"
    "                        else is stronger (default: the strongest keyed pair)\n"
    "  --codes               print the line codes (one byte each) instead of text\n"
    "  --raw --rate R        the input is raw signed 16-bit little-endian mono PCM at R Hz\n"
    "  --pty                 open a pseudo-terminal, print its path as the first line\n"
    "                        and write the line codes into it\n"
    "  --transmit            text on stdin to a WAV of the signal (--rate, default 8000,\n"
    "                        --centre HZ midway between the tones, default 1500)\n"
    "  --help                show this text\n"
    "\n"
    "Progress and the tones found go to stderr. Exit status: 0 on success, 1 when\n"
    "--transmit met characters that cannot be sent, 2 on a bad option or input.\n";

enum class Output { Text, Codes, Pty };

constexpr int kDrainSeconds = 30;
constexpr double kIdleBits = 25.0;  // steady mark before and after a transmitted text

struct Options {
    modem::DemodSettings line;
    Output output = Output::Text;
    bool raw = false;
    bool transmit = false;
    double rate = 0.0;
    double centreHz = 1500.0;
    bool centreGiven = false;
    std::string input;
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "rttydemod: %s\n", message.c_str());
    std::exit(2);
}

double Number(const char* text, const char* what, double low, double high) {
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(v >= low && v <= high))
        Fail(std::string(what) + " must be a number from " + std::to_string(low).substr(0, 5) +
             " to " + std::to_string(high).substr(0, 5) + ", not '" + text + "'");
    return v;
}

modem::Parity ParityNamed(const std::string& name) {
    if (name == "none") return modem::Parity::None;
    if (name == "even") return modem::Parity::Even;
    if (name == "odd") return modem::Parity::Odd;
    if (name == "mark") return modem::Parity::Mark;
    if (name == "space") return modem::Parity::Space;
    Fail("unknown parity '" + name + "' (none, even, odd, mark or space)");
}

Options ParseArgs(int argc, char** argv) {
    enum {
        kBaud = 256,
        kShift,
        kStop,
        kData,
        kParity,
        kNormal,
        kReverse,
        kCodes,
        kRaw,
        kRate,
        kPty,
        kTransmit,
        kCentre,
        kHelp
    };
    static const option kLong[] = {{"baud", required_argument, nullptr, kBaud},
                                   {"shift", required_argument, nullptr, kShift},
                                   {"stop-bits", required_argument, nullptr, kStop},
                                   {"data-bits", required_argument, nullptr, kData},
                                   {"parity", required_argument, nullptr, kParity},
                                   {"normal", no_argument, nullptr, kNormal},
                                   {"reverse", no_argument, nullptr, kReverse},
                                   {"codes", no_argument, nullptr, kCodes},
                                   {"raw", no_argument, nullptr, kRaw},
                                   {"rate", required_argument, nullptr, kRate},
                                   {"pty", no_argument, nullptr, kPty},
                                   {"transmit", no_argument, nullptr, kTransmit},
                                   {"centre", required_argument, nullptr, kCentre},
                                   {"help", no_argument, nullptr, kHelp},
                                   {nullptr, 0, nullptr, 0}};
    Options o;
    opterr = 0;
    for (int c; (c = getopt_long(argc, argv, "h", kLong, nullptr)) != -1;) {
        switch (c) {
            case kBaud:
                o.line.baud = Number(optarg, "--baud", 45.0, 300.0);
                break;
            case kShift:
                o.line.shiftHz = Number(optarg, "--shift", 20.0, 1500.0);
                break;
            case kStop: {
                const std::string v = optarg;
                if (v != "1" && v != "1.5" && v != "2") Fail("--stop-bits must be 1, 1.5 or 2");
                o.line.stopBits = std::stod(v);
                break;
            }
            case kData: {
                const std::string v = optarg;
                if (v != "5" && v != "7" && v != "8") Fail("--data-bits must be 5, 7 or 8");
                o.line.dataBits = std::stoi(v);
                break;
            }
            case kParity:
                o.line.parity = ParityNamed(optarg);
                break;
            case kNormal:
                o.line.polarity = modem::Polarity::Normal;
                break;
            case kReverse:
                o.line.polarity = modem::Polarity::Reverse;
                break;
            case kCodes:
                o.output = Output::Codes;
                break;
            case kRaw:
                o.raw = true;
                break;
            case kRate:
                o.rate = Number(optarg, "--rate", 8000.0, 192000.0);
                break;
            case kPty:
                o.output = Output::Pty;
                break;
            case kTransmit:
                o.transmit = true;
                break;
            case kCentre:
                o.centreHz = Number(optarg, "--centre", 300.0, 3300.0);
                o.centreGiven = true;
                break;
            case kHelp:
            case 'h':
                std::fputs(kUsage, stdout);
                std::exit(0);
            default:
                Fail(std::string(optopt ? "option needs a value: " : "unknown option: ") +
                     argv[optind - 1] + " (see --help)");
        }
    }
    if (optind + 1 != argc) Fail("give one input (FILE or -); see --help");
    o.input = argv[optind];
    if (o.raw && o.rate <= 0.0) Fail("--raw needs --rate");
    return o;
}

// Where the line codes go: text on stdout, the codes on stdout, or a pty.
class CodeSink {
  public:
    explicit CodeSink(const Options& o) : m_output(o.output), m_text(TextOptions(o.line)) {
        if (m_output == Output::Pty) OpenPty();
    }
    ~CodeSink() {
        if (m_master >= 0) ::close(m_master);
        if (m_slave >= 0) ::close(m_slave);
    }
    void Write(const std::vector<std::uint8_t>& codes) {
        if (codes.empty()) return;
        if (m_output == Output::Codes) {
            std::fwrite(codes.data(), 1, codes.size(), stdout);
        } else if (m_output == Output::Pty) {
            WriteAll(m_master, codes.data(), codes.size());
        } else {
            m_buffer.clear();
            m_text.Feed(codes, m_buffer);
            std::fwrite(m_buffer.data(), 1, m_buffer.size(), stdout);
        }
        std::fflush(stdout);
    }
    void Finish() {
        if (m_output == Output::Pty) Drain();
        if (m_output != Output::Text) return;
        m_buffer.clear();
        m_text.Finish(m_buffer);
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), stdout);
    }

  private:
    static dovrel::TelexOptions TextOptions(const modem::DemodSettings& line) {
        dovrel::TelexOptions t;
        t.code = line.dataBits == 7   ? dovrel::LineCode::Ascii7
                 : line.dataBits == 8 ? dovrel::LineCode::Ascii8
                                      : dovrel::LineCode::Telex;
        return t;
    }
    void OpenPty() {
        if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0)
            Fail(std::string("cannot open a pseudo-terminal: ") + std::strerror(errno));
        // Raw, so every code reaches the reader unchanged; the slave stays
        // open here so nothing written before the reader opens it is lost.
        termios tio{};
        ::tcgetattr(m_slave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
        std::printf("%s\n", ::ttyname(m_slave));
        std::fflush(stdout);
    }
    // At the end of the input the pty stays until its reader has taken
    // every code (or kDrainSeconds pass without one).
    void Drain() const {
        for (int waited = 0; waited < kDrainSeconds * 20; ++waited) {
            int queued = 0;
            if (::ioctl(m_slave, FIONREAD, &queued) != 0 || queued == 0) break;
            ::usleep(50000);
        }
        ::usleep(200000);
    }
    static void WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
        while (size > 0) {
            const ssize_t n = ::write(fd, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0)
                Fail(std::string("cannot write to the pseudo-terminal: ") + std::strerror(errno));
            data += n;
            size -= static_cast<std::size_t>(n);
        }
    }

    Output m_output;
    dovrel::LineTextDecoder m_text;
    std::string m_buffer;
    int m_master = -1, m_slave = -1;
};

// Says on stderr when the tones are found, lost or turned the other way up.
class TuningReport {
  public:
    void Update(const modem::TuningState& t) {
        const bool changed = t.receiving != m_last.receiving || t.locked != m_last.locked ||
                             t.reversed != m_last.reversed ||
                             std::abs(t.markHz - m_last.markHz) > kMoveHz;
        if (!changed) return;
        if (t.receiving)
            std::fprintf(stderr, "rttydemod: mark %.0f Hz, space %.0f Hz, %s, SNR %.0f dB\n",
                         t.markHz, t.spaceHz, t.reversed ? "reverse" : "normal", t.snrDb);
        else if (m_last.receiving)
            std::fprintf(stderr, "rttydemod: signal lost\n");
        m_last = t;
    }

  private:
    static constexpr double kMoveHz = 20.0;
    modem::TuningState m_last;
};

int Receive(const Options& o) {
    std::unique_ptr<modem::SampleSource> source;
    if (o.raw) {
        int fd = STDIN_FILENO;
        if (o.input != "-" && (fd = ::open(o.input.c_str(), O_RDONLY)) < 0)
            Fail("cannot open " + o.input + ": " + std::strerror(errno));
        source = std::make_unique<modem::RawPcmSource>(fd, o.rate);
    } else {
        source = std::make_unique<modem::SoundFileSource>(o.input);
    }
    if (!source->Error().empty()) Fail(source->Error());
    const double rate = source->SampleRate();
    if (rate < 8000.0 || rate > 192000.0)
        Fail("the sample rate " + std::to_string(static_cast<int>(rate)) +
             " Hz is not supported (8000 to 192000)");
    std::fprintf(stderr, "rttydemod: %s, %.0f Hz, %g Bd, shift %g Hz, %g stop bits\n",
                 o.input == "-" ? "stdin" : o.input.c_str(), rate, o.line.baud, o.line.shiftHz,
                 o.line.stopBits);

    modem::Demodulator demod(rate, o.line);
    if (o.centreGiven) demod.TuneTo(o.centreHz);
    CodeSink sink(o);
    TuningReport report;
    std::vector<float> samples(4096);
    std::vector<std::uint8_t> codes;
    for (std::size_t n; (n = source->Read(samples)) > 0;) {
        codes.clear();
        demod.Process(std::span<const float>(samples.data(), n), codes);
        report.Update(demod.Tuning());
        sink.Write(codes);
    }
    if (!source->Error().empty()) Fail(source->Error());
    codes.clear();
    demod.Flush(codes);
    sink.Write(codes);
    sink.Finish();
    return 0;
}

int Transmit(const Options& o) {
    std::string text;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, stdin)) > 0;) text.append(buf, n);
    dovrel::TelexOptions telex;
    dovrel::TelexState state;
    std::vector<dovrel::UnsendableChar> unsendable;
    if (o.line.dataBits != 5)
        telex.code = o.line.dataBits == 7 ? dovrel::LineCode::Ascii7 : dovrel::LineCode::Ascii8;
    const std::string codes = dovrel::EncodeLineText(text, telex, state, unsendable);
    for (const auto& u : unsendable)
        std::fprintf(stderr, "rttydemod: line %d, column %d: %s cannot be sent\n", u.line, u.column,
                     u.codePoint < 0 ? "an invalid UTF-8 byte"
                                     : ("U+" + std::to_string(u.codePoint)).c_str());

    modem::ModSettings m;
    m.line = o.line;
    if (m.line.polarity == modem::Polarity::Automatic) m.line.polarity = modem::Polarity::Normal;
    m.centreHz = o.centreHz;
    const double rate = o.rate > 0.0 ? o.rate : 8000.0;
    modem::Modulator mod(rate, m);
    std::vector<float> samples;
    mod.Idle(kIdleBits, samples);
    mod.Send({reinterpret_cast<const std::uint8_t*>(codes.data()), codes.size()}, samples);
    mod.Idle(kIdleBits, samples);
    const std::string error = modem::WriteWav(o.input, rate, samples);
    if (!error.empty()) Fail(error);
    return unsendable.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = ParseArgs(argc, argv);
    const int rc = o.transmit ? Transmit(o) : Receive(o);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "rttydemod: cannot write output: %s\n", std::strerror(errno));
        return 2;
    }
    return rc;
}
