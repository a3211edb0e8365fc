// The serial line against a real pseudo-terminal pair: the test holds the
// master (the far end of the line), the line opens the slave by its path.
#include "serial_line.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <utility>

#include "serial_speed.h"
#include "temp_dir.h"

namespace dovrel {
namespace {

namespace fs = std::filesystem;

// Records the levels each modem-line call asks for, as "RTS+ DTR-".
class RecordingModemLines : public ModemLines {
  public:
    int Set(int, bool rts, bool dtr) override {
        calls.push_back(std::string(rts ? "RTS+" : "RTS-") + (dtr ? " DTR+" : " DTR-"));
        return ENOTTY;  // as a pseudo-terminal answers
    }
    std::vector<std::string> calls;
};

class SerialLineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[256] = {};
        ASSERT_EQ(openpty(&m_master, &m_slave, name, nullptr, nullptr), 0);
        m_settings.PortName = name;
        m_settings.Data = 8;
        m_settings.Stop = 0;
        m_settings.Baud = 9600;
    }
    void TearDown() override {
        CloseMaster();
        close(m_slave);  // -1 when the line took it over
    }
    void CloseMaster() { close(std::exchange(m_master, -1)); }
    // Opens the line, then lets go of the test's own slave descriptor so
    // that the line is the only user of the slave.
    void OpenLine() {
        ASSERT_EQ(m_line.Open(m_settings), "");
        close(std::exchange(m_slave, -1));
    }
    void Send(const std::string& bytes) {
        ASSERT_EQ(write(m_master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Reads from the line until `count` bytes came or the line closed,
    // waiting for readiness as the window's event loop does.
    std::string Receive(std::size_t count) {
        std::string got;
        for (int i = 0; i < 100 && got.size() < count && m_line.IsOpen(); ++i) {
            pollfd p{m_line.Fd(), POLLIN, 0};
            if (poll(&p, 1, 100) > 0) got += m_line.ReadAvailable();
        }
        return got;
    }

    int m_master = -1;
    int m_slave = -1;
    LineSettings m_settings;
    SerialLine m_line{""};
};

TEST_F(SerialLineTest, NothingWaitingReturnsAtOnceAndABurstArrivesUnchanged) {
    OpenLine();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_line.ReadAvailable(), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    std::string bytes("RYRY\x1f\x1b\x00\x7f\xff\r\n", 11);
    for (int i = 0; i < 3000; ++i) bytes.push_back(static_cast<char>('A' + i % 26));
    Send(bytes);
    EXPECT_EQ(Receive(bytes.size()), bytes);
    EXPECT_TRUE(m_line.IsOpen());
}

TEST_F(SerialLineTest, ClosingTheFarEndEndsInTheClosedStateWithAReason) {
    OpenLine();
    CloseMaster();
    // The descriptor reports the hang-up as readiness; one read closes it.
    pollfd p{m_line.Fd(), POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 2000), 1);
    EXPECT_EQ(m_line.ReadAvailable(), "");
    EXPECT_FALSE(m_line.IsOpen());
    EXPECT_EQ(m_line.Fd(), -1);
    EXPECT_EQ(m_line.LastError(),
              m_settings.PortName + ": the device hung up (unplugged, or closed at the far end)");
    // Further calls are harmless.
    EXPECT_EQ(m_line.ReadAvailable(), "");
    EXPECT_FALSE(m_line.Write("x"));
}

TEST_F(SerialLineTest, WritingAfterTheFarEndVanishedClosesTheLine) {
    OpenLine();
    CloseMaster();
    EXPECT_FALSE(m_line.Write("RY"));
    EXPECT_FALSE(m_line.IsOpen());
    EXPECT_NE(m_line.LastError().find("hung up"), std::string::npos) << m_line.LastError();
}

// 45 and 135 bauds are custom speeds; a panel click applies the settings
// again on the open line, which keeps its descriptor.
TEST_F(SerialLineTest, TelexSpeedsAreSetAndReappliedOnTheOpenLine) {
    m_settings.Data = 5;
    m_settings.Stop = 1;
    int fd = -1;
    for (int baud : {45, 50, 75, 100, 110, 135, 150, 200, 300, 600, 1200, 9600, 45, 135, 50}) {
        m_settings.Baud = baud;
        ASSERT_EQ(m_line.Open(m_settings), "") << baud;
        if (fd < 0) fd = m_line.Fd();
        EXPECT_EQ(m_line.Fd(), fd) << baud;
        int actual = 0;
        ASSERT_EQ(GetLineSpeed(m_line.Fd(), actual), 0);
        EXPECT_EQ(actual, baud);
    }
}

TEST_F(SerialLineTest, AllParitiesAreAcceptedAndAMarkedByteReadsBack) {
    for (std::uint8_t parity = 0; parity <= 4; ++parity) {
        m_settings.Parity = parity;
        ASSERT_EQ(m_line.Open(m_settings), "") << int(parity);
    }
    close(std::exchange(m_slave, -1));
    // With parity checking on, the driver doubles a real 0xFF; it must come
    // out as one byte again.
    const std::string bytes{'A', '\xff', 'B'};
    Send(bytes);
    EXPECT_EQ(Receive(3), bytes);
}

TEST_F(SerialLineTest, ModemLinesFollowTheSettingsAtEveryApplyAndDropAtClose) {
    for (const char* levels : {"RTS- DTR-", "RTS+ DTR-", "RTS- DTR+", "RTS+ DTR+"}) {
        RecordingModemLines modem;
        SerialLine line("", modem);
        m_settings.RTS = levels[3] == '+';
        m_settings.DTR = levels[8] == '+';
        const std::string error = line.Open(m_settings);
        if (m_settings.RTS || m_settings.DTR) {
            // Asked of a device without modem lines: refused, and dropped again.
            EXPECT_NE(error.find("cannot raise"), std::string::npos) << error;
            EXPECT_EQ(modem.calls, (std::vector<std::string>{levels, "RTS- DTR-"}));
            continue;
        }
        ASSERT_EQ(error, "");
        termios tio{};
        ASSERT_EQ(tcgetattr(line.Fd(), &tio), 0);
        EXPECT_NE(tio.c_cflag & HUPCL, 0u) << "the driver lowers both lines at the last close";
        EXPECT_EQ(line.Apply(m_settings), "");
        line.Close();
        EXPECT_EQ(modem.calls, (std::vector<std::string>{levels, levels, "RTS- DTR-"}));
    }
}

TEST_F(SerialLineTest, ASecondOpenerIsRefusedWhoeverItIsAndThroughALink) {
    OpenLine();
    const testing::TempDir dir;
    const fs::path link = dir / "link";
    fs::create_symlink(m_settings.PortName, link);
    for (const std::string& path : {m_settings.PortName, link.string()}) {
        SerialLine other("");
        LineSettings settings = m_settings;
        settings.PortName = path;
        const std::string error = other.Open(settings);
        EXPECT_NE(error.find("in use by another program"), std::string::npos)
            << path << ": " << error;
        EXPECT_FALSE(other.IsOpen());
    }
    EXPECT_TRUE(m_line.IsOpen());
}

TEST(SerialLineOpen, NoPortAMissingDeviceOrANonTerminalOpensNothing) {
    for (const char* path : {"", "/dev/ttyNoSuchDevice7", "/dev/null"}) {
        SerialLine line("");
        LineSettings settings;
        settings.PortName = path;
        const std::string error = line.Open(settings);
        EXPECT_FALSE(error.empty()) << path;
        EXPECT_FALSE(line.IsOpen());
        if (std::string(path) == "/dev/ttyNoSuchDevice7") {
            EXPECT_NE(error.find(path), std::string::npos);
            EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
        }
    }
}

class SerialLineLockTest : public ::testing::Test {
  protected:
    SerialLineLockTest() { m_settings.PortName = "/dev/null"; }  // under /dev: takes a lock
    testing::TempDir m_dir;
    LineSettings m_settings;
};

// A live owner's lock means in use and is not ours to remove; a stale one is
// removed, and our own is dropped when the open fails (/dev/null: no terminal).
TEST_F(SerialLineLockTest, LiveLocksRefuseStaleOnesAreRemoved) {
    for (long pid : {1L, 999999999L}) {
        std::ofstream(m_dir / "LCK..null") << "      " << pid << "\n";
        const std::string error = SerialLine(m_dir.Path().string()).Open(m_settings);
        EXPECT_EQ(error.find("in use") != std::string::npos, pid == 1) << error;
        EXPECT_EQ(fs::exists(m_dir / "LCK..null"), pid == 1);
    }
}

TEST(LineDevicePath, PortNameWinsElseTheConventionalDevice) {
    const std::tuple<std::int16_t, const char*, const char*> rows[] = {
        {0, "", ""},
        {-3, "", ""},
        {1, "", "/dev/ttyS0"},
        {3, "", "/dev/ttyS2"},
        {3, "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {0, "/dev/pts/4", "/dev/pts/4"}};
    for (const auto& [port, name, path] : rows) {
        LineSettings s;
        s.Port = port;
        s.PortName = name;
        EXPECT_EQ(LineDevicePath(s), path) << port << " " << name;
    }
}

TEST(LineDevicePath, LockFileNamesAndPortNumbersOfDevices) {
    EXPECT_EQ(LockFileNameOf("/dev/ttyUSB0"), "LCK..ttyUSB0");
    EXPECT_EQ(LockFileNameOf("/dev/pts/3"), "LCK..pts_3");
    EXPECT_EQ(LockFileNameOf("/tmp/ttyS0"), "");
    const std::pair<const char*, int> numbers[] = {
        {"/dev/ttyS0", 1},  {"/dev/ttyS12", 13}, {"/dev/ttyS", 0},
        {"/dev/ttyS1a", 0}, {"/dev/ttyUSB0", 0}, {"/dev/ttyS99999999999", 0}};
    for (const auto& [device, port] : numbers)
        EXPECT_EQ(PortNumberOfDevice(device), port) << device;
}

}  // namespace
}  // namespace dovrel
