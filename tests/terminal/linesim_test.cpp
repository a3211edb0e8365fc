// linesim end to end: the bundled capture through a pseudo-terminal into
// the serial line, what the terminal sends back, and the exit statuses.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "serial_line.h"

namespace dovrel {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// linesim is built next to the test program.
std::string LinesimPath() {
    return (fs::read_symlink("/proc/self/exe").parent_path() / "linesim").string();
}

std::string BundledCapture() {
    const fs::path path = fs::path(DOVREL_SAMPLES_DIR) / "capture.ita2";
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A running linesim: its first output line is the slave's path.
class Linesim {
  public:
    explicit Linesim(const std::string& args) {
        m_pipe = popen((LinesimPath() + " " + args + " 2>&1").c_str(), "r");
        if (m_pipe != nullptr) m_slave = ReadLine();
    }
    ~Linesim() {
        if (m_pipe != nullptr) Finish();
    }
    const std::string& Slave() const { return m_slave; }
    std::string ReadLine() {
        char buf[512] = {};
        if (std::fgets(buf, sizeof buf, m_pipe) == nullptr) return {};
        std::string line = buf;
        if (!line.empty() && line.back() == '\n') line.pop_back();
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

LineSettings Telex(const std::string& device) {
    LineSettings s;
    s.PortName = device;
    s.Baud = 50;
    s.Data = 5;
    s.Stop = 1;
    return s;
}

// Reads from the line until `count` bytes came, the line closed, or ten
// seconds passed.
std::string ReadAll(SerialLine& line, std::size_t count) {
    std::string got;
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (got.size() < count && line.IsOpen() && Clock::now() < end) {
        pollfd p{line.Fd(), POLLIN, 0};
        if (poll(&p, 1, 100) > 0) got += line.ReadAvailable();
    }
    return got;
}

TEST(Linesim, TheBundledCaptureArrivesByteForByte) {
    const std::string capture = BundledCapture();
    ASSERT_GT(capture.size(), 10000u);
    ASSERT_TRUE(fs::exists(LinesimPath())) << LinesimPath();
    Linesim sim("--baud 0 --wait-open --linger 10");
    ASSERT_EQ(sim.Slave().rfind("/dev/pts/", 0), 0u) << sim.Slave();
    SerialLine line("");
    ASSERT_EQ(line.Open(Telex(sim.Slave())), "");
    EXPECT_EQ(ReadAll(line, capture.size()), capture);
    // Closing the line ends linesim's linger at once.
    const auto closed = Clock::now();
    line.Close();
    EXPECT_EQ(sim.Finish(), 0);
    EXPECT_LT(Clock::now() - closed, std::chrono::seconds(5));
}

TEST(Linesim, RepeatedCapturesFollowEachOther) {
    char tmpl[] = "/tmp/linesim_test.XXXXXX";
    const int fd = mkstemp(tmpl);
    ASSERT_GE(fd, 0);
    const std::string piece("\x1f\x0a\x15\x08\x02", 5);
    ASSERT_EQ(write(fd, piece.data(), piece.size()), 5);
    close(fd);
    Linesim sim(std::string("--baud 0 --wait-open --repeat 3 --linger 10 ") + tmpl);
    SerialLine line("");
    ASSERT_EQ(line.Open(Telex(sim.Slave())), "");
    EXPECT_EQ(ReadAll(line, 15), piece + piece + piece);
    line.Close();
    EXPECT_EQ(sim.Finish(), 0);
    unlink(tmpl);
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
    // Ten 8N1 characters at 300 bauds: the tenth comes 9 x 33 ms after the first.
    char tmpl[] = "/tmp/linesim_test.XXXXXX";
    const int fd = mkstemp(tmpl);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "0123456789", 10), 10);
    close(fd);
    Linesim sim(std::string("--baud 300 --data-bits 8 --stop-bits 1 --wait-open --linger 10 ") +
                tmpl);
    SerialLine line("");
    LineSettings s = Telex(sim.Slave());
    s.Data = 8;
    ASSERT_EQ(line.Open(s), "");
    std::string got = ReadAll(line, 1);
    const auto first = Clock::now();
    got += ReadAll(line, 9);
    EXPECT_EQ(got, "0123456789");
    EXPECT_GE(Clock::now() - first, std::chrono::milliseconds(250));
    line.Close();
    EXPECT_EQ(sim.Finish(), 0);
    unlink(tmpl);
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
