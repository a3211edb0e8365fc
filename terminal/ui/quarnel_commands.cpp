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

#include "command_line.h"
#include "dec_opt_dialog.h"
#include "line_panels.h"
#include "qt_audio_input.h"
#include "qt_seams.h"
#include "quarnel.h"
#include "status_bar_panels.h"
#include "telex_panels.h"
#include "terminal_pane.h"
#include "window_geometry.h"
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

void Quarnel::ToolBarClick(const QString& key) {
    if (key == "CreateLogFile") {
        CreateLog();
    } else if (key == "CloseLogFile") {
        CloseLog();
    } else if (key == "Serial") {
        SerialDialog();
    } else if (key == "Properties") {
        PropertiesDialog();
    } else if (key == "Synop") {
        // On until the program ends; stored only by the options dialog.
        if (m_weatherAvailable && m_weather) {
            m_settings.AutoSynop = true;
            m_weather->Show();
        }
    } else if (key == "Edit") {
        EditLog();
    } else if (key == "Clear") {
        ClearPane();
    }
}

void Quarnel::PanelClick(const QString& key) {
    if (!m_line || !m_reception) return;
    const PanelButton button = m_panels->LastButton() == 2 ? PanelButton::Right : PanelButton::Left;
    if (m_line->ClickPanel(key.toStdString(), button, m_settings.NstdBauds)) {
        RefreshTelexPanels();
        return;
    }
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
        const LocalTime now = m_clock->Now();
        const std::string text = m_printer->ClickPrintPanel(FormatDate(now) + " " + FormatTime(now),
                                                            ApplicationTitle(), *m_box);
        m_reception->SetPrintOn(m_printer->PrintOn());
        m_panels->SetText("Print", QString::fromStdString(text));
    }
    RefreshTelexPanels();
}

void Quarnel::LampClick() {
    if (!m_line || !m_reception) return;
    if (m_lineSwitch->IsOpen()) {
        m_reception->StartStopBanner(false);
        m_line->Disconnect();
    } else {
        m_reception->StartStopBanner(true);
        m_line->Connect();
    }
}

bool Quarnel::RunPortDialog(LineSettings& chosen) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string ours = m_lineSwitch->OpenName();
    PortList ports;
    if (m_seams.listPorts) {
        ports = m_seams.listPorts(m_line->Settings(), ours);
    } else {
        ports = LoadPropertySettings(m_line->Settings(),
                                     m_lineSwitch->IsAudio() ? std::string() : ours);
        AppendAudioInputs(ports, QtAudioInputNames(), m_line->Settings(), ours);
    }
    QApplication::restoreOverrideCursor();
    PortDialogHelpers helpers;
    helpers.complain = [this](const std::string& text) {
        m_box->Show(text, "", BoxButtons::Ok, BoxIcon::Exclamation);
    };
    helpers.chooseRecording = m_seams.chooseRecording;
    ComOptDialog dialog(m_line->Settings(), ports, std::move(helpers), this);
    if (RunDialog(dialog) != QDialog::Accepted) return false;
    chosen = dialog.Chosen();
    return true;
}

void Quarnel::SerialDialog() {
    if (!m_line) return;
    LineSettings chosen = m_line->Settings();
    if (!RunPortDialog(chosen)) return;
    m_line->ApplyPortDialog(chosen);
    m_panels->SetText("Port", QString::fromStdString(PortPanelText(m_line->Settings())));
}

void Quarnel::PropertiesDialog() {
    auto status = [this](std::int32_t& port) {
        int p = port;
        std::string text = GetPrinterStatus(p, *m_printerReader);
        port = p;
        return text;
    };
    DecOptDialog dialog(m_settings, m_store, *m_box, status, this);
    if (RunDialog(dialog) == QDialog::Accepted) {
        m_settings = dialog.Settings();
        ApplyFontSize();
        ApplyReportArchive();
    }
    m_send->setVisible(m_settings.AllowSend);
    if (m_settings.AllowSend) m_send->setFocus();
    m_panels->SetShown("Print", m_settings.PrinterId > 0);
}

void Quarnel::CreateLog() {
    if (!m_log || m_log->IsOpen()) return;
    m_log->CreateLog(false);
    ShowLogState();
}

void Quarnel::CloseLog() {
    if (!m_log) return;
    m_log->CloseLog();
    ShowLogState();
}

void Quarnel::ShowLogState() {
    const bool open = m_log && m_log->IsOpen();
    // A suspended log can be closed, edited, or created anew.
    const bool suspended = m_log && m_log->IsSuspended();
    Action("mnuCreateLog")->setEnabled(!open);
    Action("CreateLogFile")->setEnabled(!open);
    Action("mnuCloseLog")->setEnabled(open || suspended);
    Action("CloseLogFile")->setEnabled(open || suspended);
    Action("Edit")->setEnabled(open || suspended);
    if (m_reception) m_reception->SetTextPanelNote(suspended ? "LOG SUSPENDED: " : "");
    ApplyCaption();
}

void Quarnel::EditLog() {
    if (!m_log) return;
    const std::vector<std::string> command = m_log->EditCommand();
    if (command.empty()) return;
    if (m_seams.startProcess) {
        m_seams.startProcess(command);
    } else {
        StartDetached(command);
    }
}

void Quarnel::ClearPane() {
    if (m_reception) {
        m_reception->ClearPane();
    } else {
        m_pane->Clear();
    }
}

void Quarnel::OnStatusTick() {
    if (!m_reception) return;
    m_reception->OnTimerTick(m_lineSwitch->IsOpen());
    if (m_firstTick) {
        m_firstTick = false;
        if (m_settings.AllowSend) m_send->setFocus();
    }
}

void Quarnel::OnPaneKey(PaneKey key) {
    if (!m_reception) return;
    if (m_reception->OnPaneKey(key)) m_pane->CaretToEnd();
}

void Quarnel::OnSelection(const QString& text) {
    if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
    const ReceiveState* state = m_reception ? &m_reception->State() : nullptr;
    if (state == nullptr || (!state->Paused && !state->Busy)) m_pane->CaretToEnd();
    ApplyFontSize();
}

void Quarnel::ApplyFontSize() {
    if (m_settings.FontSize == 0) return;
    const double size = ZoomedFontSize(m_settings.FontSize, m_settings.FontZoom);
    if (size != m_pane->FontSize()) m_pane->SetFontSize(size);
}

void Quarnel::Zoom(int step) {
    m_settings.FontZoom = StepZoom(m_settings.FontZoom, step, m_settings.FontSize);
    m_store.WriteInt("FontZoom", m_settings.FontZoom);
    ApplyFontSize();
}

void Quarnel::SaveReceivedText() {
    if (!m_log) return;
    LogFileRequest request = m_log->DialogRequest();
    request.title = "Save Received Text As";
    request.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
    request.proposedName = m_log->BaseName() + ".txt";
    request.defaultSuffix = "txt";
    request.confirmOverwrite = true;
    const std::optional<std::string> path = m_choice->Choose(request);
    if (!path || path->empty()) return;
    const std::string problem =
        nimbo::WriteWholeFile(*path, m_pane->toPlainText().toStdString() + "\n");
    if (!problem.empty())
        m_box->Show("Cannot save the received text to " + *path + ": " + problem, "",
                    BoxButtons::Ok, BoxIcon::Exclamation);
}

void Quarnel::ApplyReportArchive() {
    if (m_weather) m_weather->KeepReports(m_settings.ObsArchive, m_instance);
}

void Quarnel::PushToApplication() {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty() || m_settings.ApplNames.empty()) return;
    const PushResult result =
        m_seams.push ? m_seams.push(m_settings.ApplNames) : PushPasteTo(m_settings.ApplNames);
    if (result == PushResult::NotFound) {
        m_box->Show(NotFoundText(m_settings.ApplNames), "", BoxButtons::Ok, BoxIcon::None);
    } else if (result == PushResult::NoDisplay) {
        m_box->Show("No X display to search for \"" + m_settings.ApplNames +
                        "\": pasting into another application needs an X11 session",
                    "", BoxButtons::Ok, BoxIcon::Exclamation);
    }
}

}  // namespace dovrel
