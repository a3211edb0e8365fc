// Start-up and shutdown of the main window, in the order the terminal has
// always followed: command line, weather control, caption, pane, keywords,
// placement, settings, line, log, banner.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>

#include "command_line.h"
#include "keyword_table.h"
#include "qt_seams.h"
#include "quarnel.h"
#include "status_bar_panels.h"
#include "telex_panels.h"
#include "terminal_pane.h"
#include "window_geometry.h"

namespace dovrel {
namespace {

constexpr const char* kWeatherLibrary = "libNimboview.so";

std::string WeatherNotFoundText() {
    return std::string("Weather Control (") + kWeatherLibrary +
           ") not found\r\nSynop decoder will not be available";
}

}  // namespace

bool Quarnel::Start(const std::vector<std::string>& args) {
    m_starting = true;
    const bool started = StartSteps(args);
    m_starting = false;
    if (started && !m_terminating) return true;
    Shutdown();
    return false;
}

void Quarnel::Terminate() {
    m_terminating = true;
    // Each box and dialog returns as cancelled; start-up then stops at its
    // next step instead of going on to the next box.
    for (int i = 0; i < 8; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) break;
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    }
    if (!m_starting) close();
}

// The start-up steps; false when the program is to end. Every step that
// may show a box or a dialog is followed by a look at m_terminating.
bool Quarnel::StartSteps(const std::vector<std::string>& args) {
    if (AsksForHelp(args)) return StopWithUsage();
    const CommandLine command = ParseCommandLine(JoinArguments(args));
    switch (command.Action) {
        case CommandAction::Usage:
            return StopWithUsage();
        case CommandAction::Reset:
        case CommandAction::Clean:
            return StopWithMaintenance(command.Action, command.InstanceName);
        case CommandAction::Run:
            break;
    }
    m_instance = command.InstanceName;
    m_context = ContextNameOf(m_instance);
    m_store = SettingsContext(SettingsStore::ForUser(), m_context);
    CreateWeatherControl();
    if (m_terminating) return false;
    ApplyCaption();
    PreparePane();
    PlaceWeatherWindow();
    StartReception();
    PlaceWindow();
    m_settings = LoadTerminalSettings(m_store);
    ApplyFontSize();
    ApplyReportArchive();
    m_line = std::make_unique<LineControl>(*m_lineSwitch, m_store, *m_box,
                                           static_cast<LineStatusView&>(*this));
    m_started = true;
    if (!OpenLineAtStart() || m_terminating) return false;
    m_panels->SetText("Port", QString::fromStdString(PortPanelText(m_line->Settings())));
    ShowPrintPanel();
    if (m_settings.AutoLogst) m_log->CreateLog(true);
    if (m_terminating) return false;
    ShowLogState();
    m_reception->StartStopBanner(true);
    m_line->RefreshStatusPanels();
    RefreshTelexPanels();
    m_send->setVisible(m_settings.AllowSend);
    m_pane->setFocus();  // the pause keys work at once
    return true;
}

bool Quarnel::StopWithUsage() {
    m_box->Show(UsageText(SettingsStore::ForUser().Root().string()), "", BoxButtons::Ok,
                BoxIcon::None);
    // No instance was named: the default macro goes to the default instance.
    m_context = ContextNameOf("");
    m_store = SettingsContext(SettingsStore::ForUser(), m_context);
    m_noSave = true;
    return false;
}

bool Quarnel::StopWithMaintenance(CommandAction action, const std::string& instance) {
    m_instance = instance;
    m_context = ContextNameOf(instance);
    m_store = SettingsContext(SettingsStore::ForUser(), m_context);
    const bool reset = action == CommandAction::Reset;
    const std::string text = reset ? ResetText(m_context) : CleanText(m_context);
    // Any answer the box gives is non-zero, so the maintenance always runs.
    m_box->Show(text, "", BoxButtons::Ok, BoxIcon::None);
    if (reset) {
        m_store.WriteInt("X", 0);
        m_store.WriteInt("Y", 0);
    } else {
        m_store.Store().DeleteContext(m_context);
    }
    m_noSave = true;
    return false;
}

void Quarnel::CreateWeatherControl() {
    m_weather = std::make_unique<WeatherControl>(m_seams.createWeather);
    m_weatherAvailable = m_weather->Available();
    if (!m_weatherAvailable) {
        m_weather.reset();
        m_box->Show(WeatherNotFoundText(), "", BoxButtons::Ok, BoxIcon::None);
        Action("Synop")->setEnabled(false);
        return;
    }
    m_weather->Configure(m_instance);
}

void Quarnel::PlaceWeatherWindow() {
    if (!m_weatherAvailable) return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1024, 768);
    const double dpi = Dpi();
    const std::int32_t screenW = PixelsToTwips(size.width(), dpi);
    StoredWeatherPlacement stored;
    stored.Xa = m_store.ReadInt("Xa", stored.Xa);
    stored.Ya = m_store.ReadInt("Ya", stored.Ya);
    stored.Wa = m_store.ReadInt("Wa", FirstWeatherWidth(screenW));
    stored.Ha = m_store.ReadInt("Ha", stored.Ha);
    // First use: beside the terminal, whose first width is the weather
    // window's, not over it.
    if (m_store.ReadText("Xa").empty()) {
        stored.Ya = m_store.ReadInt("Ya", m_store.ReadInt("Y", 10));
        stored.Xa = WeatherLeftBeside(m_store.ReadInt("X", 10), m_store.ReadInt("W", stored.Wa),
                                      stored.Wa, screenW);
    }
    m_weatherPlaced =
        dovrel::PlaceWeatherWindow(stored, screenW, PixelsToTwips(size.height(), dpi));
    m_weather->Place(m_weatherPlaced);
}

void Quarnel::ApplyCaption() {
    std::string caption =
        m_log ? m_log->Caption(WindowCaption(m_instance)) : WindowCaption(m_instance);
    if (m_inputEnded) caption += std::string(" - ") + kStatusEnded;
    setWindowTitle(QString::fromStdString(caption));
}

void Quarnel::PreparePane() {
    m_pane->Clear();
    m_pane->SetFontSize(ParseFontSize(m_store.ReadText("FontSize", "8.25")));
}

void Quarnel::StartReception() {
    m_log = std::make_unique<TerminalLog>(m_instance, m_seams.workDir, *m_box, *m_choice, *m_clock);
    m_log->SetFailureReport([this](const std::string& text) { ReportLogFailure(text); });
    m_reception = std::make_unique<Reception>(m_settings, m_telex, LoadKeywords(m_store), *m_pane,
                                              *m_clock, *m_scheduler);
    m_reception->SetLog(m_log.get());
    m_reception->SetPanels(m_panels);
    m_reception->SetTimer(m_timer);
    m_reception->SetBeep(m_seams.beep);
    if (m_weatherAvailable) {
        // Every block while AutoSynop is on, paused display or not.
        m_reception->SetWeatherParse([this](const std::string& raw) {
            if (m_weather) m_weather->Parse(raw);
        });
    }
    m_printer = std::make_unique<PrinterDevice>(*m_printerReader, m_settings.PrinterId);
    m_reception->SetPrinter(m_printer.get());
    m_sender = std::make_unique<Sender>(m_serial, m_telex, m_seams.beep);
    ShowLineStatus(LineStatus{});
}

void Quarnel::PlaceWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1024, 768);
    // On a first start the main window takes the weather window's size.
    const TwipsRect size0 = DefaultMainSize(m_weatherAvailable, m_weatherPlaced);
    StoredPlacement stored;
    stored.X = m_store.ReadInt("X", 10);
    stored.Y = m_store.ReadInt("Y", 10);
    stored.W = m_store.ReadInt("W", size0.W);
    stored.H = m_store.ReadInt("H", size0.H);
    const double dpi = Dpi();
    const TwipsRect r = PlaceMainWindow(stored, PixelsToTwips(size.width(), dpi),
                                        PixelsToTwips(size.height(), dpi));
    setGeometry(TwipsToPixels(r.X, dpi), TwipsToPixels(r.Y, dpi), TwipsToPixels(r.W, dpi),
                TwipsToPixels(r.H, dpi));
    // A window left maximised comes back maximised, over the place it had
    // before, to which it returns when restored.
    if (m_store.ReadSwitch("Maximized")) setWindowState(windowState() | Qt::WindowMaximized);
}

// Without a port that opens, the port dialog asks until one does or the
// user cancels: a port that fails to open has said why in a box, and the
// dialog comes back for another choice.
bool Quarnel::OpenLineAtStart() {
    m_line->LoadLineSettings();
    while (!m_line->OpenPort()) {
        if (m_terminating) return false;
        LineSettings chosen = m_line->Settings();
        if (!RunPortDialog(chosen) || m_terminating) return false;
        LineSettings& line = m_line->Settings();
        line.Port = chosen.Port;
        line.PortName = chosen.PortName;
        line.DTR = chosen.DTR;
        line.RTS = chosen.RTS;
        m_line->SaveLineSettings();
    }
    return true;
}

// Reported from the event loop once the display step that wrote is done,
// so the display and the decoder go on while the box is up.
void Quarnel::ReportLogFailure(const std::string& text) {
    QTimer::singleShot(0, this, [this, text] {
        ShowLogState();
        m_box->Show(text, "", BoxButtons::Ok, BoxIcon::Stop);
    });
}

void Quarnel::ShowPrintPanel() {
    m_panels->SetText("Print", "P OFF");
    m_panels->SetShown("Print", m_settings.PrinterId > 0);
}

void Quarnel::Shutdown() {
    if (m_shutDown) return;
    m_shutDown = true;
    if (!m_context.empty()) StoreDefaultF12(m_store);
    // Characters held for a keyword that can no longer complete.
    if (m_reception) m_reception->WriteHeld();
    if (!m_noSave && m_started) {
        m_line->SaveLineSettings();
        const double dpi = Dpi();
        // The same geometry that start-up hands to setGeometry(); for a
        // maximised window the one it returns to.
        const bool maximized = isMaximized();
        const QRect r = maximized ? normalGeometry() : geometry();
        m_store.WriteSwitch("Maximized", maximized, 1);
        m_store.WriteInt("X", PixelsToTwips(r.x(), dpi));
        m_store.WriteInt("Y", PixelsToTwips(r.y(), dpi));
        m_store.WriteInt("W", PixelsToTwips(r.width(), dpi));
        m_store.WriteInt("H", PixelsToTwips(r.height(), dpi));
        m_store.WriteSwitch("LookWords", m_settings.LookWords, -1);
    }
    if (m_weather) {
        const TwipsRect placed = m_weather->Placement();
        m_store.WriteInt("Xa", placed.X);
        m_store.WriteInt("Ya", placed.Y);
        m_store.WriteInt("Wa", placed.W);
        m_store.WriteInt("Ha", placed.H);
        m_weather->Destroy();
        QCoreApplication::processEvents();
    }
    delete m_readNotifier;
    m_readNotifier = nullptr;
    delete m_writeNotifier;
    m_writeNotifier = nullptr;
    if (m_timer) m_timer->Stop();
    if (m_audioTimer) m_audioTimer->stop();
    if (m_line) m_line->ClosePort();
    if (m_log) m_log->CloseLog();
}

}  // namespace dovrel
