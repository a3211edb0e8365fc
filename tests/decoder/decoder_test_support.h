// Test vocabulary for the decoder: a sink that records every event as text,
// a scratch folder that becomes the current directory, and a decoder harness.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "weather_decoder.h"
#include "weather_decoder_interface.h"

namespace nimbo::testing {

// One recorded event.
struct Event {
    std::string kind{};  // "Message", "Bloc", "Indicator", "Guess", "Error", "Separator",
                         // "Result", "Position", "Temperature", "Pressure"
    std::string text{};  // reference, indicator, data, or ident for Position
    int a = 0;           // start, state, level
    int b = 0;           // slevel, sea
    float x = 0;         // lat, tmp, prs
    float y = 0;         // lng
    std::string name{};
    std::string country{};

    std::string Describe() const;
    bool operator==(const Event&) const = default;
};

class RecordingSink : public _IWeatherDecoderEvents {
  public:
    std::vector<Event> events;

    void Message(std::int32_t start, const std::string& reference) override;
    void Bloc(std::int32_t state) override;
    void Indicator(const std::string& indicator) override;
    void Guess(const std::string& indicator) override;
    void Error(const std::string& data) override;
    void Separator(std::int32_t level) override;
    void Result(const std::string& data, std::int32_t level, std::int32_t slevel) override;
    void Position(float lat, float lng, const std::string& ident, const std::string& name,
                  const std::string& country) override;
    void Temperature(float tmp, std::int32_t sea) override;
    void Pressure(float prs, std::int32_t sea) override;

    // Concatenated Result texts: the decoded text as a reader sees it.
    std::string Text() const;
    // Every event, one description per line.
    std::string Transcript() const;
    std::vector<Event> OfKind(const std::string& kind) const;
    std::vector<std::string> Errors() const;
};

// The station of every "Station Identity:" line, in order.
std::vector<std::string> StationIdentities(const RecordingSink& sink);

// A fresh folder that is the current directory while the object lives.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
    std::string m_previous;
};

// Whole content of a file under tests/data.
std::string ReadTestData(const std::string& relativePath);
// Whole content of any file ("" when missing).
std::string ReadFile(const std::string& path);

// Every data file under tests/data/synop (not its README or LICENSE), sorted.
std::vector<std::string> RealDataFiles();

// Every harness decodes against this reference date, so the month and year
// of the time lines do not depend on the day the tests run.
inline constexpr const char* kReferenceDate = "2026-12-07";

// A decoder with a recording sink, run in a scratch folder.
class DecoderHarness {
  public:
    // withCatalogue: copy the bundled catalogue into the scratch folder.
    explicit DecoderHarness(bool withCatalogue = true);
    ~DecoderHarness();

    void Feed(const std::string& text);
    WeatherDecoder& Decoder() { return *m_decoder; }
    RecordingSink& Sink() { return m_sink; }
    std::string Text() const { return m_sink.Text(); }
    std::vector<std::string> Errors() const { return m_sink.Errors(); }
    const std::string& Folder() const { return m_folder.Path(); }
    // Destroys the decoder (closing its logs).
    void Destroy();

  private:
    ScratchFolder m_folder;
    RecordingSink m_sink;
    WeatherDecoder* m_decoder = nullptr;
};

// What one decode gave: the text after the line holding `after`, every event, every error.
struct Decoded {
    std::string text;
    std::vector<Event> events;
    std::vector<std::string> errors;
    std::vector<Event> OfKind(const std::string& kind) const;
};

struct DecodeOptions {
    bool quiet = false;
    bool relax = true;
    bool catalogue = false;
};

// Decodes `bulletin` with a fresh decoder; the text starts after the first
// line that holds `after` (the whole text when `after` is empty or no line holds it).
Decoded DecodeAfter(const std::string& bulletin, const std::string& after,
                    DecodeOptions options = {});

// A land bulletin (AAXX 06121) and a ship bulletin (BBXX) around `reports`.
std::string LandBulletin(const std::string& reports);
std::string ShipBulletin(const std::string& reports);

}  // namespace nimbo::testing
