// Port discovery over a folder of fake device nodes, sysfs, /proc and lock
// files: which devices are listed, in what order, and with which mark.
#include "port_discovery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "temp_dir.h"

namespace dovrel {
namespace {

namespace fs = std::filesystem;

class PortDiscoveryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_roots.dev = (m_root / "dev").string();
        m_roots.sys = (m_root / "sys").string();
        m_roots.proc = (m_root / "proc").string();
        m_roots.lockDirs = {(m_root / "lock").string()};
        for (const char* dir : {"dev", "sys/class/tty", "proc", "lock"})
            fs::create_directories(m_root / dir);
    }

    std::string Dev(const std::string& name) const { return m_roots.dev + "/" + name; }
    // A device node, and for ttyS its sysfs entry with a device behind it.
    void Device(const std::string& name, bool present = true) {
        std::ofstream(Dev(name)).put('\0');
        fs::create_directories(m_root / "sys/class/tty" / name);
        if (present) fs::create_directories(m_root / "sys/class/tty" / name / "device");
    }
    void ById(const std::string& link, const std::string& target) {
        fs::create_directories(m_root / "dev/serial/by-id");
        fs::create_symlink("../../" + target, m_root / "dev/serial/by-id" / link);
    }
    void OpenByProcess(const std::string& pid, const std::string& name) {
        fs::create_directories(m_root / "proc" / pid / "fd");
        fs::create_symlink(fs::weakly_canonical(Dev(name)), m_root / "proc" / pid / "fd" / "5");
    }
    void Lock(const std::string& name, long pid) {
        std::ofstream(m_root / "lock" / ("LCK.." + name)) << "      " << pid << "\n";
    }
    std::string Labels(const std::string& ours = {}) const {
        std::string all;
        for (const PortEntry& e : DiscoverPorts(ours, m_roots)) {
            std::string label = e.label;
            const std::size_t at = label.find(m_roots.dev + "/");
            if (at != std::string::npos) label.erase(at, m_roots.dev.size() + 1);
            all += label + " ";
        }
        return all;
    }

    testing::TempDir m_root;
    PortDiscoveryRoots m_roots;
};

TEST_F(PortDiscoveryTest, SerialDevicesAreListedByFamilyAndNumber) {
    Device("ttyUSB10");
    Device("ttyUSB2");
    Device("ttyS1");
    Device("ttyS0");
    Device("ttyACM0");
    Device("tty1");   // virtual console: not a serial port
    Device("ttySX");  // not a numbered device
    Device("console");
    EXPECT_EQ(Labels(), "ttyS0 ttyS1 ttyUSB2 ttyUSB10 ttyACM0 ");
}

TEST_F(PortDiscoveryTest, ConventionalPortsWithoutHardwareAreLeftOut) {
    Device("ttyS0");
    Device("ttyS1", false);
    Device("ttyS2");
    fs::create_directories(m_root / "proc/tty/driver");
    std::ofstream(m_root / "proc/tty/driver/serial")
        << "serinfo:1.0 driver revision:\n"
        << "0: uart:16550A port:000003F8 irq:4 tx:0 rx:0\n"
        << "1: uart:unknown port:000002F8 irq:3\n"
        << "2: uart:unknown port:000003E8 irq:4\n";
    EXPECT_EQ(Labels(), "ttyS0 ");
}

TEST_F(PortDiscoveryTest, LinksByIdFollowTheDevicesAndALinkToOurDeviceIsOursToo) {
    Device("ttyUSB0");
    ById("usb-FTDI_FT232R_A1B2-if00-port0", "ttyUSB0");
    EXPECT_EQ(Labels(), "ttyUSB0 serial/by-id/usb-FTDI_FT232R_A1B2-if00-port0 ");
    EXPECT_EQ(Labels(Dev("ttyUSB0")), "=ttyUSB0 =serial/by-id/usb-FTDI_FT232R_A1B2-if00-port0 ");
}

// ttyS0 free, ttyS1 held by another program, ttyS2 open in this one, and
// this one's device listed even when not found.
TEST_F(PortDiscoveryTest, FreeInUseAndOursCarryTheirMarks) {
    Device("ttyS0");
    Device("ttyS1");
    Device("ttyS2");
    OpenByProcess("4242", "ttyS1");
    EXPECT_EQ(Labels(Dev("ttyS2")), "ttyS0 *ttyS1 =ttyS2 ");
    EXPECT_EQ(Labels("/dev/pts/9"), "ttyS0 *ttyS1 ttyS2 =/dev/pts/9 ");
}

// Locks of live processes and consoles mean in use; stale locks do not.
TEST_F(PortDiscoveryTest, LiveLocksAndConsolesMeanInUse) {
    Device("ttyS0");
    Device("ttyUSB0");
    Device("ttyUSB1");
    Lock("ttyUSB0", 1);
    Lock("ttyUSB1", 999999999);
    std::ofstream(m_root / "proc/consoles") << "ttyS0                -W- (EC  p a)    4:64\n";
    EXPECT_EQ(Labels(), "*ttyS0 *ttyUSB0 ttyUSB1 ");
}

TEST_F(PortDiscoveryTest, TheCurrentDeviceIsSelected) {
    EXPECT_TRUE(LoadPropertySettings(LineSettings{}, "", m_roots).entries.empty());
    Device("ttyS0");
    Device("ttyUSB0");
    LineSettings current;
    current.PortName = Dev("ttyUSB0");
    const PortList list = LoadPropertySettings(current, "", m_roots);
    EXPECT_EQ(list.selected, 1);
    current.PortName = Dev("ttyUSB7");
    EXPECT_EQ(LoadPropertySettings(current, "", m_roots).selected, -1);
}

TEST(ChoosePort, ConventionalDevicesBecomePortNumbersOthersPortNames) {
    LineSettings current;
    current.Port = 4;
    current.PortName = "/dev/ttyUSB3";
    current.Baud = 75;
    PortEntry entry;
    entry.path = "/dev/ttyS2";
    LineSettings chosen = ChoosePort(current, entry, true, false);
    EXPECT_EQ(chosen.Port, 3);
    EXPECT_EQ(chosen.PortName, "");
    EXPECT_TRUE(chosen.DTR);
    EXPECT_FALSE(chosen.RTS);
    EXPECT_EQ(chosen.Baud, 75);
    entry.path = "/dev/serial/by-id/usb-X-port0";
    chosen = ChoosePort(current, entry, false, true);
    EXPECT_EQ(chosen.Port, 0);
    EXPECT_EQ(chosen.PortName, "/dev/serial/by-id/usb-X-port0");
    EXPECT_TRUE(chosen.RTS);
}

}  // namespace
}  // namespace dovrel
