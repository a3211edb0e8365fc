// The window's side of start-up and shutdown: what the terminal core asks
// of its view (caption, pane, placement, port dialog, log commands) and the
// end on a termination signal.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>

#include "qt_audio_input.h"
#include "quarnel.h"
#include "status_bar_panels.h"
#include "terminal_pane.h"

namespace dovrel {

void Quarnel::Terminate() {
    m_terminal->RequestStop();
    // Each box and dialog returns as cancelled; start-up then stops before
    // its next step instead of going on to the next box.
    for (int i = 0; i < 8; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) break;
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    }
    if (!m_terminal->Starting()) close();
}

void Quarnel::PreparePane(double fontSize) {
    m_pane->Clear();
    m_pane->SetFontSize(fontSize);
}

void Quarnel::ShowCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void Quarnel::ShowLogState(bool open, bool suspended) {
    Action(Command::CreateLog)->setEnabled(!open);
    Action(Command::CloseLog)->setEnabled(open || suspended);
    Action(Command::EditLog)->setEnabled(open || suspended);
}

void Quarnel::ShowPanel(const std::string& key, const std::string& text) {
    m_panels->SetText(QString::fromStdString(key), QString::fromStdString(text));
}

void Quarnel::SetPanelShown(const std::string& key, bool shown) {
    m_panels->SetShown(QString::fromStdString(key), shown);
}

void Quarnel::WeatherMissing() { Action(Command::Synop)->setEnabled(false); }

TwipsRect Quarnel::Screen() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1024, 768);
    return {0, 0, PixelsToTwips(size.width(), Dpi()), PixelsToTwips(size.height(), Dpi())};
}

void Quarnel::PlaceWindow(const WindowPlacement& placement) {
    const double dpi = Dpi();
    const TwipsRect& r = placement.rect;
    setGeometry(TwipsToPixels(r.X, dpi), TwipsToPixels(r.Y, dpi), TwipsToPixels(r.W, dpi),
                TwipsToPixels(r.H, dpi));
    if (placement.maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

// The same geometry that PlaceWindow() hands to setGeometry(); for a
// maximised window the one it returns to.
WindowPlacement Quarnel::Placement() const {
    const double dpi = Dpi();
    const bool maximized = isMaximized();
    const QRect r = maximized ? normalGeometry() : geometry();
    return {{PixelsToTwips(r.x(), dpi), PixelsToTwips(r.y(), dpi), PixelsToTwips(r.width(), dpi),
             PixelsToTwips(r.height(), dpi)},
            maximized};
}

bool Quarnel::ChoosePort(LineSettings& chosen) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LineSwitch& lines = m_terminal->Lines();
    const LineSettings& current = m_terminal->Line().Settings();
    const std::string ours = lines.OpenName();
    PortList ports;
    if (m_seams.listPorts) {
        ports = m_seams.listPorts(current, ours);
    } else {
        ports = LoadPropertySettings(current, lines.IsAudio() ? std::string() : ours);
        AppendAudioInputs(ports, QtAudioInputNames(), current, ours);
    }
    QApplication::restoreOverrideCursor();
    PortDialogHelpers helpers;
    helpers.complain = [this](const std::string& text) {
        m_terminal->Boxes().Show(text, "", BoxButtons::Ok, BoxIcon::Exclamation);
    };
    helpers.chooseRecording = m_seams.chooseRecording;
    ComOptDialog dialog(current, ports, std::move(helpers), this);
    if (RunDialog(dialog) != QDialog::Accepted) return false;
    chosen = dialog.Chosen();
    return true;
}

void Quarnel::SettingsApplied(const TerminalSettings&) { ApplyFontSize(); }

void Quarnel::Started(const TerminalSettings& settings) {
    m_send->setVisible(settings.AllowSend);
    m_pane->setFocus();  // the pause keys work at once
}

void Quarnel::StopWatching() {
    // The notifiers watch the line's descriptor: gone before the line closes.
    delete m_readNotifier;
    m_readNotifier = nullptr;
    delete m_writeNotifier;
    m_writeNotifier = nullptr;
    if (m_audioTimer) m_audioTimer->stop();
}

void Quarnel::ProcessEvents() { QCoreApplication::processEvents(); }

}  // namespace dovrel
