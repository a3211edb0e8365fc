// The port dialog: the serial ports of the machine with their state, and the
// two supply lines (RTS, DTR) that may power an external interface.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "port_discovery.h"
#include "terminal_settings.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace dovrel {

class ComOptDialog : public QDialog {
    Q_OBJECT
  public:
    // `current` is the line as it is; `ports` the list to offer with the
    // entry to select.
    ComOptDialog(const LineSettings& current, const PortList& ports, QWidget* parent = nullptr);

    // The line with the chosen port, DTR and RTS (valid once accepted).
    const LineSettings& Chosen() const { return m_chosen; }

  private:
    void OnOk();
    LineSettings m_chosen;
    PortList m_ports;
    QComboBox* m_port;
    QCheckBox* m_dtr;
    QCheckBox* m_rts;
    QPushButton* m_ok;
};

}  // namespace dovrel
