// Decoding throughput of the weather decoder: MB/s and reports/s over real
// bulletin files, once with a sink that ignores the events and once with the
// raw and text logs open as well, and the peak memory of the process.
//
// Usage: decoder_bench [--seconds S] [--fragment N] [--null-only] FILE_OR_FOLDER...
// Every regular file under the folders is read (README files excepted); the
// whole set is fed again and again, in fragments of N bytes (default 4096),
// for at least S seconds (default 3) per measurement. --null-only leaves out
// the measure with the logs open, for profiling the decoding alone.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_input.h"
#include "no_op_decoder_events.h"
#include "weather_decoder.h"

namespace {

using Clock = std::chrono::steady_clock;

// Counts report starts (Separator 1) and nothing else.
class CountingSink : public nimbo::NoOpDecoderEvents {
  public:
    long reports = 0;
    long lines = 0;
    void Separator(std::int32_t level) override { reports += level == 1; }
    void Result(const std::string&, std::int32_t, std::int32_t) override { ++lines; }
};

struct Options {
    double seconds = 3.0;
    std::size_t fragment = 4096;
    bool nullOnly = false;  // skip the measure with the logs open (for profiling)
    std::vector<std::string> inputs;
};

struct Measure {
    double megabytesPerSecond = 0;  // per second of wall time
    double reportsPerSecond = 0;
    double megabytesPerCpuSecond = 0;  // per second of this thread's CPU time
    double reportsPerCpuSecond = 0;
    long passes = 0;
    long reportsPerPass = 0;
    long linesPerPass = 0;
    long memoryAfterFirstPass = 0;  // peak resident KB of the process
    long memoryAtEnd = 0;
};

long PeakMemoryKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void FeedOnce(nimbo::IWeatherDecoder& decoder, const std::string& text, std::size_t fragment) {
    std::string piece;
    for (std::size_t at = 0; at < text.size(); at += fragment) {
        piece.assign(text, at, fragment);
        decoder.Parse(piece.c_str());
    }
}

Measure Run(const std::string& text, const Options& options, const std::string& logFolder) {
    auto* object = new nimbo::WeatherDecoder();
    nimbo::ComponentRef<nimbo::IWeatherDecoder> decoder(object);
    CountingSink sink;
    std::uint32_t cookie = 0;
    decoder->Advise(&sink, &cookie);
    decoder->put_DecoderRelax(1);
    if (!logFolder.empty()) {
        decoder->put_LogPathName(logFolder);
        decoder->put_LogFileName("bench");
        if (nimbo::Failed(decoder->put_LogRaw(1)) || nimbo::Failed(decoder->put_LogText(1))) {
            std::fprintf(stderr, "decoder_bench: cannot open the logs in %s\n", logFolder.c_str());
            std::exit(1);
        }
    }
    FeedOnce(*decoder, text, options.fragment);  // warm-up, and the counts of one pass
    Measure measure;
    measure.reportsPerPass = sink.reports;
    measure.linesPerPass = sink.lines;
    measure.memoryAfterFirstPass = PeakMemoryKilobytes();
    const auto start = Clock::now();
    const double cpuStart = bench::ThreadCpuSeconds();
    double elapsed = 0;
    do {
        FeedOnce(*decoder, text, options.fragment);
        ++measure.passes;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < options.seconds);
    const double cpu = bench::ThreadCpuSeconds() - cpuStart;
    measure.megabytesPerSecond = text.size() * measure.passes / elapsed / 1e6;
    measure.megabytesPerCpuSecond = text.size() * measure.passes / cpu / 1e6;
    measure.reportsPerCpuSecond = measure.reportsPerPass * measure.passes / cpu;
    measure.reportsPerSecond = measure.reportsPerPass * measure.passes / elapsed;
    measure.memoryAtEnd = PeakMemoryKilobytes();
    decoder->Unadvise(cookie);
    return measure;
}

Options ParseArgs(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            options.seconds = std::atof(argv[++i]);
        } else if (arg == "--fragment" && i + 1 < argc) {
            options.fragment = std::max(1L, std::atol(argv[++i]));
        } else if (arg == "--null-only") {
            options.nullOnly = true;
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr,
                         "Usage: decoder_bench [--seconds S] [--fragment N] [--null-only] "
                         "FILE_OR_FOLDER...\n");
            std::exit(2);
        } else {
            options.inputs.push_back(arg);
        }
    }
    if (options.inputs.empty()) {
        std::fprintf(stderr, "decoder_bench: name the bulletin files or folders\n");
        std::exit(2);
    }
    return options;
}

void Print(const char* name, const Measure& m) {
    std::printf(
        "%-19s %7.1f MB/s %9.0f reports/s wall; %7.1f MB/s %9.0f reports/s per CPU"
        " second (%ld passes)\n",
        name, m.megabytesPerSecond, m.reportsPerSecond, m.megabytesPerCpuSecond,
        m.reportsPerCpuSecond, m.passes + 1);
    std::printf("%-19s peak memory %ld KB after one pass, %ld KB after all passes\n", "",
                m.memoryAfterFirstPass, m.memoryAtEnd);
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseArgs(argc, argv);
    int files = 0;
    const std::string text = bench::LoadBulletins(options.inputs, &files);
    const auto logFolder =
        std::filesystem::temp_directory_path() / ("decoder_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(logFolder);

    const long memoryBefore = PeakMemoryKilobytes();
    const Measure quiet = Run(text, options, {});
    const Measure logged = options.nullOnly ? Measure{} : Run(text, options, logFolder.string());
    std::filesystem::remove_all(logFolder);

    std::printf(
        "decoder_bench: %d files, %.2f MB per pass, %ld reports and %ld lines per pass,"
        " fragments of %zu bytes\n",
        files, text.size() / 1e6, quiet.reportsPerPass, quiet.linesPerPass, options.fragment);
    Print("null sink:", quiet);
    if (!options.nullOnly) Print("raw and text logs:", logged);
    std::printf("peak memory with the input loaded, before decoding: %ld KB\n", memoryBefore);
    return 0;
}
