// The decoder component object. Every member catches what the standard
// library may throw (only allocation failures), so nothing crosses the
// component boundary.
#include "weather_decoder.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "decoder_logs.h"

namespace nimbo {
namespace {

template <class Body>
HRESULT Guarded(Body body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT GetFlag(bool flag, std::int32_t* value) {
    if (value == nullptr) return E_POINTER;
    *value = flag ? 1 : 0;
    return S_OK;
}

HRESULT GetText(const std::string& text, std::string* value) {
    if (value == nullptr) return E_POINTER;
    return Guarded([&] {
        *value = text;
        return S_OK;
    });
}

}  // namespace

WeatherDecoder::WeatherDecoder() : WeatherDecoder(StationCatalogue::FindFolder()) {}

WeatherDecoder::WeatherDecoder(const std::string& catalogueFolder)
    : m_catalogue(catalogueFolder),
      m_parser(m_sinks, m_observationSinks, m_rawLog, m_catalogue, m_options),
      m_splitter(m_parser, m_sinks, m_options) {
    Initialise();
}

void WeatherDecoder::Initialise() {
    m_startDirectory = CurrentDirectory();
    std::string folder;
    std::string name;
    get_LogPathName(&folder);
    put_LogPathName(folder);
    get_LogFileName(&name);
    put_LogFileName(name);
}

WeatherDecoder::~WeatherDecoder() {
    try {
        m_parser.FinishHeldGroups();
        m_parser.FinishObservation();
        m_parser.FinishRawBulletin();
        m_rawLog.Open(false, m_logBase);
        m_textLog.Open(false, m_logBase);
    } catch (...) {
    }
    m_sinks.DisconnectAll();
    m_observationSinks.DisconnectAll();
}

std::uint32_t WeatherDecoder::AddRef() { return ++m_references; }

std::uint32_t WeatherDecoder::Release() {
    const std::uint32_t left = --m_references;
    if (left == 0) delete this;
    return left;
}

HRESULT WeatherDecoder::Parse(const char* data) {
    if (data == nullptr) return E_POINTER;
    return Guarded([&] {
        m_splitter.Parse(std::string_view(data, std::strlen(data)));
        return S_OK;
    });
}

HRESULT WeatherDecoder::get_MessageLock(std::int32_t* value) {
    return GetFlag(m_options.messageLock, value);
}
HRESULT WeatherDecoder::put_MessageLock(std::int32_t value) {
    m_options.messageLock = value != 0;
    return S_OK;
}

HRESULT WeatherDecoder::get_DecoderLock(std::int32_t* value) {
    return GetFlag(m_options.decoderLock, value);
}
HRESULT WeatherDecoder::put_DecoderLock(std::int32_t value) {
    m_options.decoderLock = value != 0;
    return S_OK;
}

HRESULT WeatherDecoder::get_DecoderRelax(std::int32_t* value) {
    return GetFlag(m_options.relax, value);
}
HRESULT WeatherDecoder::put_DecoderRelax(std::int32_t value) {
    m_options.relax = value != 0;
    return S_OK;
}

// The request is one-shot: the parser consumes it at its next token and the
// splitter withdraws it at the next indicator, which is what reading shows.
HRESULT WeatherDecoder::get_DecoderResyn(std::int32_t* value) {
    return GetFlag(m_options.resyn, value);
}
HRESULT WeatherDecoder::put_DecoderResyn(std::int32_t value) {
    m_options.resyn = value != 0;
    m_parser.SetResyn(value != 0);
    return S_OK;
}

HRESULT WeatherDecoder::get_DecoderQuiet(std::int32_t* value) {
    return GetFlag(m_options.quiet, value);
}
HRESULT WeatherDecoder::put_DecoderQuiet(std::int32_t value) {
    m_options.quiet = value != 0;
    return S_OK;
}

HRESULT WeatherDecoder::get_LogPathName(std::string* value) {
    if (value == nullptr) return E_POINTER;
    return Guarded([&] {
        *value = DefaultLogFolder(m_startDirectory);
        return S_OK;
    });
}

HRESULT WeatherDecoder::put_LogPathName(const std::string& value) {
    return Guarded([&] {
        if (!value.empty()) m_logFolder = value;
        m_logBase = LogBasePath(m_logFolder, m_logFileName);
        return S_OK;
    });
}

HRESULT WeatherDecoder::get_LogFileName(std::string* value) {
    if (value == nullptr) return E_POINTER;
    return Guarded([&] {
        *value = DefaultLogFileName(m_nodeName, LocalTimeNow());
        return S_OK;
    });
}

HRESULT WeatherDecoder::put_LogFileName(const std::string& value) {
    return Guarded([&] {
        if (!value.empty()) m_logFileName = value;
        m_logBase = LogBasePath(m_logFolder, m_logFileName);
        return S_OK;
    });
}

HRESULT WeatherDecoder::get_NodeName(std::string* value) { return GetText(m_nodeName, value); }
HRESULT WeatherDecoder::put_NodeName(const std::string& value) {
    return Guarded([&] {
        m_nodeName = value;
        return S_OK;
    });
}

// Reading a log flag answers whether the log is open.
HRESULT WeatherDecoder::get_LogRaw(std::int32_t* value) {
    return GetFlag(m_rawLog.IsOpen(), value);
}
HRESULT WeatherDecoder::put_LogRaw(std::int32_t value) {
    return Guarded([&] { return m_rawLog.Open(value != 0, m_logBase) ? S_OK : E_ACCESSDENIED; });
}

HRESULT WeatherDecoder::get_LogText(std::int32_t* value) {
    return GetFlag(m_textLog.IsOpen(), value);
}
// The open text log hears every event ahead of the clients.
HRESULT WeatherDecoder::put_LogText(std::int32_t value) {
    return Guarded([&] {
        const bool open = m_textLog.Open(value != 0, m_logBase);
        if (open && m_textLogCookie == 0) m_textLogCookie = m_sinks.ConnectFirst(&m_textLog);
        if (!open && m_textLogCookie != 0) m_sinks.Unadvise(std::exchange(m_textLogCookie, 0));
        return open ? S_OK : E_ACCESSDENIED;
    });
}

HRESULT WeatherDecoder::get_ReferenceDate(std::string* value) {
    if (value == nullptr) return E_POINTER;
    return Guarded([&] {
        value->clear();
        if (const auto& date = m_parser.ReferenceDateSet()) {
            char text[16];
            std::snprintf(text, sizeof text, "%04d-%02d-%02d", date->year, date->month, date->day);
            *value = text;
        }
        return S_OK;
    });
}

HRESULT WeatherDecoder::put_ReferenceDate(const std::string& value) {
    if (value.empty()) {
        m_parser.SetReferenceDate(std::nullopt);
        return S_OK;
    }
    const auto date = ParseIsoDate(value);
    if (!date) return E_INVALIDARG;
    m_parser.SetReferenceDate(date);
    return S_OK;
}

HRESULT WeatherDecoder::Advise(_IWeatherDecoderEvents* sink, std::uint32_t* cookie) {
    return m_sinks.Advise(sink, cookie);
}

HRESULT WeatherDecoder::Unadvise(std::uint32_t cookie) { return m_sinks.Unadvise(cookie); }

HRESULT WeatherDecoder::LogStatus::TakeLogFailures(std::string* text) {
    if (text == nullptr) return E_POINTER;
    return Guarded([&] {
        std::string raw = m_owner.m_rawLog.TakeFailure();
        const std::string log = m_owner.m_textLog.TakeFailure();
        *text = raw.empty() || log.empty() ? raw + log : raw + "\n" + log;
        return S_OK;
    });
}

HRESULT WeatherDecoder::QueryInterface(std::string_view iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (iid == IWeatherDecoder::kIid) {
        *object = static_cast<IWeatherDecoder*>(this);
    } else if (iid == IWeatherObservationSource::kIid) {
        *object = static_cast<IWeatherObservationSource*>(&m_observationPoint);
    } else if (iid == IDecoderLogStatus::kIid) {
        *object = static_cast<IDecoderLogStatus*>(&m_logStatus);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

}  // namespace nimbo
