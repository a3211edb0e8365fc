// nimbo: decodes SYNOP, SHIP and SYNOP MOBIL bulletins from files or stdin
// with the weather decoder component, and prints the decoded text (what the
// decoder's text log holds), every event as one JSON object per line, the
// observations as data (JSON lines, CSV or GeoJSON), or a map of station
// models (SVG); keeps the observations in an archive file and prints a
// station's history from it.
// The decoder is created through the component loader only: no link to it.
#include <fcntl.h>
#include <getopt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "archive_writer.h"
#include "component_ids.h"
#include "component_loader.h"
#include "cp1252.h"
#include "decoder_log_status.h"
#include "json_writer.h"
#include "no_op_decoder_events.h"
#include "observation_archive.h"
#include "observation_formats.h"
#include "observation_source.h"
#include "svg_map.h"
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
    "  --date YYYY-MM-DD  the date reports are placed before (a report's day of the\n"
    "                     month belongs to the latest such day not after it;\n"
    "                     default: today, UTC), for archives\n"
    "  --format FORMAT    what to print: text (the default), events (every event as\n"
    "                     one JSON object per line), obs-json (one JSON object per\n"
    "                     observation and line), csv (one row per observation under a\n"
    "                     header), geojson (a FeatureCollection of the observations\n"
    "                     that have a position), svg (a map of station models)\n"
    "  --region W,S,E,N   the area of the svg map in degrees (default: around the\n"
    "                     stations)\n"
    "  --size WxH         the svg map's size in pixels (default 1200x800)\n"
    "  --json             the same as --format events\n"
    "  --db FILE          also keep every decoded report in the archive FILE (SQLite,\n"
    "                     made when missing): one row per station and observation\n"
    "                     time; a correction (CCx, AAx) replaces the report it\n"
    "                     corrects, a report held already is not stored again\n"
    "  --history STATION  print the reports of STATION held in the --db archive,\n"
    "                     oldest first, as csv (the default) or obs-json\n"
    "  --since YYYY-MM-DD with --history: only the reports from that day on\n"
    "  --help             show this text\n"
    "\n"
    "The station catalogue wmoids.dat is taken from the current directory, then from\n"
    "$NIMBO_CATALOGUE_DIR, then from the installed data folder.\n"
    "Exit status: 0 on success, 1 when the decoder cannot be created,\n"
    "2 on a bad option, an unreadable input, or a log or archive that cannot be opened\n"
    "or written (what the archive held before stays).\n";

enum class OutputFormat { kText, kEvents, kObservationJson, kCsv, kGeoJson, kSvg };

struct Options {
    bool strict = false;
    bool quiet = false;
    bool messageLock = false;
    bool decoderLock = true;
    OutputFormat format = OutputFormat::kText;
    bool formatGiven = false;
    std::size_t chunk = 0;  // 0: feed whatever each read returns
    std::string date;       // reference date; empty: today
    std::string rawLog;
    std::string textLog;
    std::vector<std::string> inputs;
    std::optional<synoptic::GeoBox> region;  // svg: the area shown
    double width = 1200, height = 800;       // svg: the size in pixels
    std::string db;
    std::string history;  // a station: print its reports instead of decoding
    std::optional<std::chrono::year_month_day> since;
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "nimbo: %s\n", message.c_str());
    std::exit(2);
}

// ---------------------------------------------------------------------------
// Text conversion

// A JSON string literal of Windows-1252 text, in UTF-8.
std::string JsonString(std::string_view text) {
    std::string out;
    nimbo::AppendJsonString(out, text);
    return out;
}

std::string JsonNumber(float value) {
    std::string out;
    nimbo::AppendJsonNumber(out, value);
    return out;
}

// ---------------------------------------------------------------------------
// Event sinks

// Standard output, written in large blocks with write(2). The first failure
// is kept with its system error (a closed stdout, a full disk) and later
// output is dropped.
class Output {
  public:
    void Append(std::string_view text) {
        while (m_error == 0 && !text.empty()) {
            const std::size_t n = std::min(text.size(), kCapacity - m_size);
            std::memcpy(m_block.get() + m_size, text.data(), n);
            m_size += n;
            text.remove_prefix(n);
            if (m_size >= kBlock) Flush();
        }
    }
    // Windows-1252 text, converted to UTF-8 straight into the block. Below
    // kBlock there is always room for a piece's conversion.
    void AppendText(std::string_view text) {
        if (text.size() > kPiece) {
            AppendPieces(text);
            return;
        }
        if (m_error != 0) return;
        m_size = static_cast<std::size_t>(nimbo::WriteCp1252AsUtf8(m_block.get() + m_size, text) -
                                          m_block.get());
        if (m_size >= kBlock) Flush();
    }
    // A rule line of 81 `c` characters.
    void AppendRule(char c) {
        if (m_error != 0) return;
        std::memset(m_block.get() + m_size, c, 81);
        m_block[m_size + 81] = '\n';
        m_size += 82;
        if (m_size >= kBlock) Flush();
    }
    // Out of line, as the rare cases of AppendText are: a decoded line costs
    // a conversion, a store and a test.
    [[gnu::noinline]] void Flush() {
        std::size_t done = 0;
        while (done < m_size && m_error == 0) {
            const ssize_t n = ::write(STDOUT_FILENO, m_block.get() + done, m_size - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else if (n < 0 && errno != EINTR) {
                m_error = errno;
            }
        }
        m_size = 0;
    }
    // 0 while every write succeeded, else the errno of the first failure.
    int Error() const { return m_error; }

  private:
    [[gnu::noinline]] void AppendPieces(std::string_view text) {
        for (; !text.empty(); text.remove_prefix(std::min(text.size(), kPiece))) {
            AppendText(text.substr(0, kPiece));
        }
    }

    static constexpr std::size_t kBlock = 256 * 1024;
    static constexpr std::size_t kPiece = 4096;
    static constexpr std::size_t kCapacity = kBlock + nimbo::Utf8Room(kPiece);
    std::unique_ptr<char[]> m_block = std::make_unique_for_overwrite<char[]>(kCapacity);
    std::size_t m_size = 0;  // below kBlock between calls
    int m_error = 0;
};

Output g_output;

// The archive writer of --db while decoding; its first failure stops the input.
nimbo::ArchiveWriter* g_archive = nullptr;

bool Stopped() {
    return g_output.Error() != 0 || (g_archive != nullptr && !g_archive->Error().empty());
}

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
    explicit ObservationWriter(const Options& options)
        : m_format(options.format),
          m_options(options),
          m_data(m_format == OutputFormat::kObservationJson || m_format == OutputFormat::kCsv ||
                 m_format == OutputFormat::kGeoJson),
          m_stream(m_format == OutputFormat::kCsv       ? nimbo::ObservationFormat::kCsv
                   : m_format == OutputFormat::kGeoJson ? nimbo::ObservationFormat::kGeoJson
                                                        : nimbo::ObservationFormat::kJsonLines) {}
    void Begin() {
        if (m_data) Write(m_stream.Begin());
    }
    void Observation(const nimbo::WeatherObservation& observation) override {
        if (m_data) Write(m_stream.Add(observation));
        if (m_format == OutputFormat::kSvg) m_models.Add(observation);
    }
    void End() {
        if (m_data) Write(m_stream.End());
        if (m_format == OutputFormat::kSvg) {
            synoptic::MapView view(m_options.width, m_options.height);
            if (m_options.region) {
                view.Fit(*m_options.region, 0);
            } else if (m_models.Size() > 0) {
                view.Fit(m_models.Bounds(), 40);
            } else {
                view.Fit({}, 0);
            }
            Write(synoptic::SvgMap(m_models, view));
        }
    }

  private:
    OutputFormat m_format;
    const Options& m_options;
    bool m_data;
    nimbo::ObservationStream m_stream;
    synoptic::StationModels m_models;
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
        {"svg", OutputFormat::kSvg},
    };
    for (const auto& [text, format] : kFormats) {
        if (name == text) return format;
    }
    Fail("unknown format '" + name + "' (text, events, obs-json, csv, geojson or svg)");
}

std::chrono::year_month_day DayNamed(const std::string& text) {
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, year);
    if (text.size() == 10 && result.ptr == text.data() + 4 && *result.ptr == '-') {
        result = std::from_chars(result.ptr + 1, end, month);
        if (result.ptr == text.data() + 7 && *result.ptr == '-') {
            result = std::from_chars(result.ptr + 1, end, day);
        }
    }
    const std::chrono::year_month_day date{std::chrono::year(year), std::chrono::month(month),
                                           std::chrono::day(day)};
    if (result.ec != std::errc() || result.ptr != end || !date.ok()) {
        Fail("--since needs a day as YYYY-MM-DD, not '" + text + "'");
    }
    return date;
}

// --history reads the archive and prints csv or obs-json; it decodes nothing.
void CheckHistoryOptions(Options& o) {
    if (o.history.empty()) {
        if (o.since) Fail("--since goes with --history");
        return;
    }
    if (o.db.empty()) Fail("--history needs the archive named by --db");
    if (!o.inputs.empty()) Fail("--history reads the archive only, not '" + o.inputs[0] + "'");
    if (!o.formatGiven) o.format = OutputFormat::kCsv;
    if (o.format != OutputFormat::kCsv && o.format != OutputFormat::kObservationJson) {
        Fail("--history prints csv or obs-json");
    }
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
    kOptJson,
    kOptRegion,
    kOptSize,
    kOptDb,
    kOptHistory,
    kOptSince,
    kOptDate
};

// "W,S,E,N" in degrees, west below east and south below north.
synoptic::GeoBox RegionNamed(const std::string& text) {
    double v[4];
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 4; ++i) {
        const auto result = std::from_chars(at, end, v[i]);
        const char expected = i < 3 ? ',' : '\0';
        const bool ok = result.ec == std::errc() &&
                        (i < 3 ? result.ptr < end && *result.ptr == expected : result.ptr == end);
        if (!ok) Fail("--region needs WEST,SOUTH,EAST,NORTH in degrees, not '" + text + "'");
        at = result.ptr + 1;
    }
    if (!(v[0] < v[2] && v[1] < v[3] && v[0] >= -360 && v[2] <= 360 && v[1] >= -90 && v[3] <= 90)) {
        Fail("--region needs west below east and south below north, not '" + text + "'");
    }
    return {v[0], v[1], v[2], v[3]};
}

// "WxH" in pixels, each 16 to 20000.
std::pair<double, double> SizeNamed(const std::string& text) {
    int width = 0, height = 0;
    const char* end = text.data() + text.size();
    const auto w = std::from_chars(text.data(), end, width);
    const bool ok = w.ec == std::errc() && w.ptr < end && *w.ptr == 'x' &&
                    std::from_chars(w.ptr + 1, end, height).ptr == end && width >= 16 &&
                    height >= 16 && width <= 20000 && height <= 20000;
    if (!ok) Fail("--size needs WIDTHxHEIGHT in pixels (16 to 20000), not '" + text + "'");
    return {width, height};
}

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
        {"region", required_argument, nullptr, kOptRegion},
        {"size", required_argument, nullptr, kOptSize},
        {"db", required_argument, nullptr, kOptDb},
        {"history", required_argument, nullptr, kOptHistory},
        {"since", required_argument, nullptr, kOptSince},
        {"date", required_argument, nullptr, kOptDate},
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
                o.formatGiven = true;
                break;
            case kOptJson:
                o.format = OutputFormat::kEvents;
                o.formatGiven = true;
                break;
            case kOptDb:
                o.db = optarg;
                break;
            case kOptHistory:
                o.history = optarg;
                break;
            case kOptSince:
                o.since = DayNamed(optarg);
                break;
            case kOptRegion:
                o.region = RegionNamed(optarg);
                break;
            case kOptSize:
                std::tie(o.width, o.height) = SizeNamed(optarg);
                break;
            case kOptDate:
                o.date = optarg;
                break;
            case ':':
                Fail("option " + arg + " needs a value");
            default:
                Fail("unknown option '" + arg + "' (see --help)");
        }
    }
    for (int i = optind; i < argc; ++i) o.inputs.emplace_back(argv[i]);
    CheckHistoryOptions(o);
    if (o.inputs.empty() && o.history.empty()) o.inputs.push_back("-");
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
            if (Stopped()) break;  // nothing more can be written
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

// Prints the station's reports held in the archive, oldest first.
int RunHistory(const Options& o) {
    std::string error;
    auto archive =
        nimbo::ObservationArchive::Open(o.db, nimbo::ObservationArchive::Access::kReadOnly, &error);
    std::vector<nimbo::ArchivedReport> reports;
    if (!archive || !archive->History(o.history, o.since, &reports)) {
        std::fprintf(stderr, "nimbo: %s\n", archive ? archive->Error().c_str() : error.c_str());
        return 2;
    }
    ObservationWriter writer(o);
    writer.Begin();
    for (const nimbo::ArchivedReport& report : reports) writer.Observation(report.observation);
    writer.End();
    return 0;
}

// --db: the archive and its writer, connected to the decoder's observations.
struct ArchiveRun {
    std::unique_ptr<nimbo::ObservationArchive> archive;
    std::unique_ptr<nimbo::ArchiveWriter> writer;
};

ArchiveRun OpenArchive(IWeatherDecoder& decoder, const std::string& path) {
    ArchiveRun run;
    std::string error;
    run.archive = nimbo::ObservationArchive::Open(
        path, nimbo::ObservationArchive::Access::kReadWrite, &error);
    if (!run.archive) Fail(error);
    run.writer = std::make_unique<nimbo::ArchiveWriter>(*run.archive);
    std::uint32_t cookie = 0;
    if (!nimbo::AdviseObservations(decoder, run.writer.get(), &cookie)) {
        std::fprintf(stderr, "nimbo: the weather decoder gives no observations\n");
        std::exit(1);
    }
    return run;
}

// Stores the last bulletin and says what the archive did; false when a
// store failed (what was stored before it stays).
bool FinishArchive(const ArchiveRun& run) {
    if (!run.writer) return true;
    if (run.writer->Error().empty()) run.writer->Flush();
    const std::string& error = run.writer->Error();
    if (!error.empty()) std::fprintf(stderr, "nimbo: %s\n", error.c_str());
    std::fprintf(stderr, "nimbo: %s: %s\n", run.archive->Path().c_str(),
                 nimbo::DescribeCounts(run.writer->Counts()).c_str());
    return error.empty();
}

int Run(const Options& o) {
    if (!o.history.empty()) return RunHistory(o);
    DefaultLogFolderCleanup cleanup;
    std::string error;
    auto decoder = ComponentLoader::Create<IWeatherDecoder>(nimbo::kProgIdWeatherDecoder, &error);
    if (!decoder) {
        std::fprintf(stderr, "nimbo: cannot create the weather decoder: %s\n", error.c_str());
        return 1;
    }
    TextSink textSink;
    JsonSink jsonSink;
    ObservationWriter observationWriter(o);
    std::uint32_t cookie = 0;
    const bool events = o.format == OutputFormat::kText || o.format == OutputFormat::kEvents;
    if (events) {
        decoder->Advise(o.format == OutputFormat::kEvents
                            ? static_cast<nimbo::_IWeatherDecoderEvents*>(&jsonSink)
                            : &textSink,
                        &cookie);
    } else if (!nimbo::AdviseObservations(*decoder, &observationWriter, &cookie)) {
        std::fprintf(stderr, "nimbo: the weather decoder gives no observations\n");
        return 1;
    }
    ArchiveRun archive;
    std::uint32_t archiveCookie = 0;
    if (!o.db.empty()) {
        archive = OpenArchive(*decoder, o.db);
        decoder->Advise(archive.writer.get(), &archiveCookie);  // delimiters end bulletins
    }
    g_archive = archive.writer.get();
    observationWriter.Begin();
    decoder->put_DecoderRelax(o.strict ? 0 : 1);
    decoder->put_DecoderQuiet(o.quiet ? 1 : 0);
    decoder->put_MessageLock(o.messageLock ? 1 : 0);
    decoder->put_DecoderLock(o.decoderLock ? 1 : 0);
    if (nimbo::Failed(decoder->put_ReferenceDate(o.date))) {
        Fail("--date needs a date YYYY-MM-DD, not '" + o.date + "'");
    }
    if (!o.rawLog.empty()) OpenLog(*decoder, o.rawLog, true);
    if (!o.textLog.empty()) OpenLog(*decoder, o.textLog, false);

    bool allRead = true;
    for (const auto& name : o.inputs) {
        allRead = DecodeInput(*decoder, name, o.chunk) && allRead;
        if (Stopped()) break;
    }

    // A log that failed on the way (a full disk) closed itself: said once.
    std::istringstream failures(LogFailures(*decoder));
    for (std::string line; std::getline(failures, line); allRead = false)
        std::fprintf(stderr, "nimbo: %s\n", line.c_str());
    // Releasing the decoder decodes what it still holds, closes its logs (and
    // ends an open raw bulletin); the sinks stay connected to hear a last
    // report without its "=".
    decoder.Reset();
    observationWriter.End();
    const bool archived = FinishArchive(archive);
    g_archive = nullptr;
    return allRead && archived ? 0 : 2;
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
