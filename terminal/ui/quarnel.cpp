// The main window's controls and how they are laid out and wired.
#include "quarnel.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QSocketNotifier>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "find_bar.h"
#include "qt_audio_input.h"
#include "qt_seams.h"
#include "status_bar_panels.h"
#include "telex_panels.h"
#include "terminal_pane.h"
#include "tool_icons.h"
#include "tuning_strip.h"

namespace dovrel {
namespace {

// The sound input is read this often; the tuning strip gets a new row
// every kAudioTicksPerRow reads.
constexpr int kAudioPollMs = 20;
constexpr int kAudioTicksPerRow = 5;

// The tool-bar buttons in order.
constexpr Command kToolBar[] = {Command::CreateLog,  Command::CloseLog, Command::Serial,
                                Command::Properties, Command::Synop,    Command::EditLog,
                                Command::Clear};

}  // namespace

Quarnel::Quarnel(QuarnelSeams seams, QWidget* parent)
    : QMainWindow(parent), m_seams(std::move(seams)) {
    setObjectName("Quarnel");
    m_audioTimer = new QTimer(this);
    connect(m_audioTimer, &QTimer::timeout, this, [this] { OnAudioTick(); });
    m_scheduler = std::make_unique<QtScheduler>(this);
    m_timer = new QtTickTimer([this] { OnStatusTick(); }, this);
    CreateActions();
    CreateMenu();
    CreateToolBar();
    CreateStatusBar();
    CreateCentral();
    CreateTerminal();
    const TwipsRect design = kDesignWindow;
    resize(TwipsToPixels(design.W, Dpi()), TwipsToPixels(design.H, Dpi()));
    move(TwipsToPixels(design.X, Dpi()), TwipsToPixels(design.Y, Dpi()));
}

// The core with the program's own parts where the seams leave them empty.
void Quarnel::CreateTerminal() {
    TerminalParts parts;
    if (m_seams.box == nullptr) {
        m_qtBox = std::make_unique<QtMessageBox>(this);
        m_qtBox->SetAppTitle(ApplicationTitle());
    }
    if (m_seams.fileChoice == nullptr) m_qtChoice = std::make_unique<QtLogFileChoice>(this);
    if (m_seams.clock == nullptr) m_systemClock = std::make_unique<SystemClock>();
    if (m_seams.audioOpener == nullptr) m_qtAudio = std::make_unique<QtAudioInputOpener>();
    parts.box = m_seams.box ? m_seams.box : m_qtBox.get();
    m_seams.fileChoice = parts.fileChoice =
        m_seams.fileChoice ? m_seams.fileChoice : m_qtChoice.get();
    parts.clock = m_seams.clock ? m_seams.clock : m_systemClock.get();
    parts.audioOpener = m_seams.audioOpener ? m_seams.audioOpener : m_qtAudio.get();
    parts.scheduler = m_scheduler.get();
    parts.timer = m_timer;
    parts.pane = m_pane;
    parts.panels = m_panels;
    parts.printerReader = m_seams.printerReader ? std::move(m_seams.printerReader)
                                                : std::make_unique<PpdevStatusReader>();
    parts.workDir = m_seams.workDir;
    if (parts.workDir.empty()) {
        std::error_code error;  // a vanished working folder leaves "." to fail later, visibly
        parts.workDir = std::filesystem::current_path(error);
        if (error) parts.workDir = ".";
    }
    parts.lockDirectory = m_seams.lockDirectory;
    if (m_seams.createWeather) parts.createWeather = m_seams.createWeather;
    parts.beep = m_seams.beep ? m_seams.beep : [] { QApplication::beep(); };
    m_terminal = std::make_unique<Terminal>(std::move(parts), static_cast<TerminalView&>(*this));
}

Quarnel::~Quarnel() {
    m_terminal->Shutdown();
    m_terminal.reset();
}

double Quarnel::Dpi() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

QAction* Quarnel::Action(Command command) const {
    return m_actions[static_cast<std::size_t>(command)];
}

// One action per command, shared by the menus and the tool bar.
void Quarnel::CreateActions() {
    for (const CommandEntry& entry : Commands()) {
        auto* action = new QAction(entry.text, this);
        action->setObjectName(entry.name);
        if (*entry.toolTip) action->setToolTip(entry.toolTip);
        if (*entry.statusTip) action->setStatusTip(entry.statusTip);
        QList<QKeySequence> keys = QKeySequence::keyBindings(entry.standardKey);
        keys += QKeySequence::listFromString(entry.keys, QKeySequence::PortableText);
        action->setShortcuts(keys);
        const Command command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { Run(command); });
        m_actions[static_cast<std::size_t>(command)] = action;
    }
    for (const Command command : kToolBar)
        Action(command)->setIcon(ToolIcon(EntryOf(command).name));
    for (const Command command : {Command::CloseLog, Command::EditLog})
        Action(command)->setEnabled(false);
}

void Quarnel::Run(Command command) {
    switch (command) {
        case Command::Properties:
            PropertiesDialog();
            break;
        case Command::Serial:
            SerialDialog();
            break;
        case Command::CreateLog:
            m_terminal->CreateLog();
            break;
        case Command::CloseLog:
            m_terminal->CloseLog();
            break;
        case Command::EditLog:
            EditLog();
            break;
        case Command::SaveText:
            SaveReceivedText();
            break;
        case Command::Exit:
            close();
            break;
        case Command::Find:
            m_find->Open();
            break;
        case Command::FindNext:
            m_find->FindNext(false);
            break;
        case Command::FindPrevious:
            m_find->FindNext(true);
            break;
        case Command::Pause:
            OnPaneKey(PaneKey::Pause);
            break;
        case Command::Resume:
            OnPaneKey(PaneKey::EscapeDown);
            break;
        case Command::Clear:
            m_terminal->ClearPane();
            break;
        case Command::Synop:
            m_terminal->ForceSynop();
            break;
        case Command::ZoomIn:
            Zoom(1);
            break;
        case Command::ZoomOut:
            Zoom(-1);
            break;
        case Command::ZoomReset:
            Zoom(0);
            break;
    }
}

// Menu entries in order; nothing stands for a separator.
QMenu* Quarnel::AddMenu(const char* name, const char* title,
                        std::initializer_list<std::optional<Command>> entries) {
    QMenu* menu = menuBar()->addMenu(title);
    menu->setObjectName(name);
    for (const std::optional<Command>& entry : entries)
        if (entry) {
            menu->addAction(Action(*entry));
        } else {
            menu->addSeparator();
        }
    return menu;
}

void Quarnel::CreateMenu() {
    QMenu* actions = AddMenu(
        "mnuFile", "&Actions",
        {Command::Properties, Command::Serial, std::nullopt, Command::CreateLog, Command::CloseLog,
         Command::EditLog, Command::SaveText, std::nullopt, Command::Exit});
    const char* separators[] = {"Bar0", "Bar2"};
    int next = 0;
    for (QAction* entry : actions->actions())
        if (entry->isSeparator() && next < 2) entry->setObjectName(separators[next++]);
    AddMenu("mnuEdit", "&Edit",
            {Command::Find, Command::FindNext, Command::FindPrevious, std::nullopt, Command::Pause,
             Command::Resume, Command::Clear, std::nullopt, Command::Synop});
    AddMenu("mnuView", "&View", {Command::ZoomIn, Command::ZoomOut, Command::ZoomReset});
}

void Quarnel::CreateToolBar() {
    QToolBar* bar = addToolBar("ToolBar");
    bar->setObjectName("ToolBar");
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    for (const Command command : kToolBar) bar->addAction(Action(command));
    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    CreateLamp();
    bar->addWidget(m_lamp);
}

void Quarnel::CreateLamp() {
    m_lamp = new QToolButton(this);
    m_lamp->setObjectName("LEDFrm");
    m_lamp->setAutoRaise(true);
    m_lamp->setIconSize(QSize(16, 16));
    connect(m_lamp, &QToolButton::clicked, this, [this] { LampClick(); });
    m_connectedLamp = true;  // so the first ShowLamp-like update draws red
    ShowLineStatus(LineStatus{});
}

void Quarnel::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar");
    // Like the panels of old, those that do not fit are cut off at the right
    // instead of widening the window.
    bar->setSizePolicy(QSizePolicy::Ignored, bar->sizePolicy().verticalPolicy());
    m_panels = new StatusBarPanels(bar, Dpi());
    connect(m_panels, &StatusBarPanels::PanelClicked, this,
            [this](const QString& key) { PanelClick(key); });
}

void Quarnel::CreateCentral() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_tuning = new TuningStrip(central);
    m_tuning->setVisible(false);
    connect(m_tuning, &TuningStrip::TuneRequested, this,
            [this](double hz) { m_terminal->Audio().TuneTo(hz); });
    connect(m_tuning, &TuningStrip::ShiftRequested, this,
            [this] { m_terminal->ClickPanel("Shift", PanelButton::Left); });
    connect(m_tuning, &TuningStrip::PolarityRequested, this, [this](int choice) {
        if (m_terminal->HasLine()) m_terminal->Line().SetPolarity(choice);
    });
    connect(m_tuning, &TuningStrip::MendShiftsRequested, this, [this](bool on) {
        if (m_terminal->HasLine()) m_terminal->Line().SetMendShifts(on);
    });
    m_pane = new TerminalPane(central);
    m_find = new nimbo::FindBar(m_pane, central);
    m_send = new QLineEdit(central);
    m_send->setObjectName("txtSend");
    m_send->setToolTip("Type the squence to be sent here.");
    m_send->setVisible(false);
    layout->addWidget(m_tuning);
    layout->addWidget(m_pane, 1);
    layout->addWidget(m_find);
    layout->addWidget(m_send);
    setCentralWidget(central);
    connect(m_pane, &TerminalPane::PauseKey, this, [this] { OnPaneKey(PaneKey::Pause); });
    connect(m_pane, &TerminalPane::ResumeKey, this, [this] { OnPaneKey(PaneKey::EscapeDown); });
    connect(m_pane, &TerminalPane::OtherKey, this, [this] { OnPaneKey(PaneKey::Other); });
    connect(m_pane, &TerminalPane::SelectionMade, this,
            [this](const QString& text) { OnSelection(text); });
    connect(m_pane, &TerminalPane::PushRequested, this, [this] { PushToApplication(); });
    // The window sees every key before its controls (function-key macros).
    m_pane->installEventFilter(this);
    m_send->installEventFilter(this);
}

void Quarnel::closeEvent(QCloseEvent* event) {
    Shutdown();
    QMainWindow::closeEvent(event);
}

// The lamp, the line panels, the timer and the watch on the line's
// descriptor follow the state of the line.
void Quarnel::ShowLineStatus(const LineStatus& status) {
    if (status.connected != m_connectedLamp || m_lamp->icon().isNull()) {
        m_connectedLamp = status.connected;
        m_lamp->setIcon(LampIcon(status.connected));
        m_lamp->setToolTip(status.connected ? "Disconnects Serial port" : "Connects Serial port");
    }
    if (!m_terminal || !m_terminal->HasLine()) return;  // the lamp alone before start-up
    m_panels->SetText("Status", QString::fromStdString(status.StatusText));
    m_panels->SetText("Mode", QString::fromStdString(status.Mode));
    m_panels->SetText("Bauds", QString::fromStdString(status.Bauds));
    m_panels->SetText("Parity", QString::fromStdString(status.Parity));
    m_panels->SetText("Stops", QString::fromStdString(status.Stops));
    m_panels->SetText("Port", QString::fromStdString(status.Port));
    RefreshTelexPanels();
    WatchLine();
    WatchAudio();
}

void Quarnel::WatchLine() {
    const int fd = m_terminal->Serial().Fd();
    if (m_readNotifier && m_readNotifier->socket() != fd) {
        delete m_readNotifier;
        m_readNotifier = nullptr;
        delete m_writeNotifier;
        m_writeNotifier = nullptr;
    }
    if (fd < 0 || m_readNotifier) return;
    m_readNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, [this] { OnLineReadable(); });
    m_writeNotifier = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(m_terminal->Serial().HasPendingOutput());
    connect(m_writeNotifier, &QSocketNotifier::activated, this, [this] { OnLineWritable(); });
}

void Quarnel::OnLineReadable() {
    m_terminal->ReadLine();
    WatchLine();
}

// A sound input has no descriptor to watch: it is read on a timer while it
// is the open line, and the tuning strip and the send box follow it.
void Quarnel::WatchAudio() {
    const LineSwitch& lines = m_terminal->Lines();
    const bool audio = lines.IsAudio() && lines.IsOpen();
    if (audio && !m_audioTimer->isActive()) {
        m_tuning->Reset();
        m_audioTimer->start(kAudioPollMs);
    } else if (!audio && m_audioTimer->isActive()) {
        m_audioTimer->stop();
    }
    m_tuning->setVisible(lines.IsAudio());
    m_tuning->SetShift(m_terminal->Line().Settings().Shift);
    m_tuning->SetPolarity(m_terminal->Line().Settings().Polarity);
    m_tuning->SetMendShifts(m_terminal->Line().Settings().MendShifts);
    m_send->setEnabled(!lines.IsAudio());
    m_send->setToolTip(lines.IsAudio() ? "Receive only: nothing is sent over a sound input."
                                       : "Type the squence to be sent here.");
}

void Quarnel::OnAudioTick() {
    if (!m_terminal->HasLine()) return;
    OnLineReadable();
    const modem::Demodulator* demod = m_terminal->Audio().Demodulator();
    if (demod == nullptr || ++m_audioTicks % kAudioTicksPerRow != 0) return;
    std::vector<float> bins;
    demod->Spectrum(bins);
    m_tuning->AddSpectrum(bins, demod->Tuning());
}

void Quarnel::OnLineWritable() {
    m_terminal->Serial().FlushOutput();
    m_terminal->CheckLine();
    if (m_writeNotifier) m_writeNotifier->setEnabled(m_terminal->Serial().HasPendingOutput());
}

void Quarnel::RefreshTelexPanels() {
    const TerminalSettings& settings = m_terminal->Settings();
    const bool telex = m_terminal->HasLine() && m_terminal->Line().Settings().Data == 5;
    m_panels->SetShown("Uos", telex);
    m_panels->SetShown("Code", telex);
    m_panels->SetShown("Parity", !telex);
    m_panels->SetText("Uos", QString::fromStdString(UosText(settings.TelexUOS)));
    m_panels->SetToolTip("Uos", QString::fromStdString(UosToolTip(settings.TelexUOS)));
    m_panels->SetText("CrLf", QString::fromStdString(CrLfText(settings.TelexCrl)));
    m_panels->SetToolTip("CrLf", QString::fromStdString(CrLfToolTip(settings.TelexCrl)));
    m_panels->SetText("Code", QString::fromStdString(AlphabetName(settings.TelexCod)));
}

bool Quarnel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        MacroKey(key);  // the key itself still reaches the control
        if (watched == m_send && SendBoxKey(key)) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Quarnel::MacroKey(QKeyEvent* event) {
    const int key = event->key();
    if (key < Qt::Key_F1 || key > Qt::Key_F12 || !m_terminal->HasLine()) return;
    const Qt::KeyboardModifiers mods = event->modifiers();
    const std::optional<std::string> time = m_terminal->MacroKey(
        key - Qt::Key_F1 + 1, (mods & Qt::ShiftModifier) != 0, (mods & Qt::ControlModifier) != 0);
    if (time) m_panels->SetText("Time", QString::fromStdString(*time));
    AfterLineWrite();
}

// True when the key is swallowed.
bool Quarnel::SendBoxKey(QKeyEvent* event) {
    const QList<uint> text = event->text().toUcs4();
    if (text.size() != 1 || !m_terminal->HasLine()) return false;
    int code = static_cast<int>(text.front());
    if (code == '\n') code = '\r';
    const bool clear = m_terminal->SendKey(code);
    AfterLineWrite();
    if (clear) {
        m_send->clear();
        return true;
    }
    return code == 0;
}

void Quarnel::AfterLineWrite() {
    m_terminal->CheckLine();
    if (m_writeNotifier) m_writeNotifier->setEnabled(m_terminal->Serial().HasPendingOutput());
}

}  // namespace dovrel
