// Commands of the main window: tool bar, menu, lamp, status panels, dialogs,
// logs, pane keys and the push to another application.
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QSocketNotifier>
#include <QStringList>
#include <QToolButton>

#include "dec_opt_dialog.h"
#include "line_panels.h"
#include "qt_audio_input.h"
#include "qt_seams.h"
#include "quarnel.h"
#include "status_bar_panels.h"
#include "telex_panels.h"
#include "terminal_pane.h"
#include "writable_file.h"

namespace dovrel {
namespace {

// Dialogs open 1500 twips right of and below the window's top left corner.
constexpr int kDialogOffsetTwips = 1500;

bool StartDetached(const std::vector<std::string>& command) {
    if (command.empty()) return false;
    QStringList args;
    for (std::size_t i = 1; i < command.size(); ++i) args << QString::fromStdString(command[i]);
    return QProcess::startDetached(QString::fromStdString(command[0]), args);
}

}  // namespace

int Quarnel::RunDialog(QDialog& dialog) {
    const int offset = TwipsToPixels(kDialogOffsetTwips, Dpi());
    dialog.move(geometry().topLeft() + QPoint(offset, offset));
    if (m_seams.runDialog) return m_seams.runDialog(dialog);
    return dialog.exec();
}

void Quarnel::PanelClick(const QString& key) {
    if (!m_terminal->HasLine()) return;
    const PanelButton button = m_panels->LastButton() == 2 ? PanelButton::Right : PanelButton::Left;
    m_terminal->ClickPanel(key.toStdString(), button);
    RefreshTelexPanels();
}

void Quarnel::SerialDialog() {
    if (!m_terminal->HasLine()) return;
    LineSettings chosen = m_terminal->Line().Settings();
    if (ChoosePort(chosen)) m_terminal->ApplyPortDialog(chosen);
}

void Quarnel::PropertiesDialog() {
    auto status = [this](std::int32_t& port) {
        int p = port;
        std::string text = GetPrinterStatus(p, m_terminal->PrinterReader());
        port = p;
        return text;
    };
    DecOptDialog dialog(m_terminal->Settings(), m_terminal->Store(), m_terminal->Boxes(), status,
                        this);
    if (RunDialog(dialog) == QDialog::Accepted) m_terminal->ApplySettings(dialog.Settings());
    const TerminalSettings& settings = m_terminal->Settings();
    m_send->setVisible(settings.AllowSend);
    if (settings.AllowSend) m_send->setFocus();
    m_panels->SetShown("Print", settings.PrinterId > 0);
}

void Quarnel::EditLog() {
    if (!m_terminal->HasLog()) return;
    const std::vector<std::string> command = m_terminal->Log().EditCommand();
    if (command.empty()) return;
    if (m_seams.startProcess) {
        m_seams.startProcess(command);
    } else {
        StartDetached(command);
    }
}

void Quarnel::OnStatusTick() {
    m_terminal->StatusTick();
    if (m_firstTick) {
        m_firstTick = false;
        if (m_terminal->Settings().AllowSend) m_send->setFocus();
    }
}

void Quarnel::OnPaneKey(PaneKey key) {
    if (m_terminal->PaneKeyPressed(key)) m_pane->CaretToEnd();
}

void Quarnel::OnSelection(const QString& text) {
    if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
    const Reception* reception = m_terminal->Receiver();
    const ReceiveState* state = reception ? &reception->State() : nullptr;
    if (state == nullptr || (!state->Paused && !state->Busy)) m_pane->CaretToEnd();
    ApplyFontSize();
}

void Quarnel::ApplyFontSize() {
    const TerminalSettings& settings = m_terminal->Settings();
    if (settings.FontSize == 0) return;
    const double size = ZoomedFontSize(settings.FontSize, settings.FontZoom);
    if (size != m_pane->FontSize()) m_pane->SetFontSize(size);
}

void Quarnel::Zoom(int step) {
    TerminalSettings& settings = m_terminal->Settings();
    settings.FontZoom = StepZoom(settings.FontZoom, step, settings.FontSize);
    m_terminal->Store().WriteInt("FontZoom", settings.FontZoom);
    ApplyFontSize();
}

void Quarnel::SaveReceivedText() {
    if (!m_terminal->HasLog()) return;
    const TerminalLog& log = m_terminal->Log();
    LogFileRequest request = log.DialogRequest();
    request.title = "Save Received Text As";
    request.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
    request.proposedName = log.BaseName() + ".txt";
    request.defaultSuffix = "txt";
    request.confirmOverwrite = true;
    const std::optional<std::string> path = m_seams.fileChoice->Choose(request);
    if (!path || path->empty()) return;
    const std::string problem =
        nimbo::WriteWholeFile(*path, m_pane->toPlainText().toStdString() + "\n");
    if (!problem.empty())
        m_terminal->Boxes().Show("Cannot save the received text to " + *path + ": " + problem, "",
                                 BoxButtons::Ok, BoxIcon::Exclamation);
}

void Quarnel::PushToApplication() {
    const std::string& names = m_terminal->Settings().ApplNames;
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty() || names.empty()) return;
    const PushResult result = m_seams.push ? m_seams.push(names) : PushPasteTo(names);
    if (result == PushResult::NotFound) {
        m_terminal->Boxes().Show(NotFoundText(names), "", BoxButtons::Ok, BoxIcon::None);
    } else if (result == PushResult::NoDisplay) {
        m_terminal->Boxes().Show("No X display to search for \"" + names +
                                     "\": pasting into another application needs an X11 session",
                                 "", BoxButtons::Ok, BoxIcon::Exclamation);
    }
}

}  // namespace dovrel
