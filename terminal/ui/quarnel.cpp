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

#include "command_line.h"
#include "find_bar.h"
#include "qt_audio_input.h"
#include "qt_seams.h"
#include "status_bar_panels.h"
#include "telex_panels.h"
#include "terminal_pane.h"
#include "tool_icons.h"
#include "tuning_strip.h"
#include "window_geometry.h"

namespace dovrel {
namespace {

// Tool-bar buttons in order: key, tool tip, descriptive text.
struct ToolSpec {
    const char* key;
    const char* toolTip;
    const char* description;
};
// The sound input is read this often; the tuning strip gets a new row
// every kAudioTicksPerRow reads.
constexpr int kAudioPollMs = 20;
constexpr int kAudioTicksPerRow = 5;

constexpr ToolSpec kTools[] = {
    {"CreateLogFile", "Create Log File...", "Create Log File..."},
    {"CloseLogFile", "Close Log File", "Close Log File"},
    {"Serial", "Serial port configuration", "Serial port configuration"},
    {"Properties", "Properties...", "Common Properties..."},
    {"Synop", "Force synop decode", ""},
    {"Edit", "Edit current log file", ""},
    {"Clear", "Clear screen content", ""},
};

}  // namespace

Quarnel::Quarnel(QuarnelSeams seams, QWidget* parent)
    : QMainWindow(parent),
      m_seams(std::move(seams)),
      m_store(SettingsStore::ForUser(), ""),
      m_serial(m_seams.lockDirectory) {
    setObjectName("Quarnel");
    if (m_seams.box == nullptr) {
        m_qtBox = std::make_unique<QtMessageBox>(this);
        m_qtBox->SetAppTitle(ApplicationTitle());
    }
    if (m_seams.fileChoice == nullptr) m_qtChoice = std::make_unique<QtLogFileChoice>(this);
    if (m_seams.clock == nullptr) m_systemClock = std::make_unique<SystemClock>();
    m_box = m_seams.box ? m_seams.box : m_qtBox.get();
    m_choice = m_seams.fileChoice ? m_seams.fileChoice : m_qtChoice.get();
    m_clock = m_seams.clock ? m_seams.clock : m_systemClock.get();
    if (!m_seams.beep) m_seams.beep = [] { QApplication::beep(); };
    if (m_seams.workDir.empty()) {
        std::error_code error;  // a vanished working folder leaves "." to fail later, visibly
        m_seams.workDir = std::filesystem::current_path(error);
        if (error) m_seams.workDir = ".";
    }

    m_printerReader = m_seams.printerReader ? std::move(m_seams.printerReader)
                                            : std::make_unique<PpdevStatusReader>();
    if (m_seams.audioOpener == nullptr) m_qtAudio = std::make_unique<QtAudioInputOpener>();
    m_audio = std::make_unique<AudioLine>(m_seams.audioOpener ? *m_seams.audioOpener : *m_qtAudio);
    m_lineSwitch = std::make_unique<LineSwitch>(m_serial, *m_audio);
    m_audioTimer = new QTimer(this);
    connect(m_audioTimer, &QTimer::timeout, this, [this] { OnAudioTick(); });
    m_scheduler = std::make_unique<QtScheduler>(this);
    m_timer = new QtTickTimer([this] { OnStatusTick(); }, this);
    CreateActions();
    CreateMenu();
    CreateToolBar();
    CreateStatusBar();
    CreateCentral();
    const TwipsRect design = kDesignWindow;
    resize(TwipsToPixels(design.W, Dpi()), TwipsToPixels(design.H, Dpi()));
    move(TwipsToPixels(design.X, Dpi()), TwipsToPixels(design.Y, Dpi()));
}

Quarnel::~Quarnel() {
    Shutdown();
    // The notifiers watch the line's descriptor: gone before the line closes.
    delete m_readNotifier;
    delete m_writeNotifier;
    m_reception.reset();
}

double Quarnel::Dpi() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

QAction* Quarnel::Action(const QString& name) const { return findChild<QAction*>(name); }

void Quarnel::CreateActions() {
    auto add = [this](const char* name, const QString& text, auto slot) {
        auto* action = new QAction(text, this);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add("mnuProperties", "&Properties...", [this] { PropertiesDialog(); });
    add("mnuSerial", "&Serial", [this] { SerialDialog(); });
    add("mnuCreateLog", "&Create Log File...", [this] { CreateLog(); });
    add("mnuCloseLog", "&Close Log File", [this] { CloseLog(); })->setEnabled(false);
    add("mnuFileExit", "E&xit", [this] { close(); });
    CreateDailyActions(add);
    for (const auto& tool : kTools) {
        const QString key = tool.key;
        QAction* action = add(tool.key, tool.toolTip, [this, key] { ToolBarClick(key); });
        action->setToolTip(tool.toolTip);
        action->setStatusTip(tool.description);
        action->setIcon(ToolIcon(key));
    }
    Action("CloseLogFile")->setEnabled(false);
    Action("Edit")->setEnabled(false);
    // Tool-bar commands that the menus show as well, under their menu texts.
    Action("Edit")->setText("&Edit Log File");
    Action("Clear")->setText("C&lear Screen");
    Action("Synop")->setText("Force S&ynop Decode");
}

// Finding, saving, zooming and the pause keys, each one action with its keys.
// The pause entries name the pane's keys without taking them: the keys keep
// working in the pane alone, as they always have.
template <class Add>
void Quarnel::CreateDailyActions(Add& add) {
    const auto keys = [](QAction* action, std::initializer_list<QKeySequence> sequences) {
        action->setShortcuts(QList<QKeySequence>(sequences));
    };
    keys(add("mnuFind", "&Find...", [this] { m_find->Open(); }), {QKeySequence::Find});
    keys(add("mnuFindNext", "Find &Next", [this] { m_find->FindNext(false); }),
         {QKeySequence(Qt::CTRL | Qt::Key_G)});
    keys(add("mnuFindPrevious", "Find Pre&vious", [this] { m_find->FindNext(true); }),
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)});
    keys(add("mnuSaveText", "Save Received Text &As...", [this] { SaveReceivedText(); }),
         {QKeySequence::Save});
    keys(add("mnuZoomIn", "Zoom &In", [this] { Zoom(1); }),
         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    keys(add("mnuZoomOut", "Zoom &Out", [this] { Zoom(-1); }),
         {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    keys(add("mnuZoomReset", "&Normal Size", [this] { Zoom(0); }),
         {QKeySequence(Qt::CTRL | Qt::Key_0)});
    add("mnuPause", "&Pause Display\tPause", [this] { OnPaneKey(PaneKey::Pause); });
    add("mnuResume", "&Resume Display\tEsc", [this] { OnPaneKey(PaneKey::EscapeDown); });
}

void Quarnel::CreateMenu() {
    QMenu* menu = menuBar()->addMenu("&Actions");
    menu->setObjectName("mnuFile");
    menu->addAction(Action("mnuProperties"));
    menu->addAction(Action("mnuSerial"));
    menu->addSeparator()->setObjectName("Bar0");
    menu->addAction(Action("mnuCreateLog"));
    menu->addAction(Action("mnuCloseLog"));
    menu->addAction(Action("Edit"));
    menu->addAction(Action("mnuSaveText"));
    menu->addSeparator()->setObjectName("Bar2");
    menu->addAction(Action("mnuFileExit"));
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("mnuEdit");
    for (const char* name : {"mnuFind", "mnuFindNext", "mnuFindPrevious", "", "mnuPause",
                             "mnuResume", "Clear", "", "Synop"})
        if (*name) {
            edit->addAction(Action(name));
        } else {
            edit->addSeparator();
        }
    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("mnuView");
    for (const char* name : {"mnuZoomIn", "mnuZoomOut", "mnuZoomReset"})
        view->addAction(Action(name));
}

void Quarnel::CreateToolBar() {
    QToolBar* bar = addToolBar("ToolBar");
    bar->setObjectName("ToolBar");
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    for (const auto& tool : kTools) bar->addAction(Action(tool.key));
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
            [this](double hz) { m_audio->TuneTo(hz); });
    connect(m_tuning, &TuningStrip::ShiftRequested, this, [this] {
        if (m_line) m_line->ClickPanel("Shift", PanelButton::Left, m_settings.NstdBauds);
    });
    connect(m_tuning, &TuningStrip::PolarityRequested, this, [this](int choice) {
        if (m_line) m_line->SetPolarity(choice);
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

void Quarnel::resizeEvent(QResizeEvent* event) {
    // The pane fills the room between tool bar and status bar through the
    // central widget's layout.
    QMainWindow::resizeEvent(event);
}

void Quarnel::closeEvent(QCloseEvent* event) {
    Shutdown();
    QMainWindow::closeEvent(event);
}

// LineStatusView: the lamp, the line panels, the timer and the watch on
// the line's descriptor follow the state of the line.
void Quarnel::ShowLineStatus(const LineStatus& status) {
    if (status.connected != m_connectedLamp || m_lamp->icon().isNull()) {
        m_connectedLamp = status.connected;
        m_lamp->setIcon(LampIcon(status.connected));
        m_lamp->setToolTip(status.connected ? "Disconnects Serial port" : "Connects Serial port");
    }
    if (!m_line) return;  // the lamp alone before start-up
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
    m_panels->SetText("Status", QString::fromStdString(status.StatusText));
    m_panels->SetText("Mode", QString::fromStdString(status.Mode));
    m_panels->SetText("Bauds", QString::fromStdString(status.Bauds));
    m_panels->SetText("Parity", QString::fromStdString(status.Parity));
    m_panels->SetText("Stops", QString::fromStdString(status.Stops));
    m_panels->SetText("Port", QString::fromStdString(status.Port));
    RefreshTelexPanels();
    WatchLine();
    WatchAudio();
    if (status.ended != m_inputEnded) {
        m_inputEnded = status.ended;
        ApplyCaption();
    }
}

void Quarnel::WatchLine() {
    const int fd = m_serial.Fd();
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
    m_writeNotifier->setEnabled(m_serial.HasPendingOutput());
    connect(m_writeNotifier, &QSocketNotifier::activated, this, [this] { OnLineWritable(); });
}

void Quarnel::OnLineReadable() {
    const std::string bytes = m_line->ReadReceived();
    if (!bytes.empty() && m_reception) m_reception->OnDataReceived(bytes);
    WatchLine();
}

// A sound input has no descriptor to watch: it is read on a timer while it
// is the open line, and the tuning strip and the send box follow it.
void Quarnel::WatchAudio() {
    const bool audio = m_lineSwitch->IsAudio() && m_lineSwitch->IsOpen();
    if (audio && !m_audioTimer->isActive()) {
        m_tuning->Reset();
        m_audioTimer->start(kAudioPollMs);
    } else if (!audio && m_audioTimer->isActive()) {
        m_audioTimer->stop();
    }
    m_tuning->setVisible(m_lineSwitch->IsAudio());
    m_tuning->SetShift(m_line->Settings().Shift);
    m_tuning->SetPolarity(m_line->Settings().Polarity);
    m_send->setEnabled(!m_lineSwitch->IsAudio());
    m_send->setToolTip(m_lineSwitch->IsAudio() ? "Receive only: nothing is sent over a sound input."
                                               : "Type the squence to be sent here.");
}

void Quarnel::OnAudioTick() {
    if (!m_line) return;
    OnLineReadable();
    const modem::Demodulator* demod = m_audio->Demodulator();
    if (demod == nullptr || ++m_audioTicks % kAudioTicksPerRow != 0) return;
    std::vector<float> bins;
    demod->Spectrum(bins);
    m_tuning->AddSpectrum(bins, demod->Tuning());
}

void Quarnel::OnLineWritable() {
    m_serial.FlushOutput();
    m_line->CheckLine();
    if (m_writeNotifier) m_writeNotifier->setEnabled(m_serial.HasPendingOutput());
}

void Quarnel::RefreshTelexPanels() {
    const bool telex = m_line && m_line->Settings().Data == 5;
    m_panels->SetShown("Uos", telex);
    m_panels->SetShown("Code", telex);
    m_panels->SetShown("Parity", !telex);
    m_panels->SetText("Uos", QString::fromStdString(UosText(m_settings.TelexUOS)));
    m_panels->SetToolTip("Uos", QString::fromStdString(UosToolTip(m_settings.TelexUOS)));
    m_panels->SetText("CrLf", QString::fromStdString(CrLfText(m_settings.TelexCrl)));
    m_panels->SetToolTip("CrLf", QString::fromStdString(CrLfToolTip(m_settings.TelexCrl)));
    m_panels->SetText("Code", QString::fromStdString(AlphabetName(m_settings.TelexCod)));
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
    if (key < Qt::Key_F1 || key > Qt::Key_F12 || !m_line) return;
    const Qt::KeyboardModifiers mods = event->modifiers();
    const MacroOutcome outcome = RunMacroKey(key - Qt::Key_F1 + 1, (mods & Qt::ShiftModifier) != 0,
                                             (mods & Qt::ControlModifier) != 0, m_store, m_serial);
    if (outcome.ran) m_panels->SetText("Time", QString::fromStdString(outcome.timePanel));
    AfterLineWrite();
}

// True when the key is swallowed.
bool Quarnel::SendBoxKey(QKeyEvent* event) {
    const QList<uint> text = event->text().toUcs4();
    if (text.size() != 1 || !m_sender || !m_line) return false;
    int code = static_cast<int>(text.front());
    if (code == '\n') code = '\r';
    // The sender beeps for what the line code cannot carry, "€" included.
    const bool clear = m_sender->SendBoxKey(code, m_line->Settings().Data, m_settings.TelexCod);
    AfterLineWrite();
    if (clear) {
        m_send->clear();
        return true;
    }
    return code == 0;
}

void Quarnel::AfterLineWrite() {
    m_line->CheckLine();
    if (m_writeNotifier) m_writeNotifier->setEnabled(m_serial.HasPendingOutput());
}

}  // namespace dovrel
