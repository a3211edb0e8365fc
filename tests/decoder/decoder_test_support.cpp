// Test vocabulary for the decoder tests.
#include "decoder_test_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace nimbo::testing {

std::string Event::Describe() const {
    char numbers[128];
    std::snprintf(numbers, sizeof numbers, "%d %d %.2f %.2f", a, b, x, y);
    return kind + " [" + text + "] " + numbers + " " + name + " " + country;
}

void RecordingSink::Message(std::int32_t start, const std::string& reference) {
    events.push_back({.kind = "Message", .text = reference, .a = start});
}
void RecordingSink::Bloc(std::int32_t state) { events.push_back({.kind = "Bloc", .a = state}); }
void RecordingSink::Indicator(const std::string& indicator) {
    events.push_back({.kind = "Indicator", .text = indicator});
}
void RecordingSink::Guess(const std::string& indicator) {
    events.push_back({.kind = "Guess", .text = indicator});
}
void RecordingSink::Error(const std::string& data) {
    events.push_back({.kind = "Error", .text = data});
}
void RecordingSink::Separator(std::int32_t level) {
    events.push_back({.kind = "Separator", .a = level});
}
void RecordingSink::Result(const std::string& data, std::int32_t level, std::int32_t slevel) {
    events.push_back({.kind = "Result", .text = data, .a = level, .b = slevel});
}
void RecordingSink::Position(float lat, float lng, const std::string& ident,
                             const std::string& name, const std::string& country) {
    events.push_back(
        {.kind = "Position", .text = ident, .x = lat, .y = lng, .name = name, .country = country});
}
void RecordingSink::Temperature(float tmp, std::int32_t sea) {
    events.push_back({.kind = "Temperature", .b = sea, .x = tmp});
}
void RecordingSink::Pressure(float prs, std::int32_t sea) {
    events.push_back({.kind = "Pressure", .b = sea, .x = prs});
}

std::string RecordingSink::Text() const {
    std::string text;
    for (const auto& event : events) {
        if (event.kind == "Result") text += event.text;
    }
    return text;
}

std::string RecordingSink::Transcript() const {
    std::string text;
    for (const auto& event : events) text += event.Describe() + "\n";
    return text;
}

std::vector<Event> RecordingSink::OfKind(const std::string& kind) const {
    std::vector<Event> found;
    std::copy_if(events.begin(), events.end(), std::back_inserter(found),
                 [&](const Event& event) { return event.kind == kind; });
    return found;
}

std::vector<std::string> RecordingSink::Errors() const {
    std::vector<std::string> errors;
    for (const auto& event : OfKind("Error")) errors.push_back(event.text);
    return errors;
}

std::vector<std::string> StationIdentities(const RecordingSink& sink) {
    std::vector<std::string> stations;
    for (std::size_t i = 0; i + 1 < sink.events.size(); ++i) {
        if (sink.events[i].text != "Station Identity:  ") continue;
        const std::string& value = sink.events[i + 1].text;
        stations.push_back(value.substr(0, value.find_first_of(" \n")));
    }
    return stations;
}

ScratchFolder::ScratchFolder() {
    char pattern[] = "/tmp/nimbo-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("no scratch folder");
    m_path = pattern;
    m_previous = std::filesystem::current_path().string();
    std::filesystem::current_path(m_path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    std::filesystem::current_path(m_previous, error);
    std::filesystem::remove_all(m_path, error);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ReadTestData(const std::string& relativePath) {
    return ReadFile(std::string(NIMBO_TEST_DATA_DIR) + "/" + relativePath);
}

std::vector<std::string> RealDataFiles() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(
             std::string(NIMBO_TEST_DATA_DIR) + "/synop")) {
        const auto name = entry.path().filename();
        if (entry.is_regular_file() && name != "README.md" && name != "LICENSE") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

namespace {

// One copy of the bundled catalogue (and its index) for the whole test
// program, removed when the program ends.
class SharedCatalogue {
  public:
    SharedCatalogue() {
        char pattern[] = "/tmp/nimbo-catalogue-XXXXXX";
        if (mkdtemp(pattern) == nullptr) throw std::runtime_error("no catalogue folder");
        m_path = pattern;
        std::filesystem::copy_file(NIMBO_CATALOGUE_SOURCE, m_path + "/wmoids.dat");
    }
    ~SharedCatalogue() {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
};

const std::string& SharedCatalogueFolder() {
    static const SharedCatalogue catalogue;
    return catalogue.Path();
}

}  // namespace

DecoderHarness::DecoderHarness(bool withCatalogue) {
    m_decoder =
        new WeatherDecoder(withCatalogue ? SharedCatalogueFolder() : std::string("/nonexistent"));
    m_decoder->put_ReferenceDate(kReferenceDate);
    std::uint32_t cookie = 0;
    m_decoder->Advise(&m_sink, &cookie);
}

DecoderHarness::~DecoderHarness() { Destroy(); }

void DecoderHarness::Destroy() {
    if (m_decoder != nullptr) std::exchange(m_decoder, nullptr)->Release();
}

void DecoderHarness::Feed(const std::string& text) { m_decoder->Parse(text.c_str()); }

Decoded DecodeAfter(const std::string& bulletin, const std::string& after, DecodeOptions options) {
    DecoderHarness harness(options.catalogue);
    harness.Decoder().put_DecoderQuiet(options.quiet ? 1 : 0);
    harness.Decoder().put_DecoderRelax(options.relax ? 1 : 0);
    harness.Feed(bulletin);
    const std::string text = harness.Text();
    auto at = after.empty() ? std::string::npos : text.find(after);
    if (at != std::string::npos) at = text.find('\n', at);
    return {at == std::string::npos ? text : text.substr(at + 1), harness.Sink().events,
            harness.Errors()};
}

std::vector<Event> Decoded::OfKind(const std::string& kind) const {
    std::vector<Event> found;
    std::copy_if(events.begin(), events.end(), std::back_inserter(found),
                 [&](const Event& event) { return event.kind == kind; });
    return found;
}

std::string LandBulletin(const std::string& reports) {
    return "ZCZC 1\nSMDL01 EDZW 061200\nAAXX 06121\n" + reports + "\nNNNN\n";
}

std::string ShipBulletin(const std::string& reports) {
    return "ZCZC 1\nSMVX01 KWBC 061200\nBBXX\n" + reports + "\nNNNN\n";
}

}  // namespace nimbo::testing
