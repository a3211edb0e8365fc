// Start-up and shutdown of the main window: the command-line paths and what
// they store, the start without a port, the start on a pseudo-terminal.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <csignal>
#include <filesystem>

#include "command_line.h"
#include "signal_watch.h"
#include "status_bar_panels.h"
#include "terminal_pane.h"
#include "ui_fixture.h"

namespace dovrel::test {
namespace {

const std::string kWeatherMissing =
    "Weather Control (libNimboview.so) not found\r\nSynop decoder will not be available";

class StartupTest : public WindowTest {};

// Every way of asking for the usage shows it and stops without saving; the
// default macro is stored all the same.
TEST_F(StartupTest, UsageBoxStopsWithoutSavingButStoresTheDefaultMacro) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-?"}, {"--help"}, {"-h"}, {"-reset", "-clean"}}) {
        m_box.shown.clear();
        auto window = MakeWindow();
        EXPECT_FALSE(window->Start(args));
        EXPECT_EQ(m_box.Texts(),
                  std::vector<std::string>{UsageText(SettingsStore::ForUser().Root().string())})
            << args.front();
    }
    EXPECT_EQ(Store().ReadText("F12"), "/4E/4E/4E/4E/0D/0A");
    EXPECT_EQ(Store().ReadText("F12_"), "NNNN");
    EXPECT_EQ(Store().ReadInt("X", -7), -7);  // nothing else saved
}

// -reset zeroes the instance's position without saving; -clean deletes the
// default context; other contexts stay.
TEST_F(StartupTest, ResetAndCleanTouchOnlyTheirContext) {
    Store("Quarnel - NORTH").WriteInt("X", 4000);
    Store("Quarnel - NORTH").WriteInt("W", 5000);
    Store("Quarnel").WriteInt("X", 3000);
    EXPECT_FALSE(MakeWindow()->Start({"NORTH", "-reset"}));
    EXPECT_TRUE(m_box.Saw("Resetting Quarnel - NORTH position\r\nPlease restart application"));
    EXPECT_EQ(Store("Quarnel - NORTH").ReadInt("X", -1), 0);
    EXPECT_EQ(Store("Quarnel - NORTH").ReadInt("Y", -1), 0);
    EXPECT_EQ(Store("Quarnel - NORTH").ReadInt("W", -1), 5000);  // no saving on this path
    EXPECT_EQ(Store("Quarnel").ReadInt("X", -1), 3000);
    EXPECT_FALSE(MakeWindow()->Start({"-clean"}));
    EXPECT_TRUE(m_box.Saw("Cleaning Quarnel settings file\r\nPlease restart application"));
    EXPECT_EQ(Store("Quarnel").ReadInt("X", -1), -1);
    EXPECT_EQ(Store("Quarnel - NORTH").ReadInt("W", -1), 5000);
}

TEST_F(StartupTest, NoPortShowsThePortDialogAndCancelEndsWithSaving) {
    auto window = MakeWindow();
    EXPECT_FALSE(window->Start({"T1"}));
    EXPECT_EQ(dialogsShown, std::vector<std::string>{"ComOpt"});
    EXPECT_TRUE(m_box.Saw(kWeatherMissing));
    EXPECT_FALSE(window->Action(Command::Synop)->isEnabled());
    EXPECT_TRUE(window->IsShutDown());
    // The shutdown sequence ran with saving.
    EXPECT_GT(Store(Context()).ReadInt("W", 0), 0);
    EXPECT_EQ(Store(Context()).ReadInt("Data", 0), 5);
    EXPECT_EQ(Store(Context()).ReadText("F12"), "/4E/4E/4E/4E/0D/0A");
}

// A first start: OK on the empty field explains and keeps the dialog; a
// typed pseudo-terminal (not in the list) then opens and receives.
TEST_F(StartupTest, FirstStartTakesATypedPseudoTerminalAndReceives) {
    PtyPair far;
    int shown = 0;
    onDialog = [&](QDialog& dialog) {
        ++shown;
        auto* port = dialog.findChild<QComboBox*>("Port");
        dialog.findChild<QPushButton*>("OK")->click();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        QTest::keyClicks(port->lineEdit(), QString::fromStdString(far.SlavePath()));
        dialog.findChild<QPushButton*>("OK")->click();
        return dialog.result();
    };
    auto window = MakeWindow();
    ASSERT_TRUE(window->Start({"T1"}));
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(m_box.Texts().back().starts_with("No port chosen.")) << m_box.Texts().back();
    EXPECT_EQ(Store(Context()).ReadText("PortName"), far.SlavePath());
    far.Write("\x1f\x0a\x15\x0a\x15\x08\x02");  // RYRY CR LF
    EXPECT_TRUE(WaitUntil([&] { return PaneText(*window).find("RYRY") != std::string::npos; }));
}

TEST_F(StartupTest, PortChosenInTheDialogOpensAndIsStored) {
    m_pty = std::make_unique<PtyPair>();
    onDialog = [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Port Properties");
        dialog.findChild<QComboBox*>("Port")->setCurrentIndex(0);
        dialog.findChild<QPushButton*>("OK")->click();
        return dialog.result();
    };
    auto window = MakeWindow();
    ASSERT_TRUE(window->Start({"T1"}));
    EXPECT_TRUE(window->Line().Line().IsOpen());
    EXPECT_EQ(Store(Context()).ReadText("PortName"), m_pty->SlavePath());
}

TEST_F(StartupTest, StartOnAPseudoTerminal) {
    auto window = StartOnPty({"T1"});
    EXPECT_EQ(window->windowTitle().toStdString(), "Quarnel 1.0.0 - T1");
    EXPECT_TRUE(window->Line().Line().IsOpen());
    EXPECT_EQ(window->Lamp()->toolTip().toStdString(), "Disconnects Serial port");
    StatusBarPanels* panels = window->Panels();
    EXPECT_EQ(panels->Text("Status").toStdString(), "CONNECTED");
    EXPECT_EQ(panels->Text("Mode").toStdString(), "TELEX");
    EXPECT_EQ(panels->Text("Bauds").toStdString(), "50");
    EXPECT_FALSE(panels->IsShown("Print"));
    EXPECT_FALSE(panels->IsShown("Parity"));
    EXPECT_TRUE(panels->IsShown("Uos"));
    EXPECT_FALSE(window->SendBox()->isVisibleTo(window.get()));
    EXPECT_NE(PaneText(*window).find("===================== START"), std::string::npos);
}

TEST_F(StartupTest, ShutdownStoresGeometryAndLineAndClosesThePort) {
    for (const auto& [key, value] : {std::pair{"X", 1500}, {"Y", 1200}, {"W", 9000}, {"H", 6000}})
        Store(Context()).WriteInt(key, value);
    auto window = StartOnPty({"T1"});
    EXPECT_EQ(window->geometry(), QRect(100, 80, 600, 400));  // 96 dpi
    window->Action(Command::Exit)->trigger();
    EXPECT_TRUE(window->IsShutDown());
    EXPECT_FALSE(window->Line().Line().IsOpen());
    const SettingsContext store = Store(Context());
    for (const auto& [key, value] : {std::pair{"X", 1500}, {"Y", 1200}, {"W", 9000}, {"H", 6000}})
        EXPECT_EQ(store.ReadInt(key, 0), value) << key;
    EXPECT_EQ(store.ReadInt("LookWords", 7), 0);
    EXPECT_EQ(store.ReadInt("Baud", 0), 50);
}

TEST_F(StartupTest, AMaximisedWindowComesBackMaximisedOverItsPlace) {
    for (const auto& [key, value] : {std::pair{"X", 1500}, {"Y", 1200}, {"W", 9000}, {"H", 6000}})
        Store(Context()).WriteInt(key, value);
    auto window = StartOnPty({"T1"});
    window->showMaximized();
    ASSERT_TRUE(WaitUntil([&] { return window->isMaximized(); }));
    window->close();
    EXPECT_EQ(Store(Context()).ReadInt("Maximized", 0), 1);
    EXPECT_EQ(Store(Context()).ReadInt("W", 0), 9000);
    window = StartOnPty({"T1"});
    window->show();
    EXPECT_TRUE(WaitUntil([&] { return window->isMaximized(); }));
    EXPECT_EQ(window->normalGeometry(), QRect(100, 80, 600, 400));
}

TEST_F(StartupTest, LampDisconnectsAndReconnectsAndTheFarEndClosingDisconnects) {
    auto window = StartOnPty({"T1"});
    window->Lamp()->click();
    EXPECT_FALSE(window->Line().Line().IsOpen());
    EXPECT_NE(PaneText(*window).find("===================== STOP"), std::string::npos);
    EXPECT_EQ(window->Panels()->Text("Status").toStdString(), "DISCONNECTED");
    window->Lamp()->click();
    EXPECT_TRUE(window->Line().Line().IsOpen());
    EXPECT_EQ(window->Panels()->Text("Status").toStdString(), "CONNECTED");
    m_pty->CloseMaster();  // the far end goes away
    EXPECT_TRUE(WaitUntil([&] { return window->Panels()->Text("Status") == "DISCONNECTED"; }));
    EXPECT_EQ(window->Lamp()->toolTip().toStdString(), "Connects Serial port");
}

TEST_F(StartupTest, TerminationSignalRunsTheNormalShutdown) {
    Store(Context()).WriteInt("AutoLogst", 1);
    auto window = StartOnPty({"T1"});
    ASSERT_TRUE(window->Log().IsOpen());
    SignalWatch watch;
    ASSERT_TRUE(watch.Active());
    QObject::connect(&watch, &SignalWatch::Terminate, window.get(), [&] { window->Terminate(); });
    ::raise(SIGTERM);
    EXPECT_TRUE(WaitUntil([&] { return window->IsShutDown(); }));
    EXPECT_FALSE(window->Log().IsOpen());
    EXPECT_GT(Store(Context()).ReadInt("W", 0), 0);
}

TEST_F(StartupTest, TerminationDuringAStartUpBoxEndsStartUpWithOneShutdown) {
    Store(Context()).WriteText("PortName", "/dev/ttyNoSuchPort9");
    auto window = MakeWindow();
    m_box.onShow = [&](const std::string& text) {
        if (text.find("ttyNoSuchPort9") != std::string::npos) window->Terminate();
    };
    EXPECT_FALSE(window->Start({"T1"}));
    EXPECT_TRUE(dialogsShown.empty());  // no port dialog after the signal
    EXPECT_TRUE(window->IsShutDown());
    EXPECT_GT(Store(Context()).ReadInt("W", 0), 0);  // the normal shutdown saved
    Store(Context()).WriteInt("W", 1);
    window->Terminate();  // a second signal: shutdown does not run again
    window.reset();
    EXPECT_EQ(Store(Context()).ReadInt("W", 0), 1);
}

TEST_F(StartupTest, SendBoxSendsTypedTextWhenAllowed) {
    Store(Context()).WriteInt("AllowSend", 1);
    Store(Context()).WriteInt("Data", 8);
    auto window = StartOnPty({"T1"});
    QLineEdit* send = window->SendBox();
    ASSERT_TRUE(send->isVisibleTo(window.get()));
    QTest::keyClicks(send, "Ab");
    EXPECT_EQ(send->text().toStdString(), "Ab");
    QTest::keyClick(send, Qt::Key_Return);
    EXPECT_TRUE(send->text().isEmpty());
    EXPECT_EQ(m_pty->Read(3), "Ab\r");
}

}  // namespace
}  // namespace dovrel::test
