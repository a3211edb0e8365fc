// The port dialog: where the received text comes from. The field takes a
// typed device path (a pseudo-terminal too) and lists the serial ports with
// their state, the sound inputs and "Recording..." (a sound file played
// back); the two supply lines (RTS, DTR) may power an external interface.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "port_discovery.h"
#include "terminal_settings.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace dovrel {

// What the dialog asks outside itself; an empty member takes the default.
struct PortDialogHelpers {
    // Why the chosen port cannot serve, "" when it may be tried (PortProblem).
    std::function<std::string(const LineSettings&)> check;
    // Shows that reason; the dialog stays open (a warning box).
    std::function<void(const std::string&)> complain;
    // The recording to play, or nothing when the user cancels (a file dialog).
    std::function<std::optional<std::string>()> chooseRecording;
};

// The last entry of the list, which asks for a recording.
inline constexpr const char* kRecordingEntry = "Recording...";

class ComOptDialog : public QDialog {
    Q_OBJECT
  public:
    // `current` is the line as it is; `ports` the list to offer with the
    // entry to select.
    ComOptDialog(const LineSettings& current, const PortList& ports, PortDialogHelpers helpers = {},
                 QWidget* parent = nullptr);

    // The line with the chosen port, DTR and RTS (valid once accepted).
    const LineSettings& Chosen() const { return m_chosen; }

  private:
    void CreatePortField(QLayout* layout);
    void OnActivated(int index);
    void OnOk();

    LineSettings m_chosen;
    PortList m_ports;
    PortDialogHelpers m_helpers;
    QComboBox* m_port;
    QCheckBox* m_dtr;
    QCheckBox* m_rts;
    QPushButton* m_ok;
    QString m_lastText;  // the field before "Recording..." was picked
};

}  // namespace dovrel
