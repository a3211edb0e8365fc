// The line as the window drives it, over a pseudo-terminal pair, with a
// scripted message box and a recording status view.
#include "line_control.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <tuple>

#include "recording_line_view.h"
#include "scripted_prompts.h"
#include "temp_dir.h"

namespace dovrel {
namespace {

class LineControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[256] = {};
        ASSERT_EQ(openpty(&m_master, &m_slave, name, nullptr, nullptr), 0);
        m_pty = name;
    }
    void TearDown() override {
        if (m_master >= 0) close(m_master);
        close(m_slave);
    }
    SettingsContext Store() const {
        return SettingsContext(SettingsStore(m_dir.Path()), "Quarnel");
    }
    void UsePty() {
        m_control.Settings().PortName = m_pty;
        m_control.Settings().Data = 8;
    }

    testing::TempDir m_dir;
    int m_master = -1;
    int m_slave = -1;
    std::string m_pty;
    SerialLine m_line{""};
    testing::ScriptedBox m_box;
    testing::RecordingView m_view;
    LineControl m_control{m_line, SettingsContext(SettingsStore("/nonexistent"), "x"), m_box,
                          m_view};
};

TEST_F(LineControlTest, NoPortOrAFailedOpenStaysDisconnectedWithTheReasonShown) {
    EXPECT_FALSE(m_control.Connect());
    EXPECT_TRUE(m_box.shown.empty());  // no port: no box
    EXPECT_FALSE(m_view.Last().connected);
    m_control.Settings().PortName = "/dev/ttyNoSuchDevice3";
    EXPECT_FALSE(m_control.Connect());
    ASSERT_EQ(m_box.shown.size(), 1u);
    EXPECT_NE(m_box.shown[0].text.find("/dev/ttyNoSuchDevice3"), std::string::npos);
    EXPECT_EQ(m_box.shown[0].icon, BoxIcon::Exclamation);
    EXPECT_EQ(m_view.Last().StatusText, "DISCONNECTED");
    UsePty();
    m_control.Settings().DTR = true;  // refused: a pseudo-terminal has no modem lines
    EXPECT_FALSE(m_control.Connect());
    ASSERT_EQ(m_box.shown.size(), 2u);
    EXPECT_NE(m_box.shown[1].text.find("DTR"), std::string::npos);
    EXPECT_FALSE(m_view.Last().connected);
}

TEST_F(LineControlTest, ConnectShowsTheLineInThePanels) {
    UsePty();
    m_control.Settings().Baud = 110;
    m_control.Settings().Parity = 2;
    m_control.Settings().Stop = 0;
    ASSERT_TRUE(m_control.Connect());
    const LineStatus& s = m_view.Last();
    EXPECT_TRUE(s.connected);
    EXPECT_EQ(s.StatusText + " " + s.Mode + " " + s.Bauds + " " + s.Parity + " " + s.Stops,
              "CONNECTED ASCII8 110 E 1");
    EXPECT_EQ(s.Port, m_pty.substr(5));
    m_control.Disconnect();
    EXPECT_FALSE(m_view.Last().connected);
    EXPECT_FALSE(m_line.IsOpen());
}

TEST_F(LineControlTest, NeverLoadedSettingsOpenAsTelexAtFiftyBauds) {
    LineControl control(m_line, Store(), m_box, m_view);
    control.Settings().PortName = m_pty;
    control.Settings().Data = 0;
    control.Settings().Baud = 9600;
    ASSERT_TRUE(control.OpenPort());
    const LineSettings& s = control.Settings();
    EXPECT_EQ(std::make_tuple(int(s.Data), int(s.Baud), int(s.Stop), int(s.Parity)),
              std::make_tuple(5, 50, 1, 0));
    EXPECT_EQ(LoadLineSettings(Store()).Baud, 50);
}

TEST_F(LineControlTest, AVanishedDeviceEndsDisconnectedWithTheReasonShownOnce) {
    UsePty();
    ASSERT_TRUE(m_control.Connect());
    write(m_master, "RY", 2);
    pollfd p{m_line.Fd(), POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 2000), 1);
    EXPECT_EQ(m_control.ReadReceived(), "RY");
    close(m_master);
    m_master = -1;
    p = {m_line.Fd(), POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 2000), 1);
    m_control.ReadReceived();
    EXPECT_FALSE(m_line.IsOpen());
    EXPECT_EQ(m_view.Last().StatusText, "DISCONNECTED");
    ASSERT_EQ(m_box.shown.size(), 1u);
    EXPECT_NE(m_box.shown[0].text.find(m_pty), std::string::npos);
    m_control.ReadReceived();
    m_control.CheckLine();
    EXPECT_EQ(m_box.shown.size(), 1u);
}

TEST_F(LineControlTest, PanelClickStoresAndConnectsEvenWhenClosed) {
    LineControl control(m_line, Store(), m_box, m_view);
    control.Settings().PortName = m_pty;
    control.Settings().Parity = 0;
    EXPECT_TRUE(control.ClickPanel("Parity", PanelButton::Left, false));
    EXPECT_TRUE(m_line.IsOpen());
    EXPECT_EQ(m_view.Last().Parity, "O");
    EXPECT_EQ(LoadLineSettings(Store()).Parity, 1);
    EXPECT_TRUE(control.ClickPanel("Bauds", PanelButton::Right, false));
    EXPECT_EQ(control.Settings().Baud, 45);
    EXPECT_TRUE(control.ClickPanel("Mode", PanelButton::Left, false));
    EXPECT_EQ(m_view.Last().Mode, "ASCII7");
    EXPECT_TRUE(control.ClickPanel("Stops", PanelButton::Left, false));
    EXPECT_EQ(m_view.Last().Stops, "2");
    const std::size_t shown = m_view.shown.size();
    EXPECT_FALSE(control.ClickPanel("Uos", PanelButton::Left, false));
    EXPECT_EQ(m_view.shown.size(), shown);
}

TEST_F(LineControlTest, ADialogChoiceOpensTheNewPortWhenTheOldWasClosed) {
    LineSettings chosen = m_control.Settings();
    chosen.PortName = m_pty;
    chosen.Data = 8;
    EXPECT_TRUE(m_control.ApplyPortDialog(chosen));
    EXPECT_TRUE(m_line.IsOpen());
    EXPECT_TRUE(m_view.Last().connected);
}

// Unchanged: nothing happens; failing: the previous port is restored and reconnected.
TEST_F(LineControlTest, ADialogChoiceUnchangedOrFailingKeepsTheOpenPort) {
    UsePty();
    ASSERT_TRUE(m_control.Connect());
    const int fd = m_line.Fd();
    const std::size_t shown = m_view.shown.size();
    EXPECT_TRUE(m_control.ApplyPortDialog(m_control.Settings()));
    EXPECT_EQ(m_line.Fd(), fd);
    EXPECT_EQ(m_view.shown.size(), shown);
    LineSettings chosen = m_control.Settings();
    chosen.PortName = "/dev/ttyNoSuchDevice5";
    EXPECT_FALSE(m_control.ApplyPortDialog(chosen));
    EXPECT_EQ(m_control.Settings().PortName, m_pty);
    EXPECT_TRUE(m_line.IsOpen());
    EXPECT_TRUE(m_view.Last().connected);
    EXPECT_EQ(m_box.shown.size(), 1u);
}

}  // namespace
}  // namespace dovrel
