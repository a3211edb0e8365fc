// Decoder window: layout, tool-bar commands, keys and status-bar clicks.
#include "decoder_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "find_bar.h"
#include "result_text.h"
#include "rich_text_pane.h"
#include "station_map_window.h"
#include "status_panes.h"
#include "user_prompts.h"
#include "weather_dialog.h"
#include "writable_file.h"

namespace nimboview {
namespace {

// 452 by 230 dialog units of an 8-point dialog font.
constexpr QSize kInitialSize(678, 374);

std::string FileSystemName(const QString& text) { return QFile::encodeName(text).toStdString(); }

}  // namespace

DecoderWindow::DecoderWindow(WeatherDialog& dialog) : m_dialog(dialog) {
    setWindowTitle(QStringLiteral("Weather Decoder"));
    setWindowIcon(DecoderWindowIcon());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreateToolBar();
    m_text = new RichTextPane(this);
    m_text->installEventFilter(this);
    m_text->viewport()->installEventFilter(this);
    m_find = new nimbo::FindBar(m_text, this);
    m_panes = new StatusPanes(this);
    connect(m_panes, &StatusPanes::PaneClicked, this, &DecoderWindow::PaneClicked);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_find);
    layout->addWidget(m_panes);
    resize(kInitialSize);
    setFocusProxy(m_text);
}

DecoderWindow::~DecoderWindow() = default;

void DecoderWindow::CreateToolBar() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setIconSize(QSize(16, 15));
    AddCommand(ToolCommand::kOpenLog, false);
    AddCommand(ToolCommand::kCloseLog, false)->setEnabled(false);
    m_toolBar->addSeparator();
    AddCommand(ToolCommand::kClear, false);
    AddCommand(ToolCommand::kCopy, false);
    m_toolBar->addSeparator();
    AddCommand(ToolCommand::kResync, true)->setChecked(false);
    m_toolBar->addSeparator();
    AddCommand(ToolCommand::kPause, true)->setChecked(m_dialog.Paused());
    AddCommand(ToolCommand::kShowMap, false);
    m_toolBar->addSeparator();
    AddCommand(ToolCommand::kFind, false)->setShortcut(QKeySequence::Find);
    AddCommand(ToolCommand::kExport, false);
    // Font zoom with the terminal's keys: Ctrl+plus (or Ctrl+=), Ctrl+minus,
    // Ctrl+0 back to the default size; the control tells its host, which
    // keeps it for the next start.
    for (const auto& [keys, step] : {std::pair{QKeySequence(QKeySequence::ZoomIn), 1},
                                     std::pair{QKeySequence(Qt::CTRL | Qt::Key_Equal), 1},
                                     std::pair{QKeySequence(QKeySequence::ZoomOut), -1},
                                     std::pair{QKeySequence(Qt::CTRL | Qt::Key_0), 0}}) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, [this, step] { m_dialog.StepFontZoom(step); });
        addAction(action);
    }
    // Next and previous match from anywhere in the window, as in the terminal.
    for (const auto& [keys, backward] :
         {std::pair{QKeySequence(Qt::CTRL | Qt::Key_G), false},
          std::pair{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G), true}}) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this,
                [this, backward] { m_find->FindNext(backward); });
        addAction(action);
    }
}

QAction* DecoderWindow::AddCommand(ToolCommand command, bool checkable) {
    QAction* action = m_toolBar->addAction(ToolIcon(command), ToolTipText(command));
    action->setToolTip(ToolTipText(command));
    action->setCheckable(checkable);
    connect(action, &QAction::triggered, this,
            [this, command](bool checked) { RunCommand(command, checked); });
    m_actions[command] = action;
    return action;
}

QAction* DecoderWindow::Action(ToolCommand command) const {
    const auto found = m_actions.find(command);
    return found == m_actions.end() ? nullptr : found->second;
}

void DecoderWindow::RunCommand(ToolCommand command, bool checked) {
    switch (command) {
        case ToolCommand::kOpenLog:
            OpenLog();
            break;
        case ToolCommand::kCloseLog:
            m_dialog.put_LogStart(0);
            break;
        case ToolCommand::kClear:
            Clear();
            break;
        case ToolCommand::kCopy:
            Copy();
            break;
        case ToolCommand::kResync:
            m_dialog.put_DecoderResyn(checked ? 1 : 0);
            break;
        case ToolCommand::kPause:
            if (checked) {
                m_dialog.StartPause();
            } else {
                m_dialog.EndPause();
            }
            break;
        case ToolCommand::kShowMap:
            ToggleMap();
            break;
        case ToolCommand::kFind:
            m_find->Open();
            break;
        case ToolCommand::kExport:
            ExportReports();
            break;
    }
}

void DecoderWindow::OpenLog() {
    std::string path;
    std::string name;
    m_dialog.get_LogPathName(&path);
    m_dialog.get_LogFileName(&name);
    const auto chosen = m_dialog.Prompts().ChooseLogFile(
        this, {QFile::decodeName(path.c_str()), QFile::decodeName(name.c_str())});
    if (!chosen) return;
    const QFileInfo file(*chosen);
    const QString baseName = file.completeBaseName();
    m_dialog.put_LogPathName(FileSystemName(file.absolutePath()));
    m_dialog.put_LogFileName(FileSystemName(baseName));
    const nimbo::HRESULT result = m_dialog.StartLogging(1);
    // The decoder's own reason says which file and why ("it is a character
    // device, not a regular file"); the result code alone says less.
    const std::string failures = m_dialog.TakeLogFailures();
    if (nimbo::Failed(result)) {
        const std::string reason = failures.empty() ? ResultText(result) : failures;
        m_dialog.Prompts().Warning(
            this, QStringLiteral("Open Log Error"),
            "\"" + baseName + "\" : " + QString::fromLocal8Bit(reason.c_str()));
    }
}

void DecoderWindow::ToggleMap() {
    if (m_map && m_map->isVisible()) {
        delete m_map;
        return;
    }
    // Hidden with the decoder window by its close box: bring it back.
    if (m_map) {
        m_map->show();
        return;
    }
    m_map = new StationMapWindow(m_dialog.Stations(), this, &m_dialog.Models());
    connect(m_map, &StationMapWindow::StationClicked, this, &DecoderWindow::StationClicked);
    connect(m_map, &StationMapWindow::StationClicked, this,
            [this](const QString& station) { ShowStationHistory(station.toStdString()); });
    if (!m_mapOpenedBefore) {
        m_mapOpenedBefore = true;
        m_map->move(frameGeometry().bottomLeft() + QPoint(0, 1));
    }
    m_map->show();
}

void DecoderWindow::ShowStationHistory(const std::string& station) {
    if (!m_history) m_history = new StationHistoryWindow(this);
    m_history->ShowStation(m_dialog.ArchivePath(), station);
    m_history->show();
    m_history->raise();
}

void DecoderWindow::TextClicked(const QPoint& at) {
    if (m_text->textCursor().hasSelection()) return;
    const std::string station = StationOfDecodedLine(m_text->cursorForPosition(at).block().text());
    if (!station.empty()) ShowStationHistory(station);
}

void DecoderWindow::Clear() {
    m_text->ClearAll();
    m_dialog.Reports().Clear();
}

void DecoderWindow::ExportReports() {
    UserPrompts& prompts = m_dialog.Prompts();
    if (m_dialog.Reports().Size() == 0) {
        prompts.Warning(this, QStringLiteral("Export"), QStringLiteral("No report decoded yet."));
        return;
    }
    std::string folder;
    m_dialog.get_LogPathName(&folder);
    const auto chosen = prompts.ChooseExportFile(
        this, QFile::decodeName(folder.c_str()) + QStringLiteral("/reports.csv"));
    if (!chosen) return;
    const std::string path = FileSystemName(*chosen);
    const std::string problem = nimbo::WriteWholeFile(
        path, m_dialog.Reports().Document(ExportFormatOf(chosen->toStdString())));
    if (!problem.empty())
        prompts.Warning(this, QStringLiteral("Export Error"),
                        "Cannot write " + *chosen + ": " + QString::fromLocal8Bit(problem.c_str()));
}

void DecoderWindow::Copy() { m_text->CopyAll(); }

void DecoderWindow::SetLoggingCommands(bool logging) {
    Action(ToolCommand::kOpenLog)->setEnabled(!logging);
    Action(ToolCommand::kCloseLog)->setEnabled(logging);
}

void DecoderWindow::SetPauseChecked(bool checked) {
    Action(ToolCommand::kPause)->setChecked(checked);
}

void DecoderWindow::SetStatusText(int pane, const QString& text) { m_panes->SetText(pane, text); }

void DecoderWindow::PaneClicked(int pane) { m_dialog.ToggleModeOfPane(pane); }

void DecoderWindow::Append(const QString& text, const QColor& colour, bool bold) {
    m_text->Append(text, colour, bold);
}

void DecoderWindow::SetStateText(const QString& text) { m_panes->SetText(0, text); }

void DecoderWindow::SetResyncChecked(bool checked) {
    Action(ToolCommand::kResync)->setChecked(checked);
}

void DecoderWindow::ShowIfHidden() {
    // Reports arrive every few seconds while traffic flows: a window the user
    // maximised, minimised or left behind another one must stay so.
    if (isVisible()) return;
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void DecoderWindow::StationsChanged(const QString& title) {
    if (m_map) m_map->StationsChanged(title);
}

void DecoderWindow::closeEvent(QCloseEvent* event) {
    // The close box only hides: the host brings the window back with Show.
    if (m_map) m_map->hide();
    hide();
    event->ignore();
}

bool DecoderWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_text->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        TextClicked(static_cast<QMouseEvent*>(event)->position().toPoint());
    }
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Pause) {
            m_dialog.StartPause();
            SetPauseChecked(true);
            return true;
        }
        if (key == Qt::Key_Escape) {
            m_dialog.EndPause();
            SetPauseChecked(false);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DecoderWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_text->setFocus();
    KeepWantedFrame();
}

void DecoderWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    KeepWantedFrame();
}

void DecoderWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    KeepWantedFrame();
}

QMargins DecoderWindow::FrameMargins() const {
    const QRect frame = frameGeometry();
    const QRect inside = geometry();
    return {inside.left() - frame.left(), inside.top() - frame.top(),
            frame.right() - inside.right(), frame.bottom() - inside.bottom()};
}

void DecoderWindow::SetFrameGeometry(const QRect& frame) {
    m_wantedFrame = frame;
    ApplyFrameGeometry();
}

void DecoderWindow::ApplyFrameGeometry() {
    const QRect wanted = *m_wantedFrame;
    m_placedMargins = FrameMargins();
    // Once the borders are known the frame is placed for good; the user may
    // move and size it from then on.
    if (!m_placedMargins.isNull()) m_wantedFrame.reset();
    const int width = wanted.width() - m_placedMargins.left() - m_placedMargins.right();
    const int height = wanted.height() - m_placedMargins.top() - m_placedMargins.bottom();
    // A window's position is that of its frame; its size that of the inside.
    move(wanted.topLeft());
    resize(std::max(1, width), std::max(1, height));
}

void DecoderWindow::KeepWantedFrame() {
    if (!m_wantedFrame || FrameMargins() == m_placedMargins) return;
    ApplyFrameGeometry();
}

}  // namespace nimboview
