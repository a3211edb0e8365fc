// The running terminal apart from its window: owns and wires the line,
// reception, the log, the printer, the sender and the weather hand-off, and
// runs start-up and shutdown as two ordered lists of steps. The window is
// its view (TerminalView): it builds the widgets, forwards the user's
// commands here and shows what this object reports.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio_line.h"
#include "box_requests.h"
#include "clock.h"
#include "command_line.h"
#include "display_scheduler.h"
#include "line_control.h"
#include "line_switch.h"
#include "log_file_choice.h"
#include "message_box.h"
#include "pane.h"
#include "printer_device.h"
#include "printer_status.h"
#include "reception.h"
#include "sender.h"
#include "serial_line.h"
#include "settings_store.h"
#include "status_panels.h"
#include "telex_coding.h"
#include "terminal_log.h"
#include "terminal_settings.h"
#include "weather_control.h"
#include "window_geometry.h"

namespace dovrel {

// What the terminal reaches outside itself. Every pointer is required and
// must outlive the terminal; `timer` and `beep` may be left empty.
struct TerminalParts {
    MessageBox* box = nullptr;
    LogFileChoice* fileChoice = nullptr;
    const Clock* clock = nullptr;
    DisplayScheduler* scheduler = nullptr;  // runs tasks from the event loop
    TickTimer* timer = nullptr;             // the 1000 ms status timer
    Pane* pane = nullptr;                   // the received text
    StatusPanels* panels = nullptr;         // the panels reception writes
    AudioInputOpener* audioOpener = nullptr;
    std::unique_ptr<PrinterStatusReader> printerReader;
    std::filesystem::path workDir;  // automatic logs go below it
    std::string lockDirectory = DefaultLockDirectory();
    WeatherFactory createWeather = CreateWeatherDialog;
    std::function<void()> beep;
};

// Where the main window stands, in twips.
struct WindowPlacement {
    TwipsRect rect;
    bool maximized = false;
};

// The window as the terminal sees it. LineStatusView shows the lamp, the
// line panels and watches the line; the rest is called at the start-up and
// shutdown steps named.
class TerminalView : public LineStatusView {
  public:
    // Start-up: the pane emptied, in the received-text colour, at this size.
    virtual void PreparePane(double fontSize) = 0;
    virtual void ShowCaption(const std::string& caption) = 0;
    // Which log commands apply: a log is open, or suspended by a failure.
    virtual void ShowLogState(bool open, bool suspended) = 0;
    // The text of a status panel, by its key; and whether it is shown.
    virtual void ShowPanel(const std::string& key, const std::string& text) = 0;
    virtual void SetPanelShown(const std::string& key, bool shown) = 0;
    // Start-up without the weather control: its commands are disabled.
    virtual void WeatherMissing() = 0;
    // The primary screen's size in twips.
    virtual TwipsRect Screen() const = 0;
    virtual void PlaceWindow(const WindowPlacement& placement) = 0;
    // For a maximised window, the place it returns to when restored.
    virtual WindowPlacement Placement() const = 0;
    // The port dialog over `chosen`; false when cancelled.
    virtual bool ChoosePort(LineSettings& chosen) = 0;
    // The settings were read (start-up) or changed (options dialog).
    virtual void SettingsApplied(const TerminalSettings& settings) = 0;
    // The last start-up step: the send box follows "AllowSend".
    virtual void Started(const TerminalSettings& settings) = 0;
    // Shutdown, before the line closes: nothing watches it any more.
    virtual void StopWatching() = 0;
    // Shutdown, after the weather control went: its pending events run once.
    virtual void ProcessEvents() = 0;
};

class Terminal : private LineStatusView {
  public:
    Terminal(TerminalParts parts, TerminalView& view);
    ~Terminal() override;
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // The command line and the start-up steps. False when the program is to
    // end (usage, -reset, -clean, no port chosen, a stop requested); the
    // shutdown steps have then already run.
    bool Start(const std::vector<std::string>& args);
    // The shutdown steps; runs once, later calls do nothing.
    void Shutdown();
    // A termination signal: start-up ends before its next step.
    void RequestStop() { m_stopRequested = true; }
    bool Starting() const { return m_starting; }
    bool IsShutDown() const { return m_shutDown; }
    // Start-up came as far as the line: shutdown saves.
    bool HasLine() const { return m_line != nullptr; }
    // Start-up came as far as reception: the log exists.
    bool HasLog() const { return m_log != nullptr; }

    // Commands. Those that need the line do nothing before it exists.
    void ToggleLine();  // the lamp: STOP and disconnect, or START and connect
    void ForceSynop();  // AutoSynop on (until the program ends), window shown
    void CreateLog();
    void CloseLog();
    void ClearPane();
    // A click on a status panel; the telex panels are then to be refreshed.
    void ClickPanel(const std::string& key, PanelButton button);
    // The outcome of an accepted port dialog.
    void ApplyPortDialog(const LineSettings& chosen);
    // The options dialog was confirmed with `settings`.
    void ApplySettings(const TerminalSettings& settings);
    // The line has bytes to read (or a failure to report).
    void ReadLine();
    void StatusTick();
    // True when the caret should move to the end of the pane.
    bool PaneKeyPressed(PaneKey key);
    // A function key (1..12); the "Time" panel text when a macro ran. Call
    // CheckLine() after it.
    std::optional<std::string> MacroKey(int functionKey, bool shift, bool ctrl);
    // A character typed in the send box; true when the box is to be emptied.
    bool SendKey(int& code);
    // After a write: a line that the write found gone is reported.
    void CheckLine();

    const std::string& InstanceName() const { return m_instance; }
    const std::string& ContextName() const { return m_context; }
    const SettingsContext& Store() const { return m_store; }
    TerminalSettings& Settings() { return m_settings; }
    const TerminalSettings& Settings() const { return m_settings; }
    LineControl& Line() { return *m_line; }
    LineSwitch& Lines() { return m_lineSwitch; }
    const LineSwitch& Lines() const { return m_lineSwitch; }
    SerialLine& Serial() { return m_serial; }
    AudioLine& Audio() { return m_audio; }
    Reception* Receiver() { return m_reception.get(); }
    TerminalLog& Log() { return *m_log; }
    PrinterStatusReader& PrinterReader() { return *m_parts.printerReader; }
    // Every box of the terminal, the window's own commands' included.
    BoxRequests& Boxes() { return m_boxes; }
    bool PrintOn() const { return m_printer && m_printer->PrintOn(); }
    bool WeatherAvailable() const { return m_weatherAvailable; }
    // Null when the control could not be created, and after shutdown.
    nimbo::IWeatherDialog* Weather() const { return m_weather ? m_weather->Dialog() : nullptr; }

  private:
    using Step = bool (Terminal::*)();
    bool RunStartSteps(const std::vector<std::string>& args);
    bool ReadCommandLine(const std::vector<std::string>& args);
    bool StopWithUsage();
    bool StopWithMaintenance(CommandAction action, const std::string& instance);
    void UseContext(const std::string& instance);
    // Start-up steps, in their order; false ends start-up.
    bool CreateWeatherControl();
    bool ShowFirstCaption();
    bool PreparePane();
    bool PlaceWeatherWindow();
    bool StartReception();
    bool PlaceWindow();
    bool LoadSettings();
    bool OpenLine();
    bool ShowPortAndPrinter();
    bool StartAutoLog();
    bool ShowStarted();
    // Shutdown steps, in their order.
    bool StoreDefaultMacro();
    bool WriteHeldText();
    bool SaveWindowAndLine();
    bool DestroyWeather();
    bool CloseLine();
    bool CloseLogAtEnd();

    void ShowLineStatus(const LineStatus& status) override;
    void ShowLogState();
    void ShowCaption();
    void ReportLogFailure(const std::string& text);
    void KeepReports();
    void KeepDecoderFontZoom();

    TerminalParts m_parts;
    TerminalView& m_view;
    BoxRequests m_boxes;
    ReadingScheduler m_reading;  // reception's display steps, run as reads
    std::string m_instance;
    std::string m_context;
    SettingsContext m_store;
    TerminalSettings m_settings;
    TelexState m_telex;
    SerialLine m_serial;
    AudioLine m_audio;
    LineSwitch m_lineSwitch;
    std::unique_ptr<LineControl> m_line;
    std::unique_ptr<TerminalLog> m_log;
    std::unique_ptr<Reception> m_reception;
    std::unique_ptr<PrinterDevice> m_printer;
    std::unique_ptr<Sender> m_sender;
    std::unique_ptr<WeatherControl> m_weather;
    bool m_weatherAvailable = false;
    TwipsRect m_weatherPlaced;
    bool m_inputEnded = false;  // the caption says "END OF RECORDING"
    bool m_noSave = false;
    bool m_starting = false;
    bool m_stopRequested = false;
    bool m_shutDown = false;
};

}  // namespace dovrel
