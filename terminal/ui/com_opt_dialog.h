// The port dialog: the serial ports of the machine with their state, and the
// two supply lines (RTS, DTR) that may power an external interface.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "terminal_settings.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace dovrel {

// One entry of the port list: its text ("ttyS0", "*ttyUSB0" in use by
// another program, "=pts/3" open in this program) and the device it names.
struct PortChoice {
    std::string label;
    std::string device;
};

class ComOptDialog : public QDialog {
    Q_OBJECT
public:
    // `current` is the line as it is; `ports` the list to offer; `openDevice`
    // the device this program has open (selected when listed).
    ComOptDialog(const LineSettings& current, const std::vector<PortChoice>& ports,
                 QWidget* parent = nullptr);

    // The line with the chosen port, DTR and RTS (valid once accepted).
    const LineSettings& Chosen() const { return m_chosen; }

private:
    void OnOk();
    int EntryOf(const LineSettings& line) const;

    LineSettings m_chosen;
    std::vector<PortChoice> m_ports;
    QComboBox* m_port;
    QCheckBox* m_dtr;
    QCheckBox* m_rts;
    QPushButton* m_ok;
};

// Settings that name `device`: a conventional "/dev/ttyS<n>" as Port n+1,
// any other device by its path in PortName.
void SetLineDevice(LineSettings& line, const std::string& device);

}  // namespace dovrel
