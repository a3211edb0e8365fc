// The terminal's side of the weather display control: creating it through
// the component loader, the calls the terminal makes on it, and the screen
// checks applied to the weather window's stored placement.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "component_object.h"
#include "weather_dialog_interface.h"
#include "window_geometry.h"

namespace dovrel {

using WeatherDialogRef = nimbo::ComponentRef<nimbo::IWeatherDialog>;

// Makes the control object; null (with a text in *error) when it cannot be
// made, for example because its library is missing.
using WeatherFactory = std::function<WeatherDialogRef(std::string* error)>;

// The program's factory: the component loader by programmatic name.
WeatherDialogRef CreateWeatherDialog(std::string* error);

// Weather window placement as stored, defaults already applied (left 100,
// the main window's design-time top, width and height).
struct StoredWeatherPlacement {
    std::int32_t Xa = 100;
    std::int32_t Ya = kDesignWindow.Y;
    std::int32_t Wa = kDesignWindow.W;
    std::int32_t Ha = kDesignWindow.H;
};

// Where the weather window goes: Xa beyond screen width - 100 becomes 100,
// Ya beyond screen height - 100 the main window's design-time top, Wa and Ha
// beyond the screen less 100 the design-time width and height. A size of
// zero or less also takes the design size, so the window cannot vanish.
TwipsRect PlaceWeatherWindow(const StoredWeatherPlacement& stored, std::int32_t screenWidthTwips,
                             std::int32_t screenHeightTwips);

// The weather window's first place, when none is stored: beside the main
// window (left mainX, width mainW) with a small gap, to its right when it
// fits on the screen, else to its left, else as far right as the screen
// allows. `width` is the weather window's width.
std::int32_t WeatherLeftBeside(std::int32_t mainX, std::int32_t mainW, std::int32_t width,
                               std::int32_t screenWidthTwips);
// Its width when none is stored: the design width, at most half the screen,
// so that the two windows stand side by side.
std::int32_t FirstWeatherWidth(std::int32_t screenWidthTwips);

// Default size of the main window on a first start: the weather window's
// placed size when the control exists, else the design-time size.
TwipsRect DefaultMainSize(bool weatherAvailable, const TwipsRect& weatherPlaced);

// Owns the only reference to the control for the life of the main window.
// Every call is skipped when the control is not available.
class WeatherControl {
  public:
    // Creates the control and calls Create(0); available when that reports
    // a non-zero status. A control that reports 0 is released at once.
    explicit WeatherControl(const WeatherFactory& factory);
    ~WeatherControl();
    WeatherControl(const WeatherControl&) = delete;
    WeatherControl& operator=(const WeatherControl&) = delete;

    bool Available() const { return static_cast<bool>(m_dialog); }
    // Why the control is not available (loader text), for diagnostics.
    const std::string& Error() const { return m_error; }

    // NodeName = the instance name, LogStart and DecoderRelax on.
    void Configure(const std::string& nodeName);
    // Stores every decoded report in the decoder's Data folder, in
    // <instance>.sqlite ("Quarnel.sqlite" for the default instance), or
    // stops storing.
    void KeepReports(bool on, const std::string& instance);
    // The archive file of `instance` in `folder`: its name made safe for a
    // file name, shortened with a hash when very long, as the settings and
    // logs are.
    static std::string ArchiveFile(const std::string& folder, const std::string& instance);
    // Puts the decoder window's font zoom; `changed` hears each zoom the
    // user makes in that window from then on (a later call replaces it).
    void KeepFontZoom(std::int32_t zoom, std::function<void(std::int32_t)> changed);
    // Left, Top, Width, Height in twips.
    void Place(const TwipsRect& placement);
    TwipsRect Placement() const;
    void Show();
    // One received block's raw text, bytes as received (Windows-1252).
    void Parse(const std::string& raw);
    // Destroy(0) and release; later calls do nothing.
    void Destroy();

    nimbo::IWeatherDialog* Dialog() const { return m_dialog.Get(); }

  private:
    // Passes the control's events on to the terminal.
    class EventSink final : public nimbo::_IWeatherDialogEvents {
      public:
        std::function<void(std::int32_t)> fontZoomChanged;
        void FontZoomChanged(std::int32_t zoom) override {
            if (fontZoomChanged) fontZoomChanged(zoom);
        }
    };

    WeatherDialogRef m_dialog;
    std::string m_error;
    EventSink m_events;
    std::uint32_t m_cookie = 0;  // the sink's connection, 0 while none
};

}  // namespace dovrel
