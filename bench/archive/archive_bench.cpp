// Speed of the observation archive over real bulletins: importing them
// (decoding and storing, what nimbo --db does) until the archive holds a
// million reports, decoding alone for comparison, and reading one station's
// history (the ten days the history window shows, and all of it) from that
// archive.
//
// Usage: archive_bench [--reports N] [--keep FILE] FILE_OR_FOLDER...
// The bulletins are imported again and again, each pass as if received in
// another year (the decoder takes the year from the clock), so that every
// pass stores the real mix of new reports, corrections, delayed reports and
// repetitions again, until N reports (default 1,000,000) are held. The archive is made in the
// current folder and removed at the end unless --keep names where it goes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "bench_input.h"
#include "no_op_decoder_events.h"
#include "weather_decoder.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    std::size_t reports = 1000000;
    std::string keep;
    std::vector<std::string> inputs;
};

// Observations counted, and the stations seen.
class StationCollector : public nimbo::_IWeatherObservationEvents {
  public:
    std::size_t reports = 0;
    std::set<std::string> stations;
    void Observation(const nimbo::WeatherObservation& observation) override {
        ++reports;
        if (observation.day && observation.hour) stations.insert(observation.station);
    }
};

// Counts the bulletins that end with "NNNN": each is one transaction.
class BulletinCounter : public nimbo::NoOpDecoderEvents {
  public:
    std::size_t ends = 0;
    void Message(std::int32_t start, const std::string&) override { ends += start == 0; }
};

// Hands each observation on as if observed in another year.
class YearShift : public nimbo::_IWeatherObservationEvents {
  public:
    explicit YearShift(nimbo::ArchiveWriter& writer) : m_writer(writer) {}
    void SetYear(int year) { m_year = year; }
    void Observation(const nimbo::WeatherObservation& observation) override {
        // The record is the parser's own, valid during the call: changed in
        // place, so the benchmark adds no copy the import would not make.
        if (observation.year) const_cast<nimbo::WeatherObservation&>(observation).year = m_year;
        m_writer.Observation(observation);
    }

  private:
    nimbo::ArchiveWriter& m_writer;
    int m_year = 0;
};

// Feeds the text in blocks of 4096 bytes, as nimbo reads it.
void Feed(nimbo::IWeatherDecoder& decoder, const std::string& text) {
    std::string piece;
    for (std::size_t at = 0; at < text.size(); at += 4096) {
        piece.assign(text, at, 4096);
        decoder.Parse(piece.c_str());
    }
}

nimbo::ComponentRef<nimbo::IWeatherDecoder> NewDecoder() {
    nimbo::ComponentRef<nimbo::IWeatherDecoder> decoder(new nimbo::WeatherDecoder());
    decoder->put_DecoderRelax(1);
    return decoder;
}

template <class Sink>
void ConnectObservations(nimbo::IWeatherDecoder& decoder, Sink& sink) {
    void* object = nullptr;
    decoder.QueryInterface(nimbo::IWeatherObservationSource::kIid, &object);
    nimbo::ComponentRef<nimbo::IWeatherObservationSource> source(
        static_cast<nimbo::IWeatherObservationSource*>(object));
    std::uint32_t cookie = 0;
    source->Advise(&sink, &cookie);
}

// Decoding alone, with an observation sink that only counts: reports per CPU second.
double DecodeOnly(const std::string& text, StationCollector& collector) {
    auto decoder = NewDecoder();
    ConnectObservations(*decoder, collector);
    const double start = bench::ThreadCpuSeconds();
    Feed(*decoder, text);
    decoder.Reset();
    return collector.reports / (bench::ThreadCpuSeconds() - start);
}

std::size_t Handled(const nimbo::StoreCounts& c) {
    return c.added + c.corrected + c.filled + c.unchanged + c.conflicts + c.unkeyed;
}

// Imports passes until the archive holds `target` reports; prints the
// rate over the whole import and over its first and last passes.
void Import(const std::string& text, const std::string& path, std::size_t target) {
    std::string error;
    auto archive = nimbo::ObservationArchive::Open(
        path, nimbo::ObservationArchive::Access::kReadWrite, &error);
    if (!archive) {
        std::fprintf(stderr, "archive_bench: %s\n", error.c_str());
        std::exit(1);
    }
    nimbo::ArchiveWriter writer(*archive);
    double cpu = 0;
    double firstRate = 0;
    double lastRate = 0;
    int pass = 0;
    const auto wallStart = Clock::now();
    auto decoder = NewDecoder();
    YearShift shift(writer);
    ConnectObservations(*decoder, shift);
    std::uint32_t cookie = 0;
    decoder->Advise(&writer, &cookie);
    BulletinCounter bulletins;
    decoder->Advise(&bulletins, &cookie);
    for (; writer.Counts().added < target; ++pass) {
        shift.SetYear(2026 - pass);
        const std::size_t before = Handled(writer.Counts());
        const double start = bench::ThreadCpuSeconds();
        Feed(*decoder, text);
        if (!writer.Flush()) {
            std::fprintf(stderr, "archive_bench: %s\n", writer.Error().c_str());
            std::exit(1);
        }
        const double used = bench::ThreadCpuSeconds() - start;
        cpu += used;
        lastRate = (Handled(writer.Counts()) - before) / used;
        if (pass == 0) firstRate = lastRate;
    }
    const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    std::printf(
        "import (decode and store): %zu reports in %d passes, %.1f s CPU (%.1f s wall):"
        " %.0f reports per CPU second; first pass %.0f, last pass %.0f\n",
        Handled(writer.Counts()), pass, cpu, wall, Handled(writer.Counts()) / cpu, firstRate,
        lastRate);
    std::printf(
        "                           %.1f reports per bulletin ending in NNNN; held: %s\n",
        static_cast<double>(Handled(writer.Counts())) / std::max<std::size_t>(1, bulletins.ends),
        nimbo::DescribeCounts(writer.Counts()).c_str());
}

// Times LatestDay + the ten days, and the whole history, of each station.
void History(const std::string& path, const std::set<std::string>& stations) {
    std::string error;
    auto archive =
        nimbo::ObservationArchive::Open(path, nimbo::ObservationArchive::Access::kReadOnly, &error);
    if (!archive) {
        std::fprintf(stderr, "archive_bench: %s\n", error.c_str());
        std::exit(1);
    }
    std::printf("archive: %lld reports, %.0f MB\n", static_cast<long long>(archive->Count()),
                std::filesystem::file_size(path) / 1e6);
    for (const bool tenDays : {true, false}) {
        double total = 0;
        double worst = 0;
        std::size_t rows = 0;
        for (const std::string& station : stations) {
            std::vector<nimbo::ArchivedReport> reports;
            const auto start = Clock::now();
            std::optional<std::chrono::year_month_day> since;
            if (tenDays) {
                if (const auto latest = archive->LatestDay(station)) {
                    since = std::chrono::sys_days(*latest) - std::chrono::days(9);
                }
            }
            archive->History(station, since, &reports);
            const double ms =
                std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            total += ms;
            worst = std::max(worst, ms);
            rows += reports.size();
        }
        std::printf(
            "history, %s: %zu stations, %.0f reports each on average;"
            " %.2f ms on average, %.2f ms at most (wall)\n",
            tenDays ? "ten days up to the latest" : "all of it", stations.size(),
            static_cast<double>(rows) / stations.size(), total / stations.size(), worst);
    }
}

Options ParseArgs(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--reports" && i + 1 < argc) {
            options.reports = std::strtoul(argv[++i], nullptr, 10);
        } else if (arg == "--keep" && i + 1 < argc) {
            options.keep = argv[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr,
                         "Usage: archive_bench [--reports N] [--keep FILE] FILE_OR_FOLDER...\n");
            std::exit(2);
        } else {
            options.inputs.push_back(arg);
        }
    }
    if (options.inputs.empty()) {
        std::fprintf(stderr, "archive_bench: name the bulletin files or folders\n");
        std::exit(2);
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseArgs(argc, argv);
    int files = 0;
    const std::string text = bench::LoadBulletins(options.inputs, &files);
    const std::string path = options.keep.empty() ? "archive_bench.sqlite" : options.keep;
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);

    StationCollector collector;
    const double decodeRate = DecodeOnly(text, collector);
    std::printf("archive_bench: %d files, %.2f MB, %zu reports per pass\n", files,
                text.size() / 1e6, collector.reports);
    std::printf("decode alone: %.0f reports per CPU second\n", decodeRate);
    Import(text, path, options.reports);
    History(path, collector.stations);
    if (options.keep.empty()) {
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
    }
    return 0;
}
