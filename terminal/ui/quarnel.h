// The terminal's main window: start-up and shutdown, the tool bar, the
// "&Actions" menu, the connection lamp, the status panels, the send box and
// the pane. Every decision is left to the core; the window wires it to Qt.
#pragma once

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio_line.h"
#include "clock.h"
#include "com_opt_dialog.h"
#include "command_line.h"
#include "line_control.h"
#include "line_switch.h"
#include "macro_keys.h"
#include "message_box.h"
#include "paste_target.h"
#include "port_discovery.h"
#include "printer_device.h"
#include "printer_status.h"
#include "reception.h"
#include "sender.h"
#include "serial_line.h"
#include "settings_store.h"
#include "telex_coding.h"
#include "terminal_log.h"
#include "terminal_settings.h"
#include "weather_control.h"
#include "window_geometry.h"

class QAction;
class QDialog;
class QKeyEvent;
class QLineEdit;
class QSocketNotifier;
class QTimer;
class QToolButton;

namespace nimbo {
class FindBar;
}

namespace dovrel {

class QtMessageBox;
class QtLogFileChoice;
class QtScheduler;
class QtTickTimer;
class QtAudioInputOpener;
class StatusBarPanels;
class TerminalPane;
class TuningStrip;

// What the window reaches outside itself. Each empty member takes the
// program's own: Qt boxes and file dialog, the system clock, modal exec(),
// a detached process, libxdo, the current working directory, the weather
// display control made by the component loader, the sound inputs of Qt
// Multimedia. `listPorts` gives the port dialog's whole list (serial ports
// and sound inputs).
struct QuarnelSeams {
    MessageBox* box = nullptr;
    LogFileChoice* fileChoice = nullptr;
    const Clock* clock = nullptr;
    std::function<int(QDialog&)> runDialog;
    std::function<bool(const std::vector<std::string>&)> startProcess;
    std::function<PushResult(const std::string&)> push;
    std::function<PortList(const LineSettings& current, const std::string& ourDevice)> listPorts;
    std::unique_ptr<PrinterStatusReader> printerReader;
    std::filesystem::path workDir;
    std::string lockDirectory = DefaultLockDirectory();
    WeatherFactory createWeather;
    std::function<void()> beep;
    AudioInputOpener* audioOpener = nullptr;
    // The port dialog's "Recording..." file choice.
    std::function<std::optional<std::string>()> chooseRecording;
};

class Quarnel : public QMainWindow, private LineStatusView {
    Q_OBJECT
  public:
    explicit Quarnel(QuarnelSeams seams = {}, QWidget* parent = nullptr);
    ~Quarnel() override;

    // Runs the command line and the start-up sequence. False when the
    // program is to end (usage, -reset, -clean, no port chosen); shutdown
    // has then already run.
    bool Start(const std::vector<std::string>& args);
    // The shutdown sequence; runs once, later calls do nothing.
    void Shutdown();
    // A termination signal (SIGTERM, Ctrl+C): closes any box or dialog that
    // is up and ends the program through the shutdown sequence, once,
    // whether start-up is still running (Start then returns false) or not.
    void Terminate();

    // For the program and its tests.
    const std::string& InstanceName() const { return m_instance; }
    const std::string& ContextName() const { return m_context; }
    const TerminalSettings& Settings() const { return m_settings; }
    LineControl& Line() { return *m_line; }
    Reception* Receiver() { return m_reception.get(); }
    TerminalLog& Log() { return *m_log; }
    TerminalPane* Pane() const { return m_pane; }
    TuningStrip* Tuning() const { return m_tuning; }
    const LineSwitch& Lines() const { return *m_lineSwitch; }
    QLineEdit* SendBox() const { return m_send; }
    StatusBarPanels* Panels() const { return m_panels; }
    QAction* Action(const QString& name) const;
    QToolButton* Lamp() const { return m_lamp; }
    bool PrintOn() const { return m_printer && m_printer->PrintOn(); }
    bool WeatherAvailable() const { return m_weatherAvailable; }
    // Null when the control could not be created, and after shutdown.
    nimbo::IWeatherDialog* Weather() const { return m_weather ? m_weather->Dialog() : nullptr; }
    bool IsShutDown() const { return m_shutDown; }

    // Commands of the menu, the tool bar and the lamp.
    void ToolBarClick(const QString& key);
    void PanelClick(const QString& key);
    void LampClick();
    void SerialDialog();
    void PropertiesDialog();
    void CreateLog();
    void CloseLog();
    void EditLog();
    void ClearPane();
    void PushToApplication();
    // Writes what the pane shows to a file the user chooses (UTF-8).
    void SaveReceivedText();
    // One step of the pane's font zoom: +1 in, -1 out, 0 back to the size of
    // the options; stored for the instance as "FontZoom".
    void Zoom(int step);
    nimbo::FindBar* Find() const { return m_find; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateActions();
    template <class Add>
    void CreateDailyActions(Add& add);
    void CreateMenu();
    void CreateToolBar();
    void CreateLamp();
    void CreateStatusBar();
    void CreateCentral();

    bool StartSteps(const std::vector<std::string>& args);
    void ReportLogFailure(const std::string& text);
    bool StopWithUsage();
    bool StopWithMaintenance(CommandAction action, const std::string& instance);
    void CreateWeatherControl();
    void PlaceWeatherWindow();
    void ApplyCaption();
    void PreparePane();
    void StartReception();
    void PlaceWindow();
    bool OpenLineAtStart();
    bool RunPortDialog(LineSettings& chosen);
    void ShowPrintPanel();
    void RefreshTelexPanels();
    void ShowLineStatus(const LineStatus& status) override;
    void WatchLine();
    void OnLineReadable();
    void OnLineWritable();
    void WatchAudio();
    void OnAudioTick();
    void OnStatusTick();
    void OnPaneKey(PaneKey key);
    void OnSelection(const QString& text);
    void ApplyFontSize();
    void ApplyReportArchive();
    void ShowLogState();
    int RunDialog(QDialog& dialog);
    double Dpi() const;
    bool SendBoxKey(QKeyEvent* event);
    void MacroKey(QKeyEvent* event);
    void AfterLineWrite();

    QuarnelSeams m_seams;
    std::unique_ptr<QtMessageBox> m_qtBox;
    std::unique_ptr<QtLogFileChoice> m_qtChoice;
    std::unique_ptr<SystemClock> m_systemClock;
    MessageBox* m_box;
    LogFileChoice* m_choice;
    const Clock* m_clock;

    std::string m_instance;
    std::string m_context;
    SettingsContext m_store;
    TerminalSettings m_settings;
    TelexState m_telex;
    SerialLine m_serial;
    std::unique_ptr<QtAudioInputOpener> m_qtAudio;
    std::unique_ptr<AudioLine> m_audio;
    std::unique_ptr<LineSwitch> m_lineSwitch;
    QTimer* m_audioTimer = nullptr;
    int m_audioTicks = 0;
    std::unique_ptr<LineControl> m_line;
    std::unique_ptr<QtScheduler> m_scheduler;
    QtTickTimer* m_timer = nullptr;
    std::unique_ptr<Reception> m_reception;
    std::unique_ptr<PrinterStatusReader> m_printerReader;
    std::unique_ptr<PrinterDevice> m_printer;
    std::unique_ptr<Sender> m_sender;
    std::unique_ptr<TerminalLog> m_log;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;

    TerminalPane* m_pane = nullptr;
    nimbo::FindBar* m_find = nullptr;
    TuningStrip* m_tuning = nullptr;
    QLineEdit* m_send = nullptr;
    StatusBarPanels* m_panels = nullptr;
    QToolButton* m_lamp = nullptr;
    bool m_connectedLamp = false;
    bool m_inputEnded = false;  // the caption says "END OF RECORDING"

    bool m_noSave = false;
    bool m_shutDown = false;
    bool m_started = false;
    bool m_starting = false;
    bool m_terminating = false;
    bool m_firstTick = true;
    bool m_weatherAvailable = false;
    std::unique_ptr<WeatherControl> m_weather;
    TwipsRect m_weatherPlaced;
};

}  // namespace dovrel
