// WeatherDialog: the component members, the decoder's life cycle and the
// pause buffer. Members that need the window or the decoder answer S_FALSE
// without them.
#include "weather_dialog.h"

#include <QApplication>
#include <QFile>
#include <QRect>
#include <QTimer>
#include <algorithm>
#include <array>

#include "component_loader.h"
#include "decoder_event_renderer.h"
#include "decoder_log_status.h"
#include "decoder_window.h"
#include "observation_collector.h"
#include "observation_source.h"
#include "rich_text_pane.h"
#include "user_prompts.h"

namespace nimboview {

using nimbo::E_POINTER;
using nimbo::HRESULT;
using nimbo::S_FALSE;
using nimbo::S_OK;

namespace {

constexpr std::int64_t kTwipsPerInch = 1440;
constexpr std::size_t kFontNameLength = 31;

struct ModeMember {
    DecoderMode mode;
    int pane;
    const char* onText;
    const char* offText;
    HRESULT (nimbo::IWeatherDecoder::*get)(std::int32_t*);
    HRESULT (nimbo::IWeatherDecoder::*put)(std::int32_t);
};

// Each mode: its status pane, the pane's texts, the decoder's members.
const std::array<ModeMember, 5> kModeMembers = {{
    {DecoderMode::kMessageLock, 2, "M:LOCK        ", "M:UNLOCK      ",
     &nimbo::IWeatherDecoder::get_MessageLock, &nimbo::IWeatherDecoder::put_MessageLock},
    {DecoderMode::kDecoderLock, 3, "D:LOCK        ", "D:UNLOCK      ",
     &nimbo::IWeatherDecoder::get_DecoderLock, &nimbo::IWeatherDecoder::put_DecoderLock},
    {DecoderMode::kDecoderRelax, 4, "D:RELAX       ", "D:STRICT      ",
     &nimbo::IWeatherDecoder::get_DecoderRelax, &nimbo::IWeatherDecoder::put_DecoderRelax},
    {DecoderMode::kDecoderResyn, 0, "Resync  ...", "Waiting ...",
     &nimbo::IWeatherDecoder::get_DecoderResyn, &nimbo::IWeatherDecoder::put_DecoderResyn},
    {DecoderMode::kDecoderQuiet, 5, "D:QUIET       ", "D:VERBOSE     ",
     &nimbo::IWeatherDecoder::get_DecoderQuiet, &nimbo::IWeatherDecoder::put_DecoderQuiet},
}};

const ModeMember& MemberOf(DecoderMode mode) {
    return kModeMembers[static_cast<std::size_t>(mode)];
}

// Top, left, width and height of a window's frame in screen pixels, in the
// order of WindowMeasure.
std::array<int, 4> FrameMeasures(const QRect& frame) {
    return {frame.top(), frame.left(), frame.width(), frame.height()};
}

QColor FromOleColor(nimbo::OleColor colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace

WeatherDialog::WeatherDialog()
    : WeatherDialog(&WeatherDialog::LoadDecoder, std::make_shared<QtUserPrompts>()) {}

WeatherDialog::WeatherDialog(DecoderFactory factory, std::shared_ptr<UserPrompts> prompts)
    : m_factory(std::move(factory)), m_prompts(std::move(prompts)) {}

WeatherDialog::~WeatherDialog() { Destroy(0); }

WeatherDialog::DecoderRef WeatherDialog::LoadDecoder(std::string* error) {
    return nimbo::ComponentLoader::Create<nimbo::IWeatherDecoder>(nimbo::kClsidWeatherDecoder,
                                                                  error);
}

std::uint32_t WeatherDialog::AddRef() { return ++m_references; }

std::uint32_t WeatherDialog::Release() {
    const std::uint32_t left = --m_references;
    if (left == 0) delete this;
    return left;
}

HRESULT WeatherDialog::Create(std::int32_t show, std::int32_t* status) {
    if (!m_window && !CreateWindow()) {
        if (status != nullptr) *status = m_decoder ? 1 : 0;
        return S_FALSE;
    }
    if (show != 0) {
        m_window->show();
        m_shown = show;
    }
    if (status != nullptr) *status = m_decoder ? 1 : 0;
    return S_OK;
}

bool WeatherDialog::CreateWindow() {
    // The window needs the host's widget application; a second window after
    // Destroy is not offered.
    if (m_destroyed || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    m_window = std::make_unique<DecoderWindow>(*this);
    m_renderer = std::make_unique<DecoderEventRenderer>(*m_window, m_stations);
    ApplyFont();
    m_window->TextPane()->SetBackground(FromOleColor(m_backColor));
    ConnectDecoder();
    return true;
}

void WeatherDialog::ConnectDecoder() {
    std::string error;
    m_decoder = m_factory ? m_factory(&error) : DecoderRef();
    if (!m_decoder) {
        const QString library =
            QString::fromStdString(nimbo::ComponentLoader::LibraryFileName(nimbo::kNimbolibModule));
        m_prompts->Warning(m_window.get(), QStringLiteral("Weather Decoder Error"),
                           library + ": " + QString::fromStdString(error));
        return;
    }
    if (nimbo::Failed(m_decoder->Advise(m_renderer.get(), &m_cookie))) m_cookie = 0;
    ConnectObservations();
    UpdateTitle();
    ReadLogNames();
    put_DecoderResyn(0);
    for (const DecoderMode mode : {DecoderMode::kMessageLock, DecoderMode::kDecoderLock,
                                   DecoderMode::kDecoderRelax, DecoderMode::kDecoderQuiet}) {
        std::int32_t value = 0;
        GetMode(mode, &value);
        PutMode(mode, value);
    }
}

// The station models, the archive and the export come from the decoder's
// observations; a decoder that has none still decodes, the map then keeps
// its markers and there is nothing to store or export.
void WeatherDialog::ConnectObservations() {
    void* object = nullptr;
    if (nimbo::Failed(m_decoder->QueryInterface(nimbo::IWeatherObservationSource::kIid, &object))) {
        return;
    }
    m_observationSource = nimbo::ComponentRef<nimbo::IWeatherObservationSource>(
        static_cast<nimbo::IWeatherObservationSource*>(object));
    m_collector = std::make_unique<ObservationCollector>(*m_window, m_models);
    nimbo::_IWeatherObservationEvents* const sinks[] = {m_collector.get(), &m_keeper, &m_reports};
    static_assert(std::size(sinks) == std::tuple_size_v<decltype(m_observationCookies)>);
    for (std::size_t i = 0; i < std::size(sinks); ++i) {
        if (nimbo::Failed(m_observationSource->Advise(sinks[i], &m_observationCookies[i])))
            m_observationCookies[i] = 0;
    }
}

HRESULT WeatherDialog::Destroy(std::int32_t) {
    if (!m_window) return S_OK;
    if (m_decoder && m_cookie != 0) m_decoder->Unadvise(m_cookie);
    m_cookie = 0;
    if (m_observationSource) {
        for (const std::uint32_t cookie : m_observationCookies)
            if (cookie != 0) m_observationSource->Unadvise(cookie);
    }
    m_observationCookies = {};
    m_observationSource.Reset();
    m_keeper.SetArchive({}, nullptr);
    put_LogStart(0);
    m_window.reset();
    m_renderer.reset();
    m_collector.reset();
    m_destroyed = true;
    return S_OK;
}

void WeatherDialog::ReadLogNames() {
    m_decoder->get_LogPathName(&m_logPath);
    m_decoder->get_LogFileName(&m_logFileName);
}

void WeatherDialog::UpdateTitle() {
    if (!m_window) return;
    QString title = QString::fromStdString(m_caption);
    if (m_logging && !m_logFileName.empty()) {
        title += " - " + QFile::decodeName(m_logFileName.c_str());
    }
    m_window->setWindowTitle(title);
}

HRESULT WeatherDialog::get_Show(std::int32_t* value) {
    if (value == nullptr) return E_POINTER;
    *value = m_shown;
    return S_OK;
}

HRESULT WeatherDialog::put_Show(std::int32_t value) {
    if (!m_window) return S_FALSE;
    if (value != 0) {
        m_window->show();
    } else {
        m_window->hide();
    }
    m_shown = value;
    return S_OK;
}

HRESULT WeatherDialog::get_Caption(std::string* value) {
    if (value == nullptr) return E_POINTER;
    *value = m_caption;
    return S_OK;
}

HRESULT WeatherDialog::put_Caption(const std::string& value) {
    m_caption = value;
    UpdateTitle();
    return S_OK;
}

HRESULT WeatherDialog::get_BackColor(nimbo::OleColor* value) {
    if (value == nullptr) return E_POINTER;
    *value = m_backColor;
    return S_OK;
}

HRESULT WeatherDialog::put_BackColor(nimbo::OleColor value) {
    m_backColor = value;
    if (m_window) m_window->TextPane()->SetBackground(FromOleColor(value));
    return S_OK;
}

std::int64_t WeatherDialog::DotsPerInch(WindowMeasure measure) const {
    const bool vertical = measure == WindowMeasure::kTop || measure == WindowMeasure::kHeight;
    return vertical ? m_window->logicalDpiY() : m_window->logicalDpiX();
}

HRESULT WeatherDialog::GetGeometry(WindowMeasure measure, std::int32_t* value) {
    if (value == nullptr) return E_POINTER;
    *value = 0;
    if (!m_window) return S_FALSE;
    const std::int64_t dpi = DotsPerInch(measure);
    if (dpi <= 0) return S_FALSE;
    const auto index = static_cast<std::size_t>(measure);
    const int pixels = FrameMeasures(m_window->frameGeometry())[index];
    // Twips finer than a pixel come back as they were put while the window
    // still has the pixel measure they gave.
    const std::optional<PutMeasure>& put = m_putMeasures[index];
    *value = put && put->pixels == pixels ? put->twips
                                          : static_cast<std::int32_t>(pixels * kTwipsPerInch / dpi);
    return S_OK;
}

HRESULT WeatherDialog::PutGeometry(WindowMeasure measure, std::int32_t value) {
    if (!m_window) return S_FALSE;
    const auto pixels = static_cast<int>(
        std::clamp<std::int64_t>(value * DotsPerInch(measure) / kTwipsPerInch, -100000, 100000));
    QRect frame = m_window->frameGeometry();
    switch (measure) {
        case WindowMeasure::kTop:
            frame.moveTop(pixels);
            break;
        case WindowMeasure::kLeft:
            frame.moveLeft(pixels);
            break;
        case WindowMeasure::kWidth:
            frame.setWidth(std::max(1, pixels));
            break;
        case WindowMeasure::kHeight:
            frame.setHeight(std::max(1, pixels));
            break;
    }
    m_putMeasures[static_cast<std::size_t>(measure)] = PutMeasure{value, pixels};
    // Sizes are given for the whole window, frame included.
    m_window->SetFrameGeometry(frame);
    m_window->update();
    return S_OK;
}

HRESULT WeatherDialog::get_Top(std::int32_t* value) {
    return GetGeometry(WindowMeasure::kTop, value);
}
HRESULT WeatherDialog::put_Top(std::int32_t value) {
    return PutGeometry(WindowMeasure::kTop, value);
}
HRESULT WeatherDialog::get_Left(std::int32_t* value) {
    return GetGeometry(WindowMeasure::kLeft, value);
}
HRESULT WeatherDialog::put_Left(std::int32_t value) {
    return PutGeometry(WindowMeasure::kLeft, value);
}
HRESULT WeatherDialog::get_Width(std::int32_t* value) {
    return GetGeometry(WindowMeasure::kWidth, value);
}
HRESULT WeatherDialog::put_Width(std::int32_t value) {
    return PutGeometry(WindowMeasure::kWidth, value);
}
HRESULT WeatherDialog::get_Height(std::int32_t* value) {
    return GetGeometry(WindowMeasure::kHeight, value);
}
HRESULT WeatherDialog::put_Height(std::int32_t value) {
    return PutGeometry(WindowMeasure::kHeight, value);
}

void WeatherDialog::ApplyFont() {
    if (!m_window) return;
    m_window->TextPane()->SetDefaultFont(QString::fromStdString(m_fontName), m_fontSize);
    m_window->TextPane()->SetZoom(m_fontZoom);
    // A new FontSize may leave less room for the zoom.
    m_fontZoom = m_window->TextPane()->ZoomSteps();
}

HRESULT WeatherDialog::get_FontSize(std::int32_t* value) {
    if (value == nullptr) return E_POINTER;
    *value = m_fontSize;
    return S_OK;
}

HRESULT WeatherDialog::put_FontSize(std::int32_t value) {
    m_fontSize = value;
    ApplyFont();
    return S_OK;
}

HRESULT WeatherDialog::get_FontZoom(std::int32_t* value) {
    if (value == nullptr) return E_POINTER;
    *value = m_fontZoom;
    return S_OK;
}

HRESULT WeatherDialog::put_FontZoom(std::int32_t value) {
    m_fontZoom = RichTextPane::FittedZoom(m_fontSize, value);
    ApplyFont();
    return S_OK;
}

void WeatherDialog::StepFontZoom(int step) {
    if (!m_window) return;
    RichTextPane* pane = m_window->TextPane();
    pane->Zoom(step);
    if (pane->ZoomSteps() == m_fontZoom) return;
    m_fontZoom = pane->ZoomSteps();
    m_events.Raise(
        [this](nimbo::_IWeatherDialogEvents& sink) { sink.FontZoomChanged(m_fontZoom); });
}

HRESULT WeatherDialog::Advise(nimbo::_IWeatherDialogEvents* sink, std::uint32_t* cookie) {
    return m_events.Advise(sink, cookie);
}

HRESULT WeatherDialog::Unadvise(std::uint32_t cookie) { return m_events.Unadvise(cookie); }

HRESULT WeatherDialog::get_Font(std::string* value) {
    if (value == nullptr) return E_POINTER;
    *value = m_fontName;
    return S_OK;
}

HRESULT WeatherDialog::put_Font(const std::string& value) {
    m_fontName = value.substr(0, kFontNameLength);
    ApplyFont();
    return S_OK;
}

HRESULT WeatherDialog::Parse(const char* data) {
    if (!m_window || !m_decoder) return S_FALSE;
    if (data == nullptr) return E_POINTER;
    if (!m_paused) {
        Decode(data);
    } else {
        for (const std::string& text : m_pauseBuffer.Hold(data)) Decode(text.c_str());
    }
    ReportLogFailures();
    return S_OK;
}

void WeatherDialog::Decode(const char* text) {
    m_decoder->Parse(text);
    const std::optional<std::string> failure = m_keeper.Commit();
    if (!failure) return;
    // Told from the event loop: Parse runs inside the host's receive handler.
    QTimer::singleShot(0, m_window.get(), [this, text = QString::fromStdString(*failure)] {
        m_prompts->Warning(m_window.get(), QStringLiteral("Observation Archive Error"), text);
    });
}
std::string WeatherDialog::TakeLogFailures() {
    std::string text;
    void* object = nullptr;
    if (!m_decoder ||
        nimbo::Failed(m_decoder->QueryInterface(nimbo::IDecoderLogStatus::kIid, &object)))
        return text;
    const nimbo::ComponentRef<nimbo::IDecoderLogStatus> status(
        static_cast<nimbo::IDecoderLogStatus*>(object));
    status->TakeLogFailures(&text);
    return text;
}

// A failed log is closed by the decoder: the commands and the title follow,
// and the box comes from the event loop, so the host's Parse returns first
// and no received block waits for the user.
void WeatherDialog::ReportLogFailures() {
    const std::string failures = TakeLogFailures();
    if (failures.empty() || !m_window) return;
    std::int32_t raw = 0, text = 0;
    m_decoder->get_LogRaw(&raw);
    m_decoder->get_LogText(&text);
    m_logging = raw != 0 || text != 0;
    m_window->SetLoggingCommands(m_logging);
    UpdateTitle();
    const QString message = QString::fromLocal8Bit(failures.c_str()) +
                            "\nDecoding goes on; \"Open a log file\" starts logging again.";
    QTimer::singleShot(0, m_window.get(), [this, message] {
        m_prompts->Warning(m_window.get(), QStringLiteral("Weather Decoder Log Error"), message);
    });
}

void WeatherDialog::StartPause() { m_paused = true; }

void WeatherDialog::EndPause() {
    if (!m_paused) return;
    const std::string held = m_pauseBuffer.Take();
    if (m_decoder && !held.empty()) Decode(held.c_str());
    m_paused = false;
    ReportLogFailures();
}

HRESULT WeatherDialog::GetMode(DecoderMode mode, std::int32_t* value) {
    if (value == nullptr) return E_POINTER;
    *value = 0;
    if (!m_window || !m_decoder) return S_FALSE;
    return (m_decoder.Get()->*MemberOf(mode).get)(value);
}

HRESULT WeatherDialog::PutMode(DecoderMode mode, std::int32_t value) {
    if (!m_window) return S_FALSE;
    const ModeMember& member = MemberOf(mode);
    m_window->SetStatusText(member.pane,
                            QString::fromLatin1(value != 0 ? member.onText : member.offText));
    if (!m_decoder) return S_FALSE;
    return (m_decoder.Get()->*member.put)(value);
}

void WeatherDialog::ToggleModeOfPane(int pane) {
    for (const ModeMember& member : kModeMembers) {
        if (member.pane != pane || member.mode == DecoderMode::kDecoderResyn) continue;
        std::int32_t value = 0;
        GetMode(member.mode, &value);
        PutMode(member.mode, value == 0 ? 1 : 0);
        return;
    }
}

HRESULT WeatherDialog::get_MessageLock(std::int32_t* v) {
    return GetMode(DecoderMode::kMessageLock, v);
}
HRESULT WeatherDialog::put_MessageLock(std::int32_t v) {
    return PutMode(DecoderMode::kMessageLock, v);
}
HRESULT WeatherDialog::get_DecoderLock(std::int32_t* v) {
    return GetMode(DecoderMode::kDecoderLock, v);
}
HRESULT WeatherDialog::put_DecoderLock(std::int32_t v) {
    return PutMode(DecoderMode::kDecoderLock, v);
}
HRESULT WeatherDialog::get_DecoderRelax(std::int32_t* v) {
    return GetMode(DecoderMode::kDecoderRelax, v);
}
HRESULT WeatherDialog::put_DecoderRelax(std::int32_t v) {
    return PutMode(DecoderMode::kDecoderRelax, v);
}
HRESULT WeatherDialog::get_DecoderResyn(std::int32_t* v) {
    return GetMode(DecoderMode::kDecoderResyn, v);
}
HRESULT WeatherDialog::put_DecoderResyn(std::int32_t v) {
    return PutMode(DecoderMode::kDecoderResyn, v);
}
HRESULT WeatherDialog::get_DecoderQuiet(std::int32_t* v) {
    return GetMode(DecoderMode::kDecoderQuiet, v);
}
HRESULT WeatherDialog::put_DecoderQuiet(std::int32_t v) {
    return PutMode(DecoderMode::kDecoderQuiet, v);
}

HRESULT WeatherDialog::get_LogPathName(std::string* value) {
    if (value == nullptr) return E_POINTER;
    if (!m_window || !m_decoder) return S_FALSE;
    const HRESULT result = m_decoder->get_LogPathName(value);
    if (nimbo::Succeeded(result)) m_logPath = *value;
    return result;
}

HRESULT WeatherDialog::put_LogPathName(const std::string& value) {
    if (!m_window || !m_decoder) return S_FALSE;
    m_logPath = value;
    return m_decoder->put_LogPathName(value);
}

HRESULT WeatherDialog::get_LogFileName(std::string* value) {
    if (value == nullptr) return E_POINTER;
    if (!m_window || !m_decoder) return S_FALSE;
    const HRESULT result = m_decoder->get_LogFileName(value);
    if (nimbo::Succeeded(result)) m_logFileName = *value;
    return result;
}

HRESULT WeatherDialog::put_LogFileName(const std::string& value) {
    if (!m_window || !m_decoder) return S_FALSE;
    m_logFileName = value;
    return m_decoder->put_LogFileName(value);
}

HRESULT WeatherDialog::get_NodeName(std::string* value) {
    if (value == nullptr) return E_POINTER;
    if (!m_window || !m_decoder) return S_FALSE;
    return m_decoder->get_NodeName(value);
}

HRESULT WeatherDialog::put_NodeName(const std::string& value) {
    if (!m_window || !m_decoder) return S_FALSE;
    const HRESULT result = m_decoder->put_NodeName(value);
    ReadLogNames();
    m_decoder->put_LogFileName(m_logFileName);
    m_nodeName = value;
    UpdateTitle();
    return result;
}

HRESULT WeatherDialog::get_LogStart(std::int32_t* value) {
    if (value == nullptr) return E_POINTER;
    if (!m_window || !m_decoder) return S_FALSE;
    return m_decoder->get_LogRaw(value);
}

HRESULT WeatherDialog::put_LogStart(std::int32_t value) {
    const HRESULT result = StartLogging(value);
    ReportLogFailures();
    return result;
}

HRESULT WeatherDialog::StartLogging(std::int32_t value) {
    if (!m_window || !m_decoder) return S_FALSE;
    const HRESULT raw = m_decoder->put_LogRaw(value);
    const HRESULT text = m_decoder->put_LogText(value);
    if (value == 0 || (raw == S_OK && text == S_OK)) {
        m_window->SetLoggingCommands(value != 0);
        m_logging = value != 0;
        UpdateTitle();
        return S_OK;
    }
    // Starting failed: close whichever log did open.
    m_decoder->put_LogRaw(0);
    m_decoder->put_LogText(0);
    return raw != S_OK ? raw : text;
}

HRESULT WeatherDialog::get_ArchiveFile(std::string* value) {
    if (value == nullptr) return E_POINTER;
    *value = m_keeper.ArchivePath();
    return S_OK;
}

HRESULT WeatherDialog::put_ArchiveFile(const std::string& value) {
    if (!m_window) return S_FALSE;
    std::string error;
    if (m_keeper.SetArchive(value, &error)) return S_OK;
    m_prompts->Warning(m_window.get(), QStringLiteral("Observation Archive Error"),
                       QString::fromStdString(error));
    return nimbo::E_FAIL;
}

}  // namespace nimboview
