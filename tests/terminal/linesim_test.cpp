// linesim end to end: captures played into a pseudo-terminal, read by the
// serial line and, for the bundled capture, shown by the receive path and
// written to a real log file holding the separated messages; what the
// terminal sends back; the exit statuses.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "reception.h"
#include "reception_fakes.h"
#include "recording_pane.h"
#include "serial_line.h"
#include "temp_dir.h"
#include "terminal_log.h"

namespace dovrel {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using testing::ReadFile;

const fs::path kSamples = DOVREL_SAMPLES_DIR;

// A running linesim: its first output line is the slave's path.
class Linesim {
  public:
    explicit Linesim(const std::string& args) {
        m_pipe = popen((LINESIM_PROGRAM " " + args + " 2>&1").c_str(), "r");
        if (m_pipe != nullptr) m_slave = ReadLine();
    }
    ~Linesim() {
        if (m_pipe != nullptr) Finish();
    }
    const std::string& Slave() const { return m_slave; }
    std::string ReadLine() {
        char buf[512] = {};
        std::string line = std::fgets(buf, sizeof buf, m_pipe) != nullptr ? buf : "";
        if (line.ends_with('\n')) line.pop_back();
        return line;
    }
    // Waits for the end; the exit status.
    int Finish() {
        const int status = pclose(m_pipe);
        m_pipe = nullptr;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    FILE* m_pipe = nullptr;
    std::string m_slave;
};

// The default line is Telex: 50 bauds, 5 data bits.
LineSettings Telex(const std::string& device) { return LineSettings{.PortName = device}; }

// The blocks read from the line until `count` bytes came, the line closed,
// or twenty seconds passed; all of them joined in `all`.
std::vector<std::string> ReadBlocks(SerialLine& line, std::size_t count, std::string& all) {
    std::vector<std::string> blocks;
    const auto end = Clock::now() + std::chrono::seconds(20);
    while (all.size() < count && line.IsOpen() && Clock::now() < end) {
        pollfd p{line.Fd(), POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        all += blocks.emplace_back(line.ReadAvailable());
    }
    return blocks;
}

std::string ReadAll(SerialLine& line, std::size_t count) {
    std::string all;
    ReadBlocks(line, count, all);
    return all;
}

TEST(ReceptionPtyTest, CaptureThroughThePtyEndsUpSeparatedInTheLog) {
    const std::string capture = ReadFile(kSamples / "capture.ita2");
    ASSERT_GT(capture.size(), 10000u);
    Linesim sim("--baud 0 --wait-open --linger 10 '" + (kSamples / "capture.ita2").string() + "'");
    ASSERT_EQ(sim.Slave().rfind("/dev/pts/", 0), 0u) << sim.Slave();
    SerialLine line("");
    ASSERT_EQ(line.Open(Telex(sim.Slave())), "");

    const testing::TempDir work;
    testing::FakeClock clock;
    testing::ScriptedBox box;
    testing::ScriptedChoice choice;
    TerminalLog log("NORTH", work.Path(), box, choice, clock);
    ASSERT_TRUE(log.CreateLog(true));
    TerminalSettings settings;
    settings.LookWords = settings.STimeStamp = true;
    settings.SMesgBlocs = settings.FMesgBlocs = 1;
    TelexState telex;
    testing::RecordingPane pane;
    testing::ManualScheduler scheduler;
    Reception rx(settings, telex, LoadKeywords(SettingsContext(SettingsStore(work / "cfg"), "Q")),
                 pane, clock, scheduler);
    rx.SetLineCode(LineCode::Telex);
    rx.SetLog(&log);
    rx.StartStopBanner(true);
    std::string received;
    for (const std::string& block : ReadBlocks(line, capture.size(), received)) {
        rx.OnDataReceived(block);
        scheduler.RunAll();
    }
    EXPECT_TRUE(received == capture) << received.size() << " of " << capture.size() << " bytes";
    rx.StartStopBanner(false);
    // Closing the line ends linesim's linger at once.
    const auto closed = Clock::now();
    line.Close();
    EXPECT_EQ(sim.Finish(), 0);
    EXPECT_LT(Clock::now() - closed, std::chrono::seconds(5));
    EXPECT_TRUE(box.shown.empty());

    const std::string onDisk = ReadFile(work / "Data" / "NORTH-261205-1402.log");  // still open

    // Each bulletin stands in the log after its numbered separator line, its
    // line ends (LF and CR CR LF alike) as CR LF.
    const std::string bulletins = ReadFile(kSamples / "bulletins.txt");
    std::size_t from = 0, logPos = 0;
    int n = 0;
    for (std::size_t start; (start = bulletins.find("ZCZC", from)) != std::string::npos;) {
        ++n;
        const std::size_t end = bulletins.find("NNNN", start);
        ASSERT_NE(end, std::string::npos) << n;
        std::string crlf;
        for (char c : bulletins.substr(start, end + 4 - start)) {
            if (c != '\r') crlf += (c == '\n') ? std::string("\r\n") : std::string(1, c);
        }
        char label[128];
        std::snprintf(label, sizeof label, " --------------------- NEW MSG %04d\r\n\r\n", n);
        const std::size_t open = onDisk.find(label, logPos);
        ASSERT_NE(open, std::string::npos) << label;
        EXPECT_EQ(onDisk.compare(open + std::strlen(label), crlf.size(), crlf), 0)
            << "bulletin " << n;
        from = end + 4;
        logPos = open + 1;
    }
    EXPECT_EQ(n, 11);
    EXPECT_EQ(onDisk.rfind("\r\n14:02:33 05/12/2026 ===================== START\r\n", 0), 0u);
    EXPECT_TRUE(onDisk.ends_with("===================== STOP \r\n"));
}

TEST(Linesim, RepeatedCapturesFollowEachOther) {
    const testing::TempDir dir;
    const std::string piece("\x1f\x0a\x15\x08\x02", 5);
    std::ofstream(dir / "piece", std::ios::binary) << piece;
    Linesim sim("--baud 0 --wait-open --repeat 3 --linger 10 " + (dir / "piece").string());
    SerialLine line("");
    ASSERT_EQ(line.Open(Telex(sim.Slave())), "");
    EXPECT_EQ(ReadAll(line, 15), piece + piece + piece);
    line.Close();
    EXPECT_EQ(sim.Finish(), 0);
}

TEST(Linesim, EchoesWhatTheTerminalSendsAsHexAndText) {
    Linesim sim("--baud 0 --wait-open --repeat 0 --linger 10 --echo-sent");
    SerialLine line("");
    ASSERT_EQ(line.Open(Telex(sim.Slave())), "");
    ASSERT_TRUE(line.Write(std::string("\x1f\x0a\x15", 3)));
    EXPECT_EQ(sim.ReadLine(), "sent: 1F 0A 15 [RY]");
    line.Close();
    EXPECT_EQ(sim.Finish(), 0);
}

TEST(Linesim, PacingIsNeverFasterThanTheLineSpeed) {
    // Ten 8N1 characters at 300 bauds: the tenth comes at least 9 x 33 ms after
    // the open, however late the reads come and however they cut the bytes.
    const testing::TempDir dir;
    std::ofstream(dir / "digits") << "0123456789";
    Linesim sim("--baud 300 --data-bits 8 --stop-bits 1 --wait-open --linger 10 " +
                (dir / "digits").string());
    SerialLine line("");
    LineSettings s = Telex(sim.Slave());
    s.Data = 8;
    const auto opened = Clock::now();
    ASSERT_EQ(line.Open(s), "");
    EXPECT_EQ(ReadAll(line, 10), "0123456789");
    EXPECT_GE(Clock::now() - opened, std::chrono::milliseconds(297));
    line.Close();
    EXPECT_EQ(sim.Finish(), 0);
}

TEST(Linesim, ExitStatuses) {
    EXPECT_EQ(Linesim("--help").Finish(), 0);
    EXPECT_EQ(Linesim("--baud").Finish(), 2);
    EXPECT_EQ(Linesim("--data-bits 6").Finish(), 2);
    EXPECT_EQ(Linesim("--stop-bits 3").Finish(), 2);
    EXPECT_EQ(Linesim("/nonexistent/capture").Finish(), 1);
}

}  // namespace
}  // namespace dovrel
