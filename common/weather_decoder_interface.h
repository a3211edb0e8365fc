// The weather decoder's component interfaces: IWeatherDecoder (what a client
// calls) and _IWeatherDecoderEvents (what a client implements to hear the
// decoder). Texts are Windows-1252 bytes; Parse takes a zero-terminated string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "component_ids.h"
#include "component_object.h"
#include "result_codes.h"

namespace nimbo {

// Member numbers of IWeatherDecoder, kept for clients that dispatch by number.
enum WeatherDecoderDispId : std::int32_t {
    kDispIdParse = 1,
    kDispIdMessageLock = 2,
    kDispIdDecoderLock = 3,
    kDispIdDecoderRelax = 4,
    kDispIdDecoderResyn = 5,
    kDispIdDecoderQuiet = 6,
    kDispIdLogPathName = 7,
    kDispIdLogFileName = 8,
    kDispIdNodeName = 9,
    kDispIdLogRaw = 10,
    kDispIdLogText = 11,
    kDispIdReferenceDate = 12,
};

// Event numbers of _IWeatherDecoderEvents.
enum WeatherDecoderEventDispId : std::int32_t {
    kDispIdMessage = 1,
    kDispIdBloc = 2,
    kDispIdIndicator = 3,
    kDispIdGuess = 4,
    kDispIdError = 5,
    kDispIdSeparator = 6,
    kDispIdResult = 7,
    kDispIdPosition = 8,
    kDispIdTemperature = 9,
    kDispIdPressure = 10,
};

// Event sink. The decoder calls these synchronously from inside Parse or a
// property put, in the order the events arise; every connected sink receives
// every event in turn. Arguments are only valid for the duration of the call.
// Exceptions thrown by a sink are swallowed by the decoder.
class _IWeatherDecoderEvents {
  public:
    virtual ~_IWeatherDecoderEvents() = default;
    // Start 1: a "ZCZC" message starts (reference, or "??"); 0: "NNNN" seen.
    virtual void Message(std::int32_t start, const std::string& reference) = 0;
    // An empty line; state is always 1.
    virtual void Bloc(std::int32_t state) = 0;
    // A token contains "AAXX", "OOXX" or "BBXX".
    virtual void Indicator(const std::string& indicator) = 0;
    // After a resynchronisation: the kind taken for the following reports.
    virtual void Guess(const std::string& indicator) = 0;
    // "DATA ERROR:        " + group + line feed.
    virtual void Error(const std::string& data) = 0;
    // 0 bulletin heading, 1 report, 2 section.
    virtual void Separator(std::int32_t level) = 0;
    // One decoded line or line part (never empty).
    virtual void Result(const std::string& data, std::int32_t level, std::int32_t slevel) = 0;
    // A station position, degrees, north and east positive.
    virtual void Position(float lat, float lng, const std::string& ident, const std::string& name,
                          const std::string& country) = 0;
    // Air temperature (sea 0) or sea-surface temperature (sea 1), in degrees C.
    virtual void Temperature(float tmp, std::int32_t sea) = 0;
    // Station pressure (sea 0) or sea-level pressure (sea 1), in hPa.
    virtual void Pressure(float prs, std::int32_t sea) = 0;
};

// The decoder. Every member returns a result code; booleans are 32-bit
// integers (non-zero true, getters answer 0 or 1). A null out-pointer gives
// E_POINTER. Only the LogRaw and LogText puts fail otherwise: they answer
// E_ACCESSDENIED whenever their log is not open after the call.
class IWeatherDecoder : public IComponentObject {
  public:
    static constexpr std::string_view kIid = kIidIWeatherDecoder;

    virtual HRESULT Parse(const char* data) = 0;
    virtual HRESULT get_MessageLock(std::int32_t* value) = 0;
    virtual HRESULT put_MessageLock(std::int32_t value) = 0;
    virtual HRESULT get_DecoderLock(std::int32_t* value) = 0;
    virtual HRESULT put_DecoderLock(std::int32_t value) = 0;
    virtual HRESULT get_DecoderRelax(std::int32_t* value) = 0;
    virtual HRESULT put_DecoderRelax(std::int32_t value) = 0;
    virtual HRESULT get_DecoderResyn(std::int32_t* value) = 0;
    virtual HRESULT put_DecoderResyn(std::int32_t value) = 0;
    virtual HRESULT get_DecoderQuiet(std::int32_t* value) = 0;
    virtual HRESULT put_DecoderQuiet(std::int32_t value) = 0;
    virtual HRESULT get_LogPathName(std::string* value) = 0;
    virtual HRESULT put_LogPathName(const std::string& value) = 0;
    virtual HRESULT get_LogFileName(std::string* value) = 0;
    virtual HRESULT put_LogFileName(const std::string& value) = 0;
    virtual HRESULT get_NodeName(std::string* value) = 0;
    virtual HRESULT put_NodeName(const std::string& value) = 0;
    virtual HRESULT get_LogRaw(std::int32_t* value) = 0;
    virtual HRESULT put_LogRaw(std::int32_t value) = 0;
    virtual HRESULT get_LogText(std::int32_t* value) = 0;
    virtual HRESULT put_LogText(std::int32_t value) = 0;

    // Connection point for _IWeatherDecoderEvents. The sink is not owned; it
    // must stay alive until Unadvise or until the decoder is destroyed.
    // *cookie receives a non-zero number that identifies the connection.
    virtual HRESULT Advise(_IWeatherDecoderEvents* sink, std::uint32_t* cookie) = 0;
    // CONNECT_E_NOCONNECTION when the cookie names no connection.
    virtual HRESULT Unadvise(std::uint32_t cookie) = 0;

    // The date that observations are placed before, "YYYY-MM-DD" (UTC): a
    // report's day of the month belongs to the latest such day not after it.
    // Empty (the initial value): today. E_INVALIDARG for any other text.
    virtual HRESULT get_ReferenceDate(std::string* value) {
        if (value == nullptr) return E_POINTER;
        return E_NOTIMPL;
    }
    virtual HRESULT put_ReferenceDate(const std::string& value) {
        static_cast<void>(value);
        return E_NOTIMPL;
    }

    // Another interface of the same object, by identifier, with one reference
    // added (the decoder serves IWeatherObservationSource this way); null and
    // E_NOINTERFACE for an interface the object does not have.
    virtual HRESULT QueryInterface(std::string_view iid, void** object) {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (iid != kIid) return E_NOINTERFACE;
        AddRef();
        *object = this;
        return S_OK;
    }
};

}  // namespace nimbo
