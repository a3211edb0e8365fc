// Fuzz target over the weather decoder's Parse: the input is cut into
// fragments of varying size, the decoder's modes are set and toggled between
// fragments, and every event is checked against what the interface promises.
//
// Input layout: byte 0 selects the starting modes and the catalogue, byte 1 seeds the fragment
// sizes and the toggles; the rest is the received text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "weather_decoder.h"

#ifndef NIMBO_FUZZ_CATALOGUE_DIR
#define NIMBO_FUZZ_CATALOGUE_DIR "/nonexistent"
#endif

namespace {

// Stops the run at the first broken promise, so the fuzzer keeps the input.
void Require(bool condition) {
    if (!condition) std::abort();
}

class CheckingSink : public nimbo::_IWeatherDecoderEvents {
  public:
    void Message(std::int32_t start, const std::string& reference) override {
        Require(start == 0 || start == 1);
        Require(start == 1 || reference == "??");
    }
    void Bloc(std::int32_t state) override { Require(state == 1); }
    void Indicator(const std::string& indicator) override {
        Require(indicator == "AAXX" || indicator == "OOXX" || indicator == "BBXX");
    }
    void Guess(const std::string& indicator) override {
        Require(indicator == "AAXX" || indicator == "BBXX");
    }
    void Error(const std::string& data) override {
        Require(data.rfind("DATA ERROR:        ", 0) == 0 && data.back() == '\n');
    }
    void Separator(std::int32_t level) override { Require(level >= 0 && level <= 2); }
    void Result(const std::string& data, std::int32_t level, std::int32_t slevel) override {
        Require(!data.empty());
        Require(level == 0 || level == 1 || level == 2 || level == 4);
        Require(slevel == 0 || slevel == 1);
    }
    void Position(float lat, float lng, const std::string&, const std::string&,
                  const std::string&) override {
        Require(lat >= -91.0f && lat <= 91.0f && lng >= -181.0f && lng <= 181.0f);
    }
    void Temperature(float tmp, std::int32_t sea) override {
        Require(sea == 0 || sea == 1);
        Require(tmp > -100.0f && tmp < 100.0f);
    }
    void Pressure(float prs, std::int32_t sea) override {
        Require(sea == 0 || sea == 1);
        Require(prs == prs);
    }
};

// Small deterministic generator for fragment sizes and toggles.
class Steps {
  public:
    explicit Steps(std::uint8_t seed) : m_state(seed * 2654435761u + 1) {}
    std::uint32_t Next() {
        m_state = m_state * 1103515245u + 12345u;
        return m_state >> 16;
    }

  private:
    std::uint32_t m_state;
};

// Flips one mode, or asks for a resynchronisation.
void ToggleOneMode(nimbo::IWeatherDecoder& decoder, std::uint32_t choice) {
    using D = nimbo::IWeatherDecoder;
    static constexpr std::pair<nimbo::HRESULT (D::*)(std::int32_t*),
                               nimbo::HRESULT (D::*)(std::int32_t)>
        kModes[] = {{&D::get_DecoderRelax, &D::put_DecoderRelax},
                    {&D::get_DecoderQuiet, &D::put_DecoderQuiet},
                    {&D::get_MessageLock, &D::put_MessageLock},
                    {&D::get_DecoderLock, &D::put_DecoderLock}};
    if (choice % 5 == 4) {
        decoder.put_DecoderResyn(1);
        return;
    }
    const auto [get, put] = kModes[choice % 5];
    std::int32_t value = 0;
    (decoder.*get)(&value);
    (decoder.*put)(!value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t modes = data[0];
    Steps steps(data[1]);
    const char* text = reinterpret_cast<const char*>(data + 2);
    const std::size_t length = size - 2;

    // Mostly without a catalogue (lookups find nothing and construction stays
    // cheap); one input in four also goes through the bundled one.
    const char* catalogue = (modes & 192) == 192 ? NIMBO_FUZZ_CATALOGUE_DIR : "/nonexistent";
    nimbo::ComponentRef<nimbo::IWeatherDecoder> decoder(
        new nimbo::WeatherDecoder(std::string(catalogue)));
    CheckingSink sink;
    std::uint32_t cookie = 0;
    decoder->Advise(&sink, &cookie);
    decoder->put_DecoderRelax(modes & 1);
    decoder->put_DecoderQuiet(modes & 2);
    decoder->put_MessageLock(modes & 4);
    decoder->put_DecoderLock(!(modes & 8));
    const bool toggles = modes & 16;
    const bool whole = modes & 32;

    std::string piece;
    for (std::size_t at = 0; at < length;) {
        std::size_t take = whole ? length - at : 1 + steps.Next() % 64;
        if (take > length - at) take = length - at;
        piece.assign(text + at, take);
        // Parse reads up to the first NUL, as a caller's C string would end there.
        decoder->Parse(piece.c_str());
        at += take;
        if (toggles && steps.Next() % 4 == 0) ToggleOneMode(*decoder, steps.Next());
    }
    decoder->Unadvise(cookie);
    return 0;
}
