// The line as the window drives it, over a pseudo-terminal pair, with a
// scripted message box and a recording status view.
#include "line_control.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "scripted_prompts.h"

namespace dovrel {
namespace {

namespace fs = std::filesystem;

class RecordingView : public LineStatusView {
  public:
    void ShowLineStatus(const LineStatus& status) override { shown.push_back(status); }
    const LineStatus& Last() const { return shown.back(); }
    std::vector<LineStatus> shown;
};

class LineControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/line_control_test.XXXXXX";
        m_dir = ::mkdtemp(tmpl);
        char name[256] = {};
        ASSERT_EQ(openpty(&m_master, &m_slave, name, nullptr, nullptr), 0);
        m_pty = name;
    }
    void TearDown() override {
        if (m_master >= 0) close(m_master);
        close(m_slave);
        fs::remove_all(m_dir);
    }
    SettingsContext Store() const { return SettingsContext(SettingsStore(m_dir), "Quarnel"); }
    void UsePty() {
        m_control.Settings().PortName = m_pty;
        m_control.Settings().Data = 8;
    }

    fs::path m_dir;
    int m_master = -1;
    int m_slave = -1;
    std::string m_pty;
    SerialLine m_line{""};
    testing::ScriptedBox m_box;
    RecordingView m_view;
    LineControl m_control{m_line, SettingsContext(SettingsStore("/nonexistent"), "x"), m_box,
                          m_view};
};

TEST_F(LineControlTest, NoPortMeansFalseWithoutABoxAndDisconnected) {
    EXPECT_FALSE(m_control.Connect());
    EXPECT_TRUE(m_box.shown.empty());
    EXPECT_FALSE(m_view.Last().connected);
    EXPECT_EQ(m_view.Last().StatusText, "DISCONNECTED");
}

TEST_F(LineControlTest, ConnectShowsTheLineInThePanels) {
    UsePty();
    m_control.Settings().Baud = 110;
    m_control.Settings().Parity = 2;
    m_control.Settings().Stop = 0;
    ASSERT_TRUE(m_control.Connect());
    const LineStatus& s = m_view.Last();
    EXPECT_TRUE(s.connected);
    EXPECT_EQ(s.StatusText, "CONNECTED");
    EXPECT_EQ(s.Mode, "ASCII8");
    EXPECT_EQ(s.Bauds, "110");
    EXPECT_EQ(s.Parity, "E");
    EXPECT_EQ(s.Stops, "1");
    EXPECT_EQ(s.Port, m_pty.substr(5));
    m_control.Disconnect();
    EXPECT_FALSE(m_view.Last().connected);
    EXPECT_FALSE(m_line.IsOpen());
}

TEST_F(LineControlTest, AFailedOpenShowsTheReasonAndStaysClosed) {
    m_control.Settings().PortName = "/dev/ttyNoSuchDevice3";
    EXPECT_FALSE(m_control.Connect());
    ASSERT_EQ(m_box.shown.size(), 1u);
    EXPECT_NE(m_box.shown[0].text.find("/dev/ttyNoSuchDevice3"), std::string::npos);
    EXPECT_EQ(m_box.shown[0].icon, BoxIcon::Exclamation);
    EXPECT_EQ(m_view.Last().StatusText, "DISCONNECTED");
}

TEST_F(LineControlTest, ARefusedSettingIsReportedNotIgnored) {
    UsePty();
    m_control.Settings().DTR = true;  // a pseudo-terminal has no modem lines
    EXPECT_FALSE(m_control.Connect());
    ASSERT_EQ(m_box.shown.size(), 1u);
    EXPECT_NE(m_box.shown[0].text.find("DTR"), std::string::npos);
    EXPECT_FALSE(m_view.Last().connected);
}

TEST_F(LineControlTest, NeverLoadedSettingsOpenAsTelexAtFiftyBauds) {
    LineControl control(m_line, Store(), m_box, m_view);
    control.Settings().PortName = m_pty;
    control.Settings().Data = 0;
    control.Settings().Baud = 9600;
    ASSERT_TRUE(control.OpenPort());
    EXPECT_EQ(control.Settings().Data, 5);
    EXPECT_EQ(control.Settings().Baud, 50);
    EXPECT_EQ(control.Settings().Stop, 1);
    EXPECT_EQ(control.Settings().Parity, 0);
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

TEST_F(LineControlTest, ADialogChoiceThatFailsRestoresAndReconnectsThePreviousPort) {
    UsePty();
    ASSERT_TRUE(m_control.Connect());
    LineSettings chosen = m_control.Settings();
    chosen.PortName = "/dev/ttyNoSuchDevice5";
    EXPECT_FALSE(m_control.ApplyPortDialog(chosen));
    EXPECT_EQ(m_control.Settings().PortName, m_pty);
    EXPECT_TRUE(m_line.IsOpen());
    EXPECT_TRUE(m_view.Last().connected);
    EXPECT_EQ(m_box.shown.size(), 1u);
}

TEST_F(LineControlTest, AnUnchangedDialogChoiceDoesNothing) {
    UsePty();
    ASSERT_TRUE(m_control.Connect());
    const int fd = m_line.Fd();
    const std::size_t shown = m_view.shown.size();
    EXPECT_TRUE(m_control.ApplyPortDialog(m_control.Settings()));
    EXPECT_EQ(m_line.Fd(), fd);
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

}  // namespace
}  // namespace dovrel
