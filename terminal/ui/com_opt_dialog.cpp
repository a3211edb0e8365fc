// The port dialog. The ports are probed by the caller before the dialog is
// built, under the hourglass pointer.
#include "com_opt_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace dovrel {

ComOptDialog::ComOptDialog(const LineSettings& current, const PortList& ports, QWidget* parent)
    : QDialog(parent), m_chosen(current), m_ports(ports) {
    setObjectName("ComOpt");
    setWindowTitle("Port Properties");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Port:", this));
    m_port = new QComboBox(this);
    m_port->setObjectName("Port");
    m_port->setToolTip(
        "Set serial port,  '*' means that the serial port exists but is already opened by another "
        "application, '=' means that this port is opened by this application.");
    for (const auto& entry : m_ports.entries) m_port->addItem(QString::fromStdString(entry.label));
    m_port->setCurrentIndex(m_ports.selected);
    row->addWidget(m_port, 1);
    layout->addLayout(row);

    auto* supply = new QGroupBox("Supply", this);
    auto* supplyLayout = new QVBoxLayout(supply);
    m_rts = new QCheckBox("Force RTS to + 12 Volts", supply);
    m_rts->setObjectName("SetXX1");
    m_rts->setToolTip("Force RTS in order to provide external interface a power supply");
    m_rts->setChecked(current.RTS);
    m_dtr = new QCheckBox("Force DTR to + 12 Volts", supply);
    m_dtr->setObjectName("SetXX0");
    m_dtr->setToolTip("Force DTR in order to provide external interface a power supply");
    m_dtr->setChecked(current.DTR);
    supplyLayout->addWidget(m_rts);
    supplyLayout->addWidget(m_dtr);
    layout->addWidget(supply);
    connect(m_dtr, &QCheckBox::toggled, this, [this](bool on) { m_chosen.DTR = on; });
    connect(m_rts, &QCheckBox::toggled, this, [this](bool on) { m_chosen.RTS = on; });

    auto* buttons = new QHBoxLayout;
    m_ok = new QPushButton("OK", this);
    m_ok->setObjectName("OK");
    m_ok->setDefault(true);
    m_ok->setEnabled(m_ports.okEnabled());
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("Cancel");
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &ComOptDialog::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ComOptDialog::OnOk() {
    const int index = m_port->currentIndex();
    if (index >= 0 && index < static_cast<int>(m_ports.entries.size()))
        m_chosen = ChoosePort(m_chosen, m_ports.entries[static_cast<std::size_t>(index)],
                              m_chosen.DTR, m_chosen.RTS);
    accept();
}

}  // namespace dovrel
