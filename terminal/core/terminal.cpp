// The terminal core: its parts, the start-up and shutdown steps, and the
// commands the window forwards.
#include "terminal.h"

#include "keyword_table.h"
#include "line_panels.h"
#include "macro_keys.h"
#include "telex_panels.h"

namespace dovrel {
namespace {

constexpr const char* kWeatherLibrary = "libNimboview.so";

std::string WeatherNotFoundText() {
    return std::string("Weather Control (") + kWeatherLibrary +
           ") not found\r\nSynop decoder will not be available";
}

}  // namespace

Terminal::Terminal(TerminalParts parts, TerminalView& view)
    : m_parts(std::move(parts)),
      m_view(view),
      m_boxes(*m_parts.box, *m_parts.scheduler),
      m_reading(*m_parts.scheduler, m_boxes),
      m_store(SettingsStore::ForUser(), ""),
      m_serial(m_parts.lockDirectory),
      m_audio(*m_parts.audioOpener),
      m_lineSwitch(m_serial, m_audio) {}

Terminal::~Terminal() {
    Shutdown();
    m_reception.reset();
}

bool Terminal::Start(const std::vector<std::string>& args) {
    m_starting = true;
    const bool started = RunStartSteps(args);
    m_starting = false;
    if (started) return true;
    Shutdown();
    return false;
}

bool Terminal::RunStartSteps(const std::vector<std::string>& args) {
    // The order of start-up; each step may end it, and so may a stop
    // requested while a step waited for the user.
    static constexpr Step kSteps[] = {
        &Terminal::CreateWeatherControl, &Terminal::ShowFirstCaption, &Terminal::PreparePane,
        &Terminal::PlaceWeatherWindow,   &Terminal::StartReception,   &Terminal::PlaceWindow,
        &Terminal::LoadSettings,         &Terminal::OpenLine,         &Terminal::ShowPortAndPrinter,
        &Terminal::StartAutoLog,         &Terminal::ShowStarted,
    };
    if (!ReadCommandLine(args)) return false;
    for (const Step step : kSteps)
        if (m_stopRequested || !(this->*step)()) return false;
    return !m_stopRequested;
}

void Terminal::Shutdown() {
    // The order of shutdown; every step runs whatever the one before did.
    static constexpr Step kSteps[] = {
        &Terminal::StoreDefaultMacro, &Terminal::WriteHeldText, &Terminal::SaveWindowAndLine,
        &Terminal::DestroyWeather,    &Terminal::CloseLine,     &Terminal::CloseLogAtEnd,
    };
    if (m_shutDown) return;
    m_shutDown = true;
    for (const Step step : kSteps) (this->*step)();
}

// False when the command line ends the program after its box.
bool Terminal::ReadCommandLine(const std::vector<std::string>& args) {
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
    UseContext(command.InstanceName);
    return true;
}

void Terminal::UseContext(const std::string& instance) {
    m_instance = instance;
    m_context = ContextNameOf(instance);
    m_store = SettingsContext(SettingsStore::ForUser(), m_context);
}

bool Terminal::StopWithUsage() {
    m_boxes.Tell(UsageText(SettingsStore::ForUser().Root().string()), "", BoxIcon::None);
    // No instance was named: the default macro goes to the default instance.
    UseContext("");
    m_noSave = true;
    return false;
}

bool Terminal::StopWithMaintenance(CommandAction action, const std::string& instance) {
    UseContext(instance);
    const bool reset = action == CommandAction::Reset;
    const std::string text = reset ? ResetText(m_context) : CleanText(m_context);
    // Any answer the box gives is non-zero, so the maintenance always runs.
    m_boxes.Tell(text, "", BoxIcon::None);
    if (reset) {
        m_store.WriteInt("X", 0);
        m_store.WriteInt("Y", 0);
    } else {
        m_store.Store().DeleteContext(m_context);
    }
    m_noSave = true;
    return false;
}

bool Terminal::CreateWeatherControl() {
    m_weather = std::make_unique<WeatherControl>(m_parts.createWeather);
    m_weatherAvailable = m_weather->Available();
    if (m_weatherAvailable) {
        m_weather->Configure(m_instance);
        return true;
    }
    m_weather.reset();
    m_boxes.Tell(WeatherNotFoundText(), "", BoxIcon::None);
    m_view.WeatherMissing();
    return true;
}

bool Terminal::ShowFirstCaption() {
    ShowCaption();
    return true;
}

bool Terminal::PreparePane() {
    m_view.PreparePane(ParseFontSize(m_store.ReadText("FontSize", "8.25")));
    return true;
}

bool Terminal::PlaceWeatherWindow() {
    if (!m_weatherAvailable) return true;
    const TwipsRect screen = m_view.Screen();
    StoredWeatherPlacement stored;
    stored.Xa = m_store.ReadInt("Xa", stored.Xa);
    stored.Ya = m_store.ReadInt("Ya", stored.Ya);
    stored.Wa = m_store.ReadInt("Wa", FirstWeatherWidth(screen.W));
    stored.Ha = m_store.ReadInt("Ha", stored.Ha);
    // First use: beside the terminal, whose first width is the weather
    // window's, not over it.
    if (m_store.ReadText("Xa").empty()) {
        stored.Ya = m_store.ReadInt("Ya", m_store.ReadInt("Y", 10));
        stored.Xa = WeatherLeftBeside(m_store.ReadInt("X", 10), m_store.ReadInt("W", stored.Wa),
                                      stored.Wa, screen.W);
    }
    m_weatherPlaced = dovrel::PlaceWeatherWindow(stored, screen.W, screen.H);
    m_weather->Place(m_weatherPlaced);
    return true;
}

bool Terminal::StartReception() {
    m_log = std::make_unique<TerminalLog>(m_instance, m_parts.workDir, m_boxes, *m_parts.fileChoice,
                                          *m_parts.clock);
    m_log->SetFailureReport([this](const std::string& text) { ReportLogFailure(text); });
    m_reception = std::make_unique<Reception>(m_settings, m_telex, LoadKeywords(m_store),
                                              *m_parts.pane, *m_parts.clock, m_reading);
    m_reception->SetLog(m_log.get());
    m_reception->SetPanels(m_parts.panels);
    m_reception->SetTimer(m_parts.timer);
    m_reception->SetBeep(m_parts.beep);
    if (m_weatherAvailable) {
        // Every block while AutoSynop is on, paused display or not.
        m_reception->SetWeatherParse([this](const std::string& raw) {
            if (m_weather) m_weather->Parse(raw);
        });
    }
    m_printer = std::make_unique<PrinterDevice>(*m_parts.printerReader, m_settings.PrinterId);
    m_reception->SetPrinter(m_printer.get());
    m_sender = std::make_unique<Sender>(m_serial, m_telex, m_parts.beep);
    m_view.ShowLineStatus(LineStatus{});  // the red lamp
    return true;
}

bool Terminal::PlaceWindow() {
    // On a first start the main window takes the weather window's size.
    const TwipsRect size0 = DefaultMainSize(m_weatherAvailable, m_weatherPlaced);
    StoredPlacement stored;
    stored.X = m_store.ReadInt("X", 10);
    stored.Y = m_store.ReadInt("Y", 10);
    stored.W = m_store.ReadInt("W", size0.W);
    stored.H = m_store.ReadInt("H", size0.H);
    const TwipsRect screen = m_view.Screen();
    // A window left maximised comes back maximised, over the place it had
    // before, to which it returns when restored.
    m_view.PlaceWindow(
        {PlaceMainWindow(stored, screen.W, screen.H), m_store.ReadSwitch("Maximized")});
    return true;
}

bool Terminal::LoadSettings() {
    m_settings = LoadTerminalSettings(m_store);
    m_view.SettingsApplied(m_settings);
    KeepReports();
    KeepDecoderFontZoom();
    m_line = std::make_unique<LineControl>(m_lineSwitch, m_store, m_boxes,
                                           static_cast<LineStatusView&>(*this));
    return true;
}

// Without a port that opens, the port dialog asks until one does or the
// user cancels: a port that fails to open has said why in a box, and the
// dialog comes back for another choice.
bool Terminal::OpenLine() {
    m_line->LoadLineSettings();
    while (!m_line->OpenPort()) {
        if (m_stopRequested) return false;
        LineSettings chosen = m_line->Settings();
        if (!m_view.ChoosePort(chosen) || m_stopRequested) return false;
        LineSettings& line = m_line->Settings();
        line.Port = chosen.Port;
        line.PortName = chosen.PortName;
        line.DTR = chosen.DTR;
        line.RTS = chosen.RTS;
        m_line->SaveLineSettings();
    }
    return true;
}

bool Terminal::ShowPortAndPrinter() {
    m_view.ShowPanel("Port", PortPanelText(m_line->Settings()));
    m_view.ShowPanel("Print", "P OFF");
    m_view.SetPanelShown("Print", m_settings.PrinterId > 0);
    return true;
}

bool Terminal::StartAutoLog() {
    if (m_settings.AutoLogst) m_log->CreateLog(true);
    return true;
}

bool Terminal::ShowStarted() {
    ShowLogState();
    m_reception->StartStopBanner(true);
    m_line->RefreshStatusPanels();
    m_view.Started(m_settings);
    return true;
}

bool Terminal::StoreDefaultMacro() {
    if (!m_context.empty()) StoreDefaultF12(m_store);
    return true;
}

bool Terminal::WriteHeldText() {
    // Characters held for a keyword that can no longer complete.
    if (m_reception) m_reception->WriteHeld();
    return true;
}

bool Terminal::SaveWindowAndLine() {
    if (m_noSave || !m_line) return true;
    m_line->SaveLineSettings();
    const WindowPlacement placement = m_view.Placement();
    m_store.WriteSwitch("Maximized", placement.maximized, 1);
    m_store.WriteInt("X", placement.rect.X);
    m_store.WriteInt("Y", placement.rect.Y);
    m_store.WriteInt("W", placement.rect.W);
    m_store.WriteInt("H", placement.rect.H);
    m_store.WriteSwitch("LookWords", m_settings.LookWords, -1);
    return true;
}

bool Terminal::DestroyWeather() {
    if (!m_weather) return true;
    const TwipsRect placed = m_weather->Placement();
    m_store.WriteInt("Xa", placed.X);
    m_store.WriteInt("Ya", placed.Y);
    m_store.WriteInt("Wa", placed.W);
    m_store.WriteInt("Ha", placed.H);
    m_weather->Destroy();
    m_view.ProcessEvents();
    return true;
}

bool Terminal::CloseLine() {
    m_view.StopWatching();
    if (m_parts.timer) m_parts.timer->Stop();
    if (m_line) m_line->ClosePort();
    return true;
}

bool Terminal::CloseLogAtEnd() {
    if (m_log) m_log->CloseLog();
    return true;
}

// LineStatusView: reception follows the state of the line, then the window.
void Terminal::ShowLineStatus(const LineStatus& status) {
    if (m_reception) {
        m_reception->SetStatusText(status.StatusText);
        if (status.ended) {
            m_reception->InputEnded();
        } else if (status.connected) {
            m_reception->Connected();
        } else {
            m_reception->Disconnected();
        }
        m_reception->SetLineCode(static_cast<LineCode>(m_line->Settings().Data));
    }
    m_view.ShowLineStatus(status);
    if (status.ended != m_inputEnded) {
        m_inputEnded = status.ended;
        ShowCaption();
    }
}

void Terminal::ShowCaption() {
    std::string caption =
        m_log ? m_log->Caption(WindowCaption(m_instance)) : WindowCaption(m_instance);
    if (m_inputEnded) caption += std::string(" - ") + kStatusEnded;
    m_view.ShowCaption(caption);
}

void Terminal::ShowLogState() {
    const bool open = m_log && m_log->IsOpen();
    // A suspended log can be closed, edited, or created anew.
    const bool suspended = m_log && m_log->IsSuspended();
    m_view.ShowLogState(open, suspended);
    if (m_reception) m_reception->SetTextPanelNote(suspended ? "LOG SUSPENDED: " : "");
    ShowCaption();
}

// A write failure comes from a display step: its box waits until the step
// is done, so the display and the decoder go on while the box is up.
void Terminal::ReportLogFailure(const std::string& text) {
    ShowLogState();
    m_boxes.Tell(text, "", BoxIcon::Stop);
}

void Terminal::KeepReports() {
    if (m_weather) m_weather->KeepReports(m_settings.ObsArchive, m_instance);
}

// Written at once: a zoom survives the program being killed.
void Terminal::KeepDecoderFontZoom() {
    if (!m_weather) return;
    m_weather->KeepFontZoom(m_settings.DecoderFontZoom, [this](std::int32_t zoom) {
        m_settings.DecoderFontZoom = ClampZoom(zoom);
        m_store.WriteInt("DecoderFontZoom", m_settings.DecoderFontZoom);
    });
}

void Terminal::ToggleLine() {
    if (!m_line || !m_reception) return;
    if (m_lineSwitch.IsOpen()) {
        m_reception->StartStopBanner(false);
        m_line->Disconnect();
    } else {
        m_reception->StartStopBanner(true);
        m_line->Connect();
    }
}

void Terminal::ForceSynop() {
    // On until the program ends; stored only by the options dialog.
    if (!m_weatherAvailable || !m_weather) return;
    m_settings.AutoSynop = true;
    m_weather->Show();
}

void Terminal::CreateLog() {
    if (!m_log || m_log->IsOpen()) return;
    m_log->CreateLog(false);
    ShowLogState();
}

void Terminal::CloseLog() {
    if (!m_log) return;
    m_log->CloseLog();
    ShowLogState();
}

void Terminal::ClearPane() {
    if (m_reception) {
        m_reception->ClearPane();
    } else {
        m_parts.pane->Clear();
    }
}

void Terminal::ClickPanel(const std::string& key, PanelButton button) {
    if (!m_line || !m_reception) return;
    if (m_line->ClickPanel(key, button, m_settings.NstdBauds)) return;
    if (key == "Code") {
        m_settings.TelexCod = ToggleAlphabet(m_settings.TelexCod);
        m_store.WriteInt("TelexCod", m_settings.TelexCod);
    } else if (key == "Uos") {
        m_settings.TelexUOS = NextUosMode(m_settings.TelexUOS);
        m_store.WriteInt("TelexUOS", m_settings.TelexUOS);
    } else if (key == "CrLf") {
        m_settings.TelexCrl = !m_settings.TelexCrl;
        m_store.WriteSwitch("TelexCrl", m_settings.TelexCrl, -1);
    } else if (key == "Print") {
        const LocalTime now = m_parts.clock->Now();
        const std::string text = m_printer->ClickPrintPanel(FormatDate(now) + " " + FormatTime(now),
                                                            ApplicationTitle(), m_boxes);
        m_reception->SetPrintOn(m_printer->PrintOn());
        m_view.ShowPanel("Print", text);
    }
}

void Terminal::ApplyPortDialog(const LineSettings& chosen) {
    if (!m_line) return;
    m_line->ApplyPortDialog(chosen);
    m_view.ShowPanel("Port", PortPanelText(m_line->Settings()));
}

void Terminal::ApplySettings(const TerminalSettings& settings) {
    m_settings = settings;
    m_view.SettingsApplied(m_settings);
    KeepReports();
}

void Terminal::ReadLine() {
    if (!m_line) return;
    const BoxRequests::ReadScope read(m_boxes);
    const std::string bytes = m_line->ReadReceived();
    if (!bytes.empty() && m_reception) m_reception->OnDataReceived(bytes);
}

void Terminal::StatusTick() {
    const BoxRequests::ReadScope read(m_boxes);
    if (m_reception) m_reception->OnTimerTick(m_lineSwitch.IsOpen());
}

bool Terminal::PaneKeyPressed(PaneKey key) { return m_reception && m_reception->OnPaneKey(key); }

std::optional<std::string> Terminal::MacroKey(int functionKey, bool shift, bool ctrl) {
    if (!m_line) return std::nullopt;
    const MacroOutcome outcome = RunMacroKey(functionKey, shift, ctrl, m_store, m_serial);
    if (!outcome.ran) return std::nullopt;
    return outcome.timePanel;
}

bool Terminal::SendKey(int& code) {
    if (!m_sender || !m_line) return false;
    // The sender beeps for what the line code cannot carry, "€" included.
    const bool clear = m_sender->SendBoxKey(code, m_line->Settings().Data, m_settings.TelexCod);
    CheckLine();
    return clear;
}

void Terminal::CheckLine() {
    if (m_line) m_line->CheckLine();
}

}  // namespace dovrel
