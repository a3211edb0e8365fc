// The terminal's main window, the view of the terminal core: the tool bar,
// the menus, the connection lamp, the status panels, the send box and the
// pane. It forwards the user's commands to the core and shows what the core
// reports; start-up and shutdown are the core's.
#pragma once

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "com_opt_dialog.h"
#include "paste_target.h"
#include "port_discovery.h"
#include "terminal.h"
#include "window_command.h"

class QAction;
class QDialog;
class QKeyEvent;
class QLineEdit;
class QMenu;
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

class Quarnel : public QMainWindow, private TerminalView {
    Q_OBJECT
  public:
    explicit Quarnel(QuarnelSeams seams = {}, QWidget* parent = nullptr);
    ~Quarnel() override;

    // Runs the command line and the start-up sequence. False when the
    // program is to end (usage, -reset, -clean, no port chosen); shutdown
    // has then already run.
    bool Start(const std::vector<std::string>& args) { return m_terminal->Start(args); }
    // The shutdown sequence; runs once, later calls do nothing.
    void Shutdown() { m_terminal->Shutdown(); }
    // A termination signal (SIGTERM, Ctrl+C): closes any box or dialog that
    // is up and ends the program through the shutdown sequence, once,
    // whether start-up is still running (Start then returns false) or not.
    void Terminate();

    // For the program and its tests.
    Terminal& Core() { return *m_terminal; }
    const std::string& InstanceName() const { return m_terminal->InstanceName(); }
    const std::string& ContextName() const { return m_terminal->ContextName(); }
    const TerminalSettings& Settings() const { return m_terminal->Settings(); }
    LineControl& Line() { return m_terminal->Line(); }
    Reception* Receiver() { return m_terminal->Receiver(); }
    TerminalLog& Log() { return m_terminal->Log(); }
    TerminalPane* Pane() const { return m_pane; }
    TuningStrip* Tuning() const { return m_tuning; }
    const LineSwitch& Lines() const { return m_terminal->Lines(); }
    QLineEdit* SendBox() const { return m_send; }
    StatusBarPanels* Panels() const { return m_panels; }
    QAction* Action(Command command) const;
    QToolButton* Lamp() const { return m_lamp; }
    bool PrintOn() const { return m_terminal->PrintOn(); }
    bool WeatherAvailable() const { return m_terminal->WeatherAvailable(); }
    // Null when the control could not be created, and after shutdown.
    nimbo::IWeatherDialog* Weather() const { return m_terminal->Weather(); }
    bool IsShutDown() const { return m_terminal->IsShutDown(); }

    // A command of the menus or the tool bar.
    void Run(Command command);
    // Commands of the status panels and the lamp.
    void PanelClick(const QString& key);
    void LampClick() { m_terminal->ToggleLine(); }
    void SerialDialog();
    void PropertiesDialog();
    void EditLog();
    void PushToApplication();
    // Writes what the pane shows to a file the user chooses (UTF-8).
    void SaveReceivedText();
    // One step of the pane's font zoom: +1 in, -1 out, 0 back to the size of
    // the options; stored for the instance as "FontZoom".
    void Zoom(int step);
    nimbo::FindBar* Find() const { return m_find; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateActions();
    QMenu* AddMenu(const char* name, const char* title,
                   std::initializer_list<std::optional<Command>> entries);
    void CreateMenu();
    void CreateToolBar();
    void CreateLamp();
    void CreateStatusBar();
    void CreateCentral();
    void CreateTerminal();

    // TerminalView
    void ShowLineStatus(const LineStatus& status) override;
    void PreparePane(double fontSize) override;
    void ShowCaption(const std::string& caption) override;
    void ShowLogState(bool open, bool suspended) override;
    void ShowPanel(const std::string& key, const std::string& text) override;
    void SetPanelShown(const std::string& key, bool shown) override;
    void WeatherMissing() override;
    TwipsRect Screen() const override;
    void PlaceWindow(const WindowPlacement& placement) override;
    WindowPlacement Placement() const override;
    bool ChoosePort(LineSettings& chosen) override;
    void SettingsApplied(const TerminalSettings& settings) override;
    void Started(const TerminalSettings& settings) override;
    void StopWatching() override;
    void ProcessEvents() override;

    void RefreshTelexPanels();
    void WatchLine();
    void OnLineReadable();
    void OnLineWritable();
    void WatchAudio();
    void OnAudioTick();
    void OnStatusTick();
    void OnPaneKey(PaneKey key);
    void OnSelection(const QString& text);
    void ApplyFontSize();
    int RunDialog(QDialog& dialog);
    double Dpi() const;
    bool SendBoxKey(QKeyEvent* event);
    void MacroKey(QKeyEvent* event);
    void AfterLineWrite();

    QuarnelSeams m_seams;
    std::unique_ptr<QtMessageBox> m_qtBox;
    std::unique_ptr<QtLogFileChoice> m_qtChoice;
    std::unique_ptr<SystemClock> m_systemClock;
    std::unique_ptr<QtAudioInputOpener> m_qtAudio;
    std::unique_ptr<QtScheduler> m_scheduler;
    QtTickTimer* m_timer = nullptr;
    QTimer* m_audioTimer = nullptr;
    int m_audioTicks = 0;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;

    TerminalPane* m_pane = nullptr;
    nimbo::FindBar* m_find = nullptr;
    TuningStrip* m_tuning = nullptr;
    QLineEdit* m_send = nullptr;
    StatusBarPanels* m_panels = nullptr;
    QToolButton* m_lamp = nullptr;
    bool m_connectedLamp = false;
    bool m_firstTick = true;
    std::array<QAction*, kCommandCount> m_actions{};
    std::unique_ptr<Terminal> m_terminal;
};

}  // namespace dovrel
