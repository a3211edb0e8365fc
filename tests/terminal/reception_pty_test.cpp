// End to end: linesim plays the bundled ITA2 capture into a pseudo-terminal,
// the serial line reads it, the receive path shows it in a recording pane
// and writes a real log file holding the separated messages.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "reception.h"
#include "reception_fakes.h"
#include "recording_pane.h"
#include "serial_line.h"
#include "terminal_log.h"

namespace dovrel {
namespace {

namespace fs = std::filesystem;
using testing::FakeClock;
using testing::ManualScheduler;
using testing::RecordingLog;
using testing::ScriptedBox;
using testing::ScriptedChoice;

const fs::path kSamples = DOVREL_SAMPLES_DIR;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Linesim() {
    return (fs::read_symlink("/proc/self/exe").parent_path() / "linesim").string();
}

TerminalSettings MessageSettings() {
    TerminalSettings s;
    s.LookWords = true;
    s.SMesgBlocs = 1;
    s.FMesgBlocs = 1;
    s.STimeStamp = true;
    return s;
}

class ReceptionPtyTest : public ::testing::Test {
  protected:
    ReceptionPtyTest() {
        char pattern[] = "/tmp/dovrel-pty-XXXXXX";
        work = mkdtemp(pattern);
    }
    ~ReceptionPtyTest() override {
        if (sim != nullptr) pclose(sim);
        fs::remove_all(work);
    }

    // Starts linesim on the capture; the slave's path, or empty.
    std::string StartLinesim(const fs::path& capture) {
        const std::string cmd =
            Linesim() + " --baud 0 --wait-open --linger 10 '" + capture.string() + "'";
        sim = popen(cmd.c_str(), "r");
        if (sim == nullptr) return {};
        char buf[512] = {};
        if (std::fgets(buf, sizeof buf, sim) == nullptr) return {};
        std::string line = buf;
        if (!line.empty() && line.back() == '\n') line.pop_back();
        return line;
    }

    fs::path work;
    FILE* sim = nullptr;
};

TEST_F(ReceptionPtyTest, CaptureThroughThePtyEndsUpSeparatedInTheLog) {
    if (!fs::exists(Linesim())) GTEST_SKIP() << "linesim is not built: " << Linesim();
    const fs::path capturePath = kSamples / "capture.ita2";
    const std::string capture = ReadFile(capturePath);
    ASSERT_GT(capture.size(), 10000u);

    const std::string slave = StartLinesim(capturePath);
    ASSERT_EQ(slave.rfind("/dev/pts/", 0), 0u) << slave;
    SerialLine line("");
    LineSettings settingsOfLine;
    settingsOfLine.PortName = slave;
    settingsOfLine.Data = 5;
    settingsOfLine.Baud = 50;
    ASSERT_EQ(line.Open(settingsOfLine), "");

    FakeClock clock;
    ScriptedBox box;
    ScriptedChoice choice;
    TerminalLog log("NORTH", work, box, choice, clock);
    ASSERT_TRUE(log.CreateLog(true));
    TerminalSettings settings = MessageSettings();
    TelexState telex;
    RecordingPane pane;
    ManualScheduler scheduler;
    Reception rx(settings, telex, LoadKeywords(SettingsContext(SettingsStore(work / "cfg"), "Q")),
                 pane, clock, scheduler);
    rx.SetLineCode(LineCode::Telex);
    rx.SetLog(&log);
    rx.StartStopBanner(true);

    std::size_t received = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (received < capture.size() && line.IsOpen() &&
           std::chrono::steady_clock::now() < deadline) {
        pollfd p{line.Fd(), POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        const std::string bytes = line.ReadAvailable();
        received += bytes.size();
        rx.OnDataReceived(bytes);
        scheduler.RunAll();
    }
    EXPECT_EQ(received, capture.size());
    rx.StartStopBanner(false);
    line.Close();
    EXPECT_EQ(pclose(sim), 0);
    sim = nullptr;
    EXPECT_TRUE(box.shown.empty());

    // The log on disk, read while it is still open.
    const std::string onDisk = ReadFile(work / "Data" / "NORTH-261205-1402.log");
    ASSERT_FALSE(onDisk.empty());

    // The same bytes fed in one block without the line give the same log.
    TerminalSettings settings2 = MessageSettings();
    TelexState telex2;
    RecordingPane pane2;
    RecordingLog log2;
    Reception direct(settings2, telex2, MakeKeywordTable({}), pane2, clock, scheduler);
    direct.SetLog(&log2);
    direct.StartStopBanner(true);
    direct.OnDataReceived(capture);
    scheduler.RunAll();
    direct.StartStopBanner(false);
    EXPECT_EQ(onDisk, log2.Text());
    EXPECT_EQ(pane.Text(), pane2.Text());

    // Each bulletin stands in the log between its numbered separator lines,
    // its line ends as CR LF.
    const std::string bulletins = ReadFile(kSamples / "bulletins.txt");
    std::size_t from = 0;
    std::size_t logPos = 0;
    int n = 0;
    for (std::size_t start; (start = bulletins.find("ZCZC", from)) != std::string::npos;) {
        ++n;
        const std::size_t end = bulletins.find("NNNN", start);
        ASSERT_NE(end, std::string::npos) << n;
        std::string body = bulletins.substr(start, end + 4 - start);
        std::string crlf;
        // LF and CR CR LF line ends alike reach the log as CR LF.
        for (char c : body) {
            if (c != '\r') crlf += (c == '\n') ? std::string("\r\n") : std::string(1, c);
        }
        char label[128];
        std::snprintf(label, sizeof label, " --------------------- NEW MSG %04d\r\n\r\n", n);
        const std::size_t open = onDisk.find(label, logPos);
        ASSERT_NE(open, std::string::npos) << label;
        EXPECT_EQ(onDisk.compare(open + std::strlen(label), crlf.size(), crlf), 0)
            << "bulletin " << n;
        std::snprintf(label, sizeof label,
                      "NNNN\r\n14:02:33 05/12/2026 --------------------- END MSG %04d\r\n\r\n", n);
        EXPECT_NE(onDisk.find(label, open), std::string::npos) << label;
        from = end + 4;
        logPos = open + 1;
    }
    EXPECT_EQ(n, 11);
    EXPECT_EQ(onDisk.rfind("\r\n14:02:33 05/12/2026 ===================== START\r\n", 0), 0u);
    EXPECT_TRUE(onDisk.ends_with("===================== STOP \r\n"));
}

}  // namespace
}  // namespace dovrel
