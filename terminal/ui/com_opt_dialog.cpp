// The port dialog. The ports are probed by the caller before the dialog is
// built, under the hourglass pointer.
#include "com_opt_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "audio_port.h"
#include "port_choice.h"

namespace dovrel {
namespace {

constexpr const char* kHelp =
    "The port is where the received text comes from: a serial device with a demodulator or "
    "teleprinter behind it (type its path, such as /dev/ttyUSB0, or a pseudo-terminal such as "
    "/dev/pts/3), a sound input (audio:...) that this program demodulates itself, or a recording "
    "played back.";

PortDialogHelpers WithDefaults(PortDialogHelpers helpers, QWidget* parent) {
    if (!helpers.check) helpers.check = &PortProblem;
    if (!helpers.complain)
        helpers.complain = [parent](const std::string& text) {
            QMessageBox::warning(parent, "Port Properties", QString::fromStdString(text));
        };
    if (!helpers.chooseRecording)
        helpers.chooseRecording = [parent]() -> std::optional<std::string> {
            const QString path = QFileDialog::getOpenFileName(
                parent, "Play a Recording", {},
                "Recordings (*.wav *.flac *.ogg *.aif *.aiff *.au *.raw);;All files (*)");
            if (path.isEmpty()) return std::nullopt;
            return path.toStdString();
        };
    return helpers;
}

}  // namespace

ComOptDialog::ComOptDialog(const LineSettings& current, const PortList& ports,
                           PortDialogHelpers helpers, QWidget* parent)
    : QDialog(parent),
      m_chosen(current),
      m_ports(ports),
      m_helpers(WithDefaults(std::move(helpers), this)) {
    setObjectName("ComOpt");
    setWindowTitle("Port Properties");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    CreatePortField(layout);

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
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("Cancel");
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &ComOptDialog::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_port->setFocus();
}

void ComOptDialog::CreatePortField(QLayout* layout) {
    auto* help = new QLabel(kHelp, this);
    help->setObjectName("PortHelp");
    help->setWordWrap(true);
    layout->addWidget(help);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel("&Port:", this);
    m_port = new QComboBox(this);
    m_port->setObjectName("Port");
    m_port->setEditable(true);
    m_port->setInsertPolicy(QComboBox::NoInsert);
    m_port->setMinimumContentsLength(32);
    m_port->setToolTip(
        "Set serial port,  '*' means that the serial port exists but is already opened by another "
        "application, '=' means that this port is opened by this application.");
    m_port->lineEdit()->setPlaceholderText("Type a device path, or open the list");
    label->setBuddy(m_port);
    for (const auto& entry : m_ports.entries) m_port->addItem(QString::fromStdString(entry.label));
    m_port->addItem(kRecordingEntry);
    m_port->setCurrentIndex(m_ports.selected);
    if (m_ports.selected < 0) m_port->setEditText(QString::fromStdString(m_chosen.PortName));
    m_lastText = m_port->currentText();
    connect(m_port, &QComboBox::activated, this, &ComOptDialog::OnActivated);
    row->addWidget(label);
    row->addWidget(m_port, 1);
    static_cast<QBoxLayout*>(layout)->addLayout(row);
}

// "Recording..." asks for a file and puts "audio:file:<path>" in the field.
void ComOptDialog::OnActivated(int index) {
    if (m_port->itemText(index) != kRecordingEntry) {
        m_lastText = m_port->currentText();
        return;
    }
    const std::optional<std::string> file = m_helpers.chooseRecording();
    m_port->setCurrentIndex(-1);
    m_port->setEditText(
        file ? QString::fromStdString(AudioPortName(std::string(kAudioFilePrefix) + *file))
             : m_lastText);
}

void ComOptDialog::OnOk() {
    const PortEntry entry = EntryForPortText(m_port->currentText().toStdString(), m_ports);
    const LineSettings chosen = ChoosePort(m_chosen, entry, m_chosen.DTR, m_chosen.RTS);
    const std::string problem = m_helpers.check(chosen);
    if (!problem.empty()) {
        m_helpers.complain(problem);
        m_port->setFocus();
        return;
    }
    m_chosen = chosen;
    accept();
}

}  // namespace dovrel
