// The weather display control as the terminal uses it.
#include "weather_control.h"

#include <algorithm>

#include "component_ids.h"
#include "component_loader.h"
#include "short_file_name.h"

namespace dovrel {

WeatherDialogRef CreateWeatherDialog(std::string* error) {
    return nimbo::ComponentLoader::Create<nimbo::IWeatherDialog>(nimbo::kProgIdWeatherDialog,
                                                                 error);
}

TwipsRect PlaceWeatherWindow(const StoredWeatherPlacement& stored, std::int32_t screenWidthTwips,
                             std::int32_t screenHeightTwips) {
    // Compared in 64 bits: a stored value near the 32-bit limit must not wrap.
    const std::int64_t maxX = std::int64_t{screenWidthTwips} - 100;
    const std::int64_t maxY = std::int64_t{screenHeightTwips} - 100;
    TwipsRect r;
    r.X = stored.Xa > maxX ? 100 : stored.Xa;
    r.Y = stored.Ya > maxY ? kDesignWindow.Y : stored.Ya;
    r.W = stored.Wa > maxX || stored.Wa <= 0 ? kDesignWindow.W : stored.Wa;
    r.H = stored.Ha > maxY || stored.Ha <= 0 ? kDesignWindow.H : stored.Ha;
    return r;
}

namespace {
constexpr std::int32_t kGapTwips = 150;  // room for the window frames between them
}  // namespace

std::int32_t WeatherLeftBeside(std::int32_t mainX, std::int32_t mainW, std::int32_t width,
                               std::int32_t screenWidthTwips) {
    const std::int64_t right = std::int64_t{mainX} + mainW + kGapTwips;
    if (right + width <= screenWidthTwips) return static_cast<std::int32_t>(right);
    const std::int64_t left = std::int64_t{mainX} - kGapTwips - width;
    if (left >= 0) return static_cast<std::int32_t>(left);
    return static_cast<std::int32_t>(std::max<std::int64_t>(0, screenWidthTwips - width));
}

std::int32_t FirstWeatherWidth(std::int32_t screenWidthTwips) {
    return std::clamp(screenWidthTwips / 2 - 2 * kGapTwips, 1, kDesignWindow.W);
}

TwipsRect DefaultMainSize(bool weatherAvailable, const TwipsRect& weatherPlaced) {
    TwipsRect r = kDesignWindow;
    if (weatherAvailable) {
        r.W = weatherPlaced.W;
        r.H = weatherPlaced.H;
    }
    return r;
}

WeatherControl::WeatherControl(const WeatherFactory& factory) {
    WeatherDialogRef dialog = factory ? factory(&m_error) : CreateWeatherDialog(&m_error);
    if (!dialog) return;
    std::int32_t status = 0;
    if (dialog->Create(0, &status) < 0 || status == 0) {
        if (m_error.empty()) m_error = "the weather control reported no decoder";
        dialog->Destroy(0);
        return;
    }
    m_dialog = std::move(dialog);
}

WeatherControl::~WeatherControl() { Destroy(); }

void WeatherControl::Configure(const std::string& nodeName) {
    if (!m_dialog) return;
    m_dialog->put_NodeName(nodeName);
    m_dialog->put_LogStart(-1);
    m_dialog->put_DecoderRelax(-1);
}

void WeatherControl::KeepReports(bool on, const std::string& instance) {
    if (!m_dialog) return;
    std::string file;
    // The decoder's default log folder: Data/ beside its logs. Without one
    // (no decoder) nothing is stored.
    if (on && m_dialog->get_LogPathName(&file) == nimbo::S_OK && !file.empty()) {
        file = ArchiveFile(file, instance);
    } else {
        file.clear();
    }
    m_dialog->put_ArchiveFile(file);
}

std::string WeatherControl::ArchiveFile(const std::string& folder, const std::string& instance) {
    return folder + "/" + nimbo::FileNamePart(instance.empty() ? "Quarnel" : instance) + ".sqlite";
}

void WeatherControl::KeepFontZoom(std::int32_t zoom, std::function<void(std::int32_t)> changed) {
    if (!m_dialog) return;
    m_dialog->put_FontZoom(zoom);
    m_events.fontZoomChanged = std::move(changed);
    if (m_cookie == 0 && m_dialog->Advise(&m_events, &m_cookie) != nimbo::S_OK) m_cookie = 0;
}

void WeatherControl::Place(const TwipsRect& placement) {
    if (!m_dialog) return;
    m_dialog->put_Left(placement.X);
    m_dialog->put_Top(placement.Y);
    m_dialog->put_Width(placement.W);
    m_dialog->put_Height(placement.H);
}

TwipsRect WeatherControl::Placement() const {
    TwipsRect r;
    if (!m_dialog) return r;
    m_dialog->get_Left(&r.X);
    m_dialog->get_Top(&r.Y);
    m_dialog->get_Width(&r.W);
    m_dialog->get_Height(&r.H);
    return r;
}

void WeatherControl::Show() {
    if (m_dialog) m_dialog->put_Show(-1);
}

void WeatherControl::Parse(const std::string& raw) {
    if (!m_dialog) return;
    // The text crosses as a zero-terminated string: a received NUL byte would
    // cut the rest of the block off, so NULs are left out.
    if (raw.find('\0') == std::string::npos) {
        m_dialog->Parse(raw.c_str());
        return;
    }
    std::string text = raw;
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    m_dialog->Parse(text.c_str());
}

void WeatherControl::Destroy() {
    if (!m_dialog) return;
    if (m_cookie != 0) m_dialog->Unadvise(m_cookie);
    m_cookie = 0;
    m_dialog->Destroy(0);
    m_dialog.Reset();
}

}  // namespace dovrel
