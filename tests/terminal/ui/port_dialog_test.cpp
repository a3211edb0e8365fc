// The port dialog and the "Print" panel as the window drives them.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "com_opt_dialog.h"
#include "status_bar_panels.h"
#include "ui_fixture.h"

namespace dovrel::test {
namespace {

PortList ThreePorts() {
    PortList list;
    list.entries = {{"/dev/ttyS0", PortUse::Free, "/dev/ttyS0"},
                    {"/dev/ttyS1", PortUse::InUse, "*/dev/ttyS1"},
                    {"/dev/ttyUSB0", PortUse::Ours, "=/dev/ttyUSB0"}};
    list.selected = 2;
    return list;
}

TEST(PortDialog, ShowsPortsWithMarksAndSupplyBoxes) {
    LineSettings line;
    line.PortName = "/dev/ttyUSB0";
    line.RTS = true;
    ComOptDialog dialog(line, ThreePorts());
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Port Properties");
    auto* port = dialog.findChild<QComboBox*>("Port");
    ASSERT_NE(port, nullptr);
    ASSERT_EQ(port->count(), 4);
    EXPECT_EQ(port->itemText(1).toStdString(), "*/dev/ttyS1");
    EXPECT_EQ(port->itemText(3).toStdString(), "Recording...");
    EXPECT_EQ(port->currentText().toStdString(), "=/dev/ttyUSB0");
    auto* rts = dialog.findChild<QCheckBox*>("SetXX1");
    auto* dtr = dialog.findChild<QCheckBox*>("SetXX0");
    EXPECT_TRUE(rts->isChecked());
    EXPECT_FALSE(dtr->isChecked());
}

TEST(PortDialog, OkTakesTheChosenPortAndSupplyLines) {
    LineSettings line;
    line.PortName = "/dev/ttyUSB0";
    ComOptDialog dialog(line, ThreePorts());
    dialog.findChild<QComboBox*>("Port")->setCurrentIndex(0);
    dialog.findChild<QCheckBox*>("SetXX0")->click();
    dialog.findChild<QPushButton*>("OK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Chosen().Port, 1);  // /dev/ttyS0
    EXPECT_TRUE(dialog.Chosen().PortName.empty());
    EXPECT_TRUE(dialog.Chosen().DTR);
}

// The field has the keyboard and takes a typed path; OK on an empty or
// missing port says why and keeps the dialog; "Recording..." asks for a file.
TEST(PortDialog, TypedPortsAndRecordingsAreTakenAndUnusableOnesExplained) {
    std::vector<std::string> complaints;
    PortDialogHelpers helpers;
    helpers.complain = [&](const std::string& text) { complaints.push_back(text); };
    helpers.chooseRecording = [] { return std::optional<std::string>("/rec/dwd.wav"); };
    ComOptDialog dialog(LineSettings{}, PortList{}, helpers);
    auto* port = dialog.findChild<QComboBox*>("Port");
    EXPECT_EQ(dialog.focusWidget(), port);
    for (const char* typed : {"", "/dev/ttyNoSuchPort9", "/etc/passwd"}) {
        port->setEditText(typed);
        dialog.findChild<QPushButton*>("OK")->click();
        EXPECT_NE(dialog.result(), QDialog::Accepted) << typed;
    }
    ASSERT_EQ(complaints.size(), 3u);
    EXPECT_EQ(complaints[0].rfind("No port chosen.", 0), 0u);
    EXPECT_EQ(complaints[1],
              "There is no serial port /dev/ttyNoSuchPort9: No such file or directory");
    EXPECT_EQ(complaints[2].rfind("/etc/passwd is not a serial device", 0), 0u);
    emit port->activated(port->count() - 1);
    EXPECT_EQ(port->currentText().toStdString(), "audio:file:/rec/dwd.wav");
    PtyPair far;
    port->clearEditText();
    QTest::keyClicks(port->lineEdit(), QString::fromStdString(far.SlavePath()));
    dialog.findChild<QPushButton*>("OK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Chosen().PortName, far.SlavePath());
}

class PortDialogWindowTest : public WindowTest {};

// Cancel after toggling RTS changes nothing; OK on a device without modem
// lines restores the line.
TEST_F(PortDialogWindowTest, CancelOrRtsOnADeviceWithoutModemLinesKeepsTheLine) {
    auto window = StartOnPty();
    onDialog = [](QDialog& dialog) {
        dialog.findChild<QCheckBox*>("SetXX1")->click();
        dialog.findChild<QPushButton*>("Cancel")->click();
        return dialog.result();
    };
    window->Action("mnuSerial")->trigger();
    EXPECT_FALSE(window->Line().Settings().RTS);
    EXPECT_EQ(m_box.shown.size(), 1u);  // only the missing weather control
    onDialog = [](QDialog& dialog) {
        dialog.findChild<QCheckBox*>("SetXX1")->click();
        dialog.findChild<QPushButton*>("OK")->click();
        return dialog.result();
    };
    window->ToolBarClick("Serial");
    // A pseudo-terminal has no RTS line: the previous settings come back.
    EXPECT_FALSE(window->Line().Settings().RTS);
    EXPECT_TRUE(window->Line().Line().IsOpen());
    EXPECT_EQ(window->Panels()->Text("Status").toStdString(), "CONNECTED");
    EXPECT_FALSE(m_box.shown.empty());
}

class UnreachablePrinter : public PrinterStatusReader {
  public:
    std::optional<std::uint8_t> ReadStatus(int, std::string& missing) override {
        missing = "No parallel port on this system";
        return std::nullopt;
    }
};

TEST_F(PortDialogWindowTest, PrintPanelShownForAPrinterAndRefusedWithoutOne) {
    Store(Context()).WriteInt("PrinterId", 1);
    printerReader = std::make_unique<UnreachablePrinter>();
    auto window = StartOnPty();
    EXPECT_TRUE(window->Panels()->IsShown("Print"));
    QTest::mouseClick(window->Panels()->Panel("Print"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(window->Panels()->Text("Print").toStdString(), "P OFF");
    EXPECT_FALSE(window->PrintOn());
    ASSERT_FALSE(m_box.shown.empty());
    EXPECT_EQ(m_box.shown.back().text,
              "No parallel port on this system\r\nCannot get printer status");
    EXPECT_EQ(m_box.shown.back().icon, BoxIcon::Exclamation);
}

}  // namespace
}  // namespace dovrel::test
