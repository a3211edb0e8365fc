// nimbo: decodes SYNOP, SHIP and SYNOP MOBIL bulletins from files or stdin
// with the weather decoder component, and prints the decoded text (what the
// decoder's text log holds), every event as one JSON object per line, or the
// observations as data (JSON lines, CSV or GeoJSON).
// The decoder is created through the component loader only: no link to it.
#include <fcntl.h>
#include <getopt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "component_ids.h"
#include "component_loader.h"
#include "cp1252.h"
#include "decoder_log_status.h"
#include "no_op_decoder_events.h"
#include "observation_formats.h"
#include "weather_decoder_interface.h"
#include "weather_observation_interface.h"

namespace {

using nimbo::ComponentLoader;
using nimbo::ComponentRef;
using nimbo::IWeatherDecoder;

constexpr const char* kUsage =
    "Usage: nimbo [OPTIONS] [FILE...]\n"
    "Decodes the SYNOP (AAXX), SHIP (BBXX) and SYNOP MOBIL (OOXX) reports in the files,\n"
    "read in order, or in stdin when none is given (\"-\" is stdin). Prints on stdout what\n"
    "the decoder's text log holds, in UTF-8.\n"
    "\n"
    "  --strict           a malformed group skips the rest of its report\n"
    "                     (default: relaxed, decoding goes on with the next group)\n"
    "  --quiet            leave out group lines whose data are all missing\n"
    "  --message-lock     ZCZC and NNNN count only as whole first tokens of a line\n"
    "  --no-decoder-lock  parse every token, not only from the heading before an indicator\n"
    "  --raw-log PATH     also write the decoder's raw log to PATH.syn\n"
    "  --text-log PATH    also write the decoder's text log to PATH.wmo\n"
    "  --chunk N          feed the decoder in fragments of N bytes (for testing)\n"
    "  --format FORMAT    what to print: text (the default), events (every event as\n"
    "                     one JSON object per line), obs-json (one JSON object per\n"
    "                     observation and line), csv (one row per observation under a\n"
    "                     header), geojson (a FeatureCollection of the observations\n"
    "                     that have a position)\n"
    "  --json             the same as --format events\n"
    "  --help             show this text\n"
    "\n"
    "The station catalogue wmoids.dat is taken from the current directory, then from\n"
    "$NIMBO_CATALOGUE_DIR, then from the installed data folder.\n"
    "Exit status: 0 on success, 1 when the decoder cannot be created,\n"
    "2 on a bad option, an unreadable input or a log that cannot be opened.\n";

enum class OutputFormat { kText, kEvents, kObservationJson, kCsv, kGeoJson };

struct Options {
    bool strict = false;
    bool quiet = false;
    bool messageLock = false;
    bool decoderLock = true;
    OutputFormat format = OutputFormat::kText;
    std::size_t chunk = 0;  // 0: feed whatever each read returns
    std::string rawLog;
    std::string textLog;
    std::vector<std::string> inputs;
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "nimbo: %s\n", message.c_str());
    std::exit(2);
}

// ---------------------------------------------------------------------------
// Text conversion

std::string ToUtf8(std::string_view text) { return nimbo::Cp1252ToUtf8(text); }

// A JSON string literal of Windows-1252 text, in UTF-8; control characters
// (C0, DEL and the C1 range U+0080-U+009F) as \u escapes.
std::string JsonString(std::string_view text) {
    const std::string utf8 = ToUtf8(text);
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        unsigned control = byte < 0x20 || byte == 0x7F ? byte : 0x100;
        if (byte == 0xC2 && i + 1 < utf8.size()) {
            const auto next = static_cast<unsigned char>(utf8[i + 1]);
            if (next >= 0x80 && next < 0xA0) control = next;
        }
        switch (control) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case 0x100:
                if (byte == '"' || byte == '\\') out += '\\';
                out += static_cast<char>(byte);
                break;
            default: {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", control);
                out += escape;
                i += control >= 0x80;  // the C1 character took two bytes
            }
        }
    }
    return out + "\"";
}

// Shortest text that reads back as the same float; JSON has no NaN or
// infinity, so those become null.
std::string JsonNumber(float value) {
    if (value != value || value > 3.4e38f || value < -3.4e38f) return "null";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// ---------------------------------------------------------------------------
// Event sinks

// Standard output, written in large blocks with write(2). The first failure
// is kept with its system error (a closed stdout, a full disk) and later
// output is dropped.
class Output {
  public:
    void Append(std::string_view text) {
        if (m_error != 0) return;
        m_buffer.append(text);
        if (m_buffer.size() >= kBlock) Flush();
    }
    // Windows-1252 text, converted to UTF-8 straight into the block.
    void AppendText(std::string_view text) {
        if (m_error != 0) return;
        nimbo::AppendCp1252AsUtf8(m_buffer, text);
        if (m_buffer.size() >= kBlock) Flush();
    }
    // A rule line of 81 `c` characters.
    void AppendRule(char c) {
        if (m_error != 0) return;
        m_buffer.append(81, c).push_back('\n');
        if (m_buffer.size() >= kBlock) Flush();
    }
    void Flush() {
        std::size_t done = 0;
        while (done < m_buffer.size() && m_error == 0) {
            const ssize_t n =
                ::write(STDOUT_FILENO, m_buffer.data() + done, m_buffer.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else if (n < 0 && errno != EINTR) {
                m_error = errno;
            }
        }
        m_buffer.clear();
    }
    // 0 while every write succeeded, else the errno of the first failure.
    int Error() const { return m_error; }

  private:
    static constexpr std::size_t kBlock = 256 * 1024;
    std::string m_buffer;
    int m_error = 0;
};

Output g_output;

void Write(std::string_view text) { g_output.Append(text); }

// Prints what the text log would hold: every Result and Error text and a rule
// line for every Separator.
class TextSink : public nimbo::NoOpDecoderEvents {
  public:
    void Error(const std::string& data) override { g_output.AppendText(data); }
    void Separator(std::int32_t level) override {
        g_output.AppendRule(level == 0 ? '=' : level == 1 ? '-' : level == 2 ? '.' : ':');
    }
    void Result(const std::string& data, std::int32_t, std::int32_t) override {
        g_output.AppendText(data);
    }
};

// Prints every event as {"event":NAME, argument: value, ...} on its own line.
class JsonSink : public nimbo::_IWeatherDecoderEvents {
  public:
    void Message(std::int32_t start, const std::string& reference) override {
        Line("Message",
             "\"start\":" + std::to_string(start) + ",\"reference\":" + JsonString(reference));
    }
    void Bloc(std::int32_t state) override { Line("Bloc", "\"state\":" + std::to_string(state)); }
    void Indicator(const std::string& indicator) override {
        Line("Indicator", "\"indicator\":" + JsonString(indicator));
    }
    void Guess(const std::string& indicator) override {
        Line("Guess", "\"indicator\":" + JsonString(indicator));
    }
    void Error(const std::string& data) override { Line("Error", "\"data\":" + JsonString(data)); }
    void Separator(std::int32_t level) override {
        Line("Separator", "\"level\":" + std::to_string(level));
    }
    void Result(const std::string& data, std::int32_t level, std::int32_t slevel) override {
        Line("Result", "\"data\":" + JsonString(data) + ",\"level\":" + std::to_string(level) +
                           ",\"slevel\":" + std::to_string(slevel));
    }
    void Position(float lat, float lng, const std::string& ident, const std::string& name,
                  const std::string& country) override {
        Line("Position", "\"lat\":" + JsonNumber(lat) + ",\"lng\":" + JsonNumber(lng) +
                             ",\"ident\":" + JsonString(ident) + ",\"name\":" + JsonString(name) +
                             ",\"country\":" + JsonString(country));
    }
    void Temperature(float tmp, std::int32_t sea) override {
        Line("Temperature", "\"tmp\":" + JsonNumber(tmp) + ",\"sea\":" + std::to_string(sea));
    }
    void Pressure(float prs, std::int32_t sea) override {
        Line("Pressure", "\"prs\":" + JsonNumber(prs) + ",\"sea\":" + std::to_string(sea));
    }

  private:
    static void Line(std::string_view event, const std::string& arguments) {
        Write("{\"event\":\"" + std::string(event) + "\"," + arguments + "}\n");
    }
};

// Prints each observation in one of the data formats. GeoJSON needs the
// collection around its features: Begin and End write it.
class ObservationWriter : public nimbo::_IWeatherObservationEvents {
  public:
    explicit ObservationWriter(OutputFormat format)
        : m_data(format == OutputFormat::kObservationJson || format == OutputFormat::kCsv ||
                 format == OutputFormat::kGeoJson),
          m_stream(format == OutputFormat::kCsv       ? nimbo::ObservationFormat::kCsv
                   : format == OutputFormat::kGeoJson ? nimbo::ObservationFormat::kGeoJson
                                                      : nimbo::ObservationFormat::kJsonLines) {}
    void Begin() {
        if (m_data) Write(m_stream.Begin());
    }
    void Observation(const nimbo::WeatherObservation& observation) override {
        if (m_data) Write(m_stream.Add(observation));
    }
    void End() {
        if (m_data) Write(m_stream.End());
    }

  private:
    bool m_data;
    nimbo::ObservationStream m_stream;
};

// ---------------------------------------------------------------------------
// Command line

std::size_t ChunkSize(const std::string& text) {
    std::size_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || value == 0) {
        Fail("--chunk needs a whole number above 0, not '" + text + "'");
    }
    return value;
}

OutputFormat FormatNamed(const std::string& name) {
    static constexpr std::pair<std::string_view, OutputFormat> kFormats[] = {
        {"text", OutputFormat::kText},
        {"events", OutputFormat::kEvents},
        {"obs-json", OutputFormat::kObservationJson},
        {"csv", OutputFormat::kCsv},
        {"geojson", OutputFormat::kGeoJson},
    };
    for (const auto& [text, format] : kFormats) {
        if (name == text) return format;
    }
    Fail("unknown format '" + name + "' (text, events, obs-json, csv or geojson)");
}

enum LongOnlyOption {
    kOptStrict = 256,
    kOptQuiet,
    kOptMessageLock,
    kOptNoDecoderLock,
    kOptRawLog,
    kOptTextLog,
    kOptChunk,
    kOptFormat,
    kOptJson
};

Options ParseArgs(int argc, char** argv) {
    static const option kLongOptions[] = {
        {"strict", no_argument, nullptr, kOptStrict},
        {"quiet", no_argument, nullptr, kOptQuiet},
        {"message-lock", no_argument, nullptr, kOptMessageLock},
        {"no-decoder-lock", no_argument, nullptr, kOptNoDecoderLock},
        {"raw-log", required_argument, nullptr, kOptRawLog},
        {"text-log", required_argument, nullptr, kOptTextLog},
        {"chunk", required_argument, nullptr, kOptChunk},
        {"format", required_argument, nullptr, kOptFormat},
        {"json", no_argument, nullptr, kOptJson},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    Options o;
    opterr = 0;  // the messages below say it in this program's words
    for (;;) {
        const int c = getopt_long(argc, argv, ":h", kLongOptions, nullptr);
        const std::string arg = argv[optind - 1];
        if (c == -1) break;
        switch (c) {
            case 'h':
                std::fputs(kUsage, stdout);
                std::exit(0);
            case kOptStrict:
                o.strict = true;
                break;
            case kOptQuiet:
                o.quiet = true;
                break;
            case kOptMessageLock:
                o.messageLock = true;
                break;
            case kOptNoDecoderLock:
                o.decoderLock = false;
                break;
            case kOptRawLog:
                o.rawLog = optarg;
                break;
            case kOptTextLog:
                o.textLog = optarg;
                break;
            case kOptChunk:
                o.chunk = ChunkSize(optarg);
                break;
            case kOptFormat:
                o.format = FormatNamed(optarg);
                break;
            case kOptJson:
                o.format = OutputFormat::kEvents;
                break;
            case ':':
                Fail("option " + arg + " needs a value");
            default:
                Fail("unknown option '" + arg + "' (see --help)");
        }
    }
    for (int i = optind; i < argc; ++i) o.inputs.emplace_back(argv[i]);
    if (o.inputs.empty()) o.inputs.push_back("-");
    return o;
}

// ---------------------------------------------------------------------------
// Decoding

// Parse takes zero-terminated text, so a NUL byte cannot cross it: the bytes
// on either side are fed as separate fragments and the NUL itself is dropped.
void Feed(IWeatherDecoder& decoder, const char* data, std::size_t size, std::size_t chunk) {
    std::string piece;
    std::size_t start = 0;
    while (start < size) {
        const void* nul = std::memchr(data + start, '\0', size - start);
        const std::size_t end = nul ? static_cast<const char*>(nul) - data : size;
        for (std::size_t at = start; at < end;) {
            const std::size_t length = chunk == 0 ? end - at : std::min(chunk, end - at);
            piece.assign(data + at, length);
            decoder.Parse(piece.c_str());
            at += length;
        }
        start = end + 1;
    }
}

// Feeds one input to the decoder; false with a message on stderr when it
// cannot be read.
bool DecodeInput(IWeatherDecoder& decoder, const std::string& name, std::size_t chunk) {
    const bool isStdin = name == "-";
    const int fd = isStdin ? STDIN_FILENO : ::open(name.c_str(), O_RDONLY | O_NOCTTY);
    const std::string shown = isStdin ? "stdin" : name;
    if (fd < 0) {
        std::fprintf(stderr, "nimbo: cannot open %s: %s\n", shown.c_str(), std::strerror(errno));
        return false;
    }
    std::vector<char> buffer(64 * 1024);
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n > 0) {
            Feed(decoder, buffer.data(), static_cast<std::size_t>(n), chunk);
            if (g_output.Error() != 0) break;  // nothing more can be written
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            std::fprintf(stderr, "nimbo: cannot read %s: %s\n", shown.c_str(),
                         std::strerror(errno));
            ok = false;
            break;
        }
    }
    if (!isStdin) ::close(fd);
    return ok;
}

// Points the decoder's logs at PATH (folder and base name; a final ".syn" or
// ".wmo" is dropped) and opens the one asked for.
// What went wrong with the decoder's logs since the last call, one line each.
std::string LogFailures(IWeatherDecoder& decoder) {
    void* object = nullptr;
    std::string text;
    if (nimbo::Succeeded(decoder.QueryInterface(nimbo::IDecoderLogStatus::kIid, &object))) {
        const ComponentRef<nimbo::IDecoderLogStatus> status(
            static_cast<nimbo::IDecoderLogStatus*>(object));
        status->TakeLogFailures(&text);
    }
    return text;
}

void OpenLog(IWeatherDecoder& decoder, const std::string& path, bool raw) {
    std::filesystem::path base(path);
    const std::string extension = raw ? ".syn" : ".wmo";
    if (base.extension() == extension) base.replace_extension();
    std::string folder = base.parent_path().string();
    if (folder.empty()) folder = ".";
    const std::string name = base.filename().string();
    if (name.empty()) Fail("log path '" + path + "' names no file");
    decoder.put_LogPathName(folder);
    decoder.put_LogFileName(name);
    const nimbo::HRESULT result = raw ? decoder.put_LogRaw(1) : decoder.put_LogText(1);
    if (nimbo::Failed(result)) {
        const std::string reason = LogFailures(decoder);
        Fail("cannot open the " + std::string(raw ? "raw" : "text") + " log " + folder + "/" +
             name + extension + (reason.empty() ? "" : " (" + reason + ")"));
    }
}

// The decoder makes a "Data" folder for its default logs in the current
// directory when it is created; a command-line run that did not ask for it
// should not leave an empty one behind.
class DefaultLogFolderCleanup {
  public:
    DefaultLogFolderCleanup() {
        std::error_code error;
        m_existed = std::filesystem::exists("Data", error) || error;
    }
    ~DefaultLogFolderCleanup() {
        if (m_existed) return;
        std::error_code error;
        if (std::filesystem::is_directory("Data", error) &&
            std::filesystem::is_empty("Data", error) && !error) {
            std::filesystem::remove("Data", error);
        }
    }

  private:
    bool m_existed = true;
};

// Connects the writer to the decoder's observation connection point; the
// connection lasts as long as the decoder.
bool ConnectObservations(IWeatherDecoder& decoder, ObservationWriter& writer) {
    void* object = nullptr;
    if (nimbo::Failed(decoder.QueryInterface(nimbo::IWeatherObservationSource::kIid, &object))) {
        std::fprintf(stderr, "nimbo: the weather decoder gives no observations\n");
        return false;
    }
    ComponentRef<nimbo::IWeatherObservationSource> source(
        static_cast<nimbo::IWeatherObservationSource*>(object));
    std::uint32_t cookie = 0;
    return nimbo::Succeeded(source->Advise(&writer, &cookie));
}

int Run(const Options& o) {
    DefaultLogFolderCleanup cleanup;
    std::string error;
    auto decoder = ComponentLoader::Create<IWeatherDecoder>(nimbo::kProgIdWeatherDecoder, &error);
    if (!decoder) {
        std::fprintf(stderr, "nimbo: cannot create the weather decoder: %s\n", error.c_str());
        return 1;
    }
    TextSink textSink;
    JsonSink jsonSink;
    ObservationWriter observationWriter(o.format);
    std::uint32_t cookie = 0;
    const bool events = o.format == OutputFormat::kText || o.format == OutputFormat::kEvents;
    if (events) {
        decoder->Advise(o.format == OutputFormat::kEvents
                            ? static_cast<nimbo::_IWeatherDecoderEvents*>(&jsonSink)
                            : &textSink,
                        &cookie);
    } else if (!ConnectObservations(*decoder, observationWriter)) {
        return 1;
    }
    observationWriter.Begin();
    decoder->put_DecoderRelax(o.strict ? 0 : 1);
    decoder->put_DecoderQuiet(o.quiet ? 1 : 0);
    decoder->put_MessageLock(o.messageLock ? 1 : 0);
    decoder->put_DecoderLock(o.decoderLock ? 1 : 0);
    if (!o.rawLog.empty()) OpenLog(*decoder, o.rawLog, true);
    if (!o.textLog.empty()) OpenLog(*decoder, o.textLog, false);

    bool allRead = true;
    for (const auto& name : o.inputs) {
        allRead = DecodeInput(*decoder, name, o.chunk) && allRead;
        if (g_output.Error() != 0) break;
    }

    // A log that failed on the way (a full disk) closed itself: said once.
    std::istringstream failures(LogFailures(*decoder));
    for (std::string line; std::getline(failures, line); allRead = false)
        std::fprintf(stderr, "nimbo: %s\n", line.c_str());
    // Releasing the decoder closes its logs (and ends an open raw bulletin);
    // the observation writer stays connected to hear a last report without
    // its "=".
    if (events) decoder->Unadvise(cookie);
    decoder.Reset();
    observationWriter.End();
    return allRead ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseArgs(argc, argv);
    const int rc = Run(options);
    g_output.Flush();
    if (g_output.Error() != 0) {
        std::fprintf(stderr, "nimbo: cannot write output: %s\n", std::strerror(g_output.Error()));
        return 2;
    }
    return rc;
}
