// A live sound input: a PulseAudio server of the test's own, a null sink
// whose monitor is remapped into a source (Qt lists no monitor sources), the
// real 50-baud recording played into the sink. The terminal receives its
// loop through the default input, and taking the source away shows
// DISCONNECTED. Skips, saying why, where no server can be started.
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <csignal>
#include <fstream>

#include "qt_audio_input.h"
#include "status_bar_panels.h"
#include "ui_fixture.h"

namespace dovrel::test {
namespace {

// Runs a program to its end; its standard output, or nullopt on failure.
std::optional<QString> Run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

class PulseServer {
  public:
    PulseServer() {
        for (const char* tool : {"pulseaudio", "pactl", "paplay"})
            if (QStandardPaths::findExecutable(tool).isEmpty()) {
                why = std::string(tool) + " is not installed (Debian pulseaudio, pulseaudio-utils)";
                return;
            }
        // The server and every client of this process meet in a folder of their own.
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        qunsetenv("PULSE_SERVER");
        if (!Run("pulseaudio", {"-D", "--exit-idle-time=-1"})) {
            why = "pulseaudio would not start here";
            return;
        }
        const bool ready =
            Run("pactl", {"load-module", "module-null-sink", "sink_name=rtty"}) &&
            (m_remap = Run("pactl", {"load-module", "module-remap-source", "master=rtty.monitor",
                                     "source_name=rttyin"})) &&
            Run("pactl", {"set-default-source", "rttyin"});
        if (!ready) why = "the null sink or its remapped source could not be made";
    }
    ~PulseServer() {
        std::ifstream pidFile(m_runtime.path().toStdString() + "/pulse/pid");
        long pid = 0;
        if (pidFile >> pid && pid > 0) ::kill(static_cast<pid_t>(pid), SIGTERM);
    }
    // Takes the source away, as when a sound card is unplugged.
    bool RemoveSource() { return m_remap && Run("pactl", {"unload-module", *m_remap}); }

    std::string why;  // empty when the server is ready

  private:
    QTemporaryDir m_runtime;
    std::optional<QString> m_remap;
};

class SoundInputTest : public WindowTest {};

TEST_F(SoundInputTest, RecordingPlayedIntoTheServerIsReceivedUntilTheSourceGoes) {
    PulseServer server;
    if (!server.why.empty()) GTEST_SKIP() << "no sound server: " << server.why;
    std::vector<std::string> inputs;
    WaitUntil([&] { return !(inputs = QtAudioInputNames()).empty(); }, 3000);
    if (inputs.empty()) GTEST_SKIP() << "Qt Multimedia lists no input of the test's sound server";

    Store(Context()).WriteText("PortName", "audio:default");
    auto window = MakeWindow();
    ASSERT_TRUE(window->Start({"T1"}));
    EXPECT_EQ(window->Panels()->Text("Status").toStdString(), "CONNECTED");
    EXPECT_EQ(window->Panels()->Text("Port").toStdString(), "default");
    QProcess player;
    player.start("paplay",
                 {"-d", "rtty", TESTS_DATA_DIR "/rtty/librttywx_dwd_ddk_testloop_8k.wav"});
    const bool received = WaitUntil(
        [&] { return PaneText(*window).find("CQ CQ CQ DE DDK2 DDH7 DDK9") != std::string::npos; },
        45000);
    player.kill();
    player.waitForFinished();
    EXPECT_TRUE(received) << PaneText(*window);

    ASSERT_TRUE(server.RemoveSource());
    EXPECT_TRUE(
        WaitUntil([&] { return window->Panels()->Text("Status") == "DISCONNECTED"; }, 5000));
    // The box follows from the event loop, once the read that found the loss returned.
    EXPECT_TRUE(WaitUntil([&] {
        const auto texts = m_box.Texts();
        return std::any_of(texts.begin(), texts.end(), [](const std::string& t) {
            return t.find(" lost") != std::string::npos;
        });
    }));
}

}  // namespace
}  // namespace dovrel::test
