// The terminal core without a window: the order of start-up and shutdown as
// the view sees it, and boxes asked for during a read shown after it.
#include "terminal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include "reception_fakes.h"
#include "recording_pane.h"
#include "scripted_audio_input.h"
#include "scripted_prompts.h"
#include "temp_dir.h"

namespace dovrel {
namespace {

using ::testing::ElementsAre;
using testing::ScriptedBox;

class NoPrinter : public PrinterStatusReader {
  public:
    std::optional<std::uint8_t> ReadStatus(int, std::string& missing) override {
        missing = "no printer";
        return std::nullopt;
    }
};

// A view that writes down what the terminal asks of it, boxes included.
class RecordingView : public TerminalView {
  public:
    void ShowLineStatus(const LineStatus& s) override { Add("status " + s.StatusText); }
    void PreparePane(double) override { Add("pane"); }
    void ShowCaption(const std::string& caption) override { Add("caption " + caption); }
    void ShowLogState(bool open, bool) override { Add(open ? "log open" : "log closed"); }
    void ShowPanel(const std::string& key, const std::string& text) override {
        Add(key + " " + text);
    }
    void SetPanelShown(const std::string&, bool) override {}
    void WeatherMissing() override { Add("weather missing"); }
    TwipsRect Screen() const override { return {0, 0, 15360, 11520}; }
    void PlaceWindow(const WindowPlacement&) override { Add("place"); }
    WindowPlacement Placement() const override {
        events.push_back("placement");
        return {{1500, 1200, 9000, 6000}, false};
    }
    bool ChoosePort(LineSettings&) override { return Add("port dialog"), false; }
    void SettingsApplied(const TerminalSettings&) override { Add("settings"); }
    void Started(const TerminalSettings&) override { Add("started"); }
    void StopWatching() override { Add("stop watching"); }
    void ProcessEvents() override {}
    void Add(const std::string& event) { events.push_back(event); }
    mutable std::vector<std::string> events;
};

class TerminalTest : public ::testing::Test {
  protected:
    TerminalTest() {
        char name[256] = {};
        ::openpty(&m_master, &m_slave, name, nullptr, nullptr);
        SettingsContext(SettingsStore::ForUser(), "Quarnel - T1").WriteText("PortName", name);
        box.onShow = [this](const std::string& text) { view.Add("box " + text.substr(0, 20)); };
        TerminalParts parts;
        parts.box = &box;
        parts.fileChoice = &choice;
        parts.clock = &clock;
        parts.scheduler = &scheduler;
        parts.pane = &pane;
        parts.panels = &panels;
        parts.audioOpener = &audio;
        parts.printerReader = std::make_unique<NoPrinter>();
        parts.workDir = m_dir.Path();
        parts.lockDirectory = "";
        parts.createWeather = [](std::string*) { return WeatherDialogRef(); };
        terminal = std::make_unique<Terminal>(std::move(parts), view);
    }
    ~TerminalTest() override {
        terminal.reset();
        if (m_master >= 0) ::close(m_master);
        ::close(m_slave);
    }

    testing::TempDir m_dir;
    testing::ScopedEnv m_config{"XDG_CONFIG_HOME", m_dir.Path().c_str()};
    int m_master = -1, m_slave = -1;
    ScriptedBox box;
    testing::ScriptedChoice choice;
    testing::FakeClock clock;
    testing::ManualScheduler scheduler;
    testing::RecordingPane pane;
    testing::RecordingPanels panels;
    test::ScriptedAudioOpener audio;
    RecordingView view;
    std::unique_ptr<Terminal> terminal;
};

TEST_F(TerminalTest, StartsAndShutsDownInItsOrder) {
    ASSERT_TRUE(terminal->Start({"T1"}));
    EXPECT_THAT(
        view.events,
        ElementsAre("box Weather Control (lib", "weather missing", "caption Quarnel 1.0.0 - T1",
                    "pane", "status ", "place", "settings",
                    "Port " + PortPanelText(terminal->Line().Settings()), "Print P OFF",
                    "log closed", "caption Quarnel 1.0.0 - T1", "status CONNECTED", "started"));
    view.events.clear();
    terminal->Shutdown();
    terminal->Shutdown();
    EXPECT_THAT(view.events, ElementsAre("placement", "stop watching"));
    EXPECT_FALSE(terminal->Lines().IsOpen());
    EXPECT_EQ(terminal->Store().ReadInt("W", 0), 9000);
    EXPECT_EQ(terminal->Store().ReadText("F12_"), "NNNN");
}

TEST_F(TerminalTest, NoPortChosenEndsStartUpThroughShutdown) {
    ::close(m_master);  // the port stays, but another open of it is refused
    m_master = -1;
    SettingsContext(SettingsStore::ForUser(), "Quarnel - T1").WriteText("PortName", "/dev/null");
    EXPECT_FALSE(terminal->Start({"T1"}));
    EXPECT_THAT(view.events, ::testing::IsSupersetOf({"port dialog", "placement"}));
    EXPECT_TRUE(terminal->IsShutDown());
}

// The far end goes away: the read that finds it shows the panels at once
// and the box only once the read has returned, from the event loop.
TEST_F(TerminalTest, BoxAskedForDuringAReadIsShownAfterIt) {
    ASSERT_TRUE(terminal->Start({"T1"}));
    scheduler.RunAll();
    view.events.clear();
    ::close(m_master);
    m_master = -1;
    terminal->ReadLine();
    EXPECT_THAT(view.events, ElementsAre("status DISCONNECTED"));
    EXPECT_EQ(terminal->Boxes().Queued(), 1u);
    scheduler.RunAll();
    ASSERT_EQ(view.events.size(), 2u);
    EXPECT_THAT(view.events[1], ::testing::StartsWith("box "));
}

}  // namespace
}  // namespace dovrel
