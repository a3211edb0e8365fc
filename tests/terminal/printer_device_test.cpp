// Printer status decoding, the inaccessible-port path, printing to the
// device and the "Print" panel switch, with a fake status register and a
// folder standing in for /dev.
#include "printer_device.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "scripted_prompts.h"
#include "temp_dir.h"

namespace dovrel {
namespace {

class FakeStatus : public PrinterStatusReader {
  public:
    std::optional<std::uint8_t> ReadStatus(int port, std::string& missing) override {
        ports.push_back(port);
        if (!status) missing = "/dev/parport0 not found";
        return status;
    }
    std::optional<std::uint8_t> status = 0xDF;
    std::vector<int> ports;
};

TEST(PrinterStatus, StatusTable) {
    struct Row {
        std::uint8_t status;
        const char* text;
    };
    const Row rows[] = {
        {0xFF, "Not connected"},
        {0x7F, "No printer found"},  // busy, paper out, no error signalled
        {0xDF, ""},                  // ready
        {0x67, "No more paper"},     // busy and paper out, but an error signalled
        {0xB8, "No more paper"},
        {0xC8, "Printer is OFFLINE"},
        {0x58, "Printer is BUSY"},
        {0xD8, ""},
        {0xD0, ""},  // error bit alone does not stop printing
        {0x00, "Printer is OFFLINE"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DecodePrinterStatus(row.status), row.text) << std::hex << int(row.status);
}

TEST(PrinterStatus, OnlyPortsOneAndTwoAreKnownAndAnInaccessibleOneIsReset) {
    FakeStatus reader;
    for (int port : {0, 3, -1}) {
        int p = port;
        EXPECT_EQ(GetPrinterStatus(p, reader), "Unknown printer port");
        EXPECT_EQ(p, port);
    }
    EXPECT_TRUE(reader.ports.empty());
    reader.status.reset();
    int port = 2;
    EXPECT_EQ(GetPrinterStatus(port, reader),
              "/dev/parport0 not found\r\nCannot get printer status");
    EXPECT_EQ(port, 0);
}

TEST(PrinterStatus, ThePpdevReaderReportsAMissingDeviceNode) {
    const testing::TempDir dir;
    PpdevStatusReader reader(dir.Path().string());
    std::string missing;
    EXPECT_FALSE(reader.ReadStatus(2, missing).has_value());
    EXPECT_NE(missing.find((dir / "parport1").string() + " not found"), std::string::npos);
    EXPECT_NE(missing.find("ppdev"), std::string::npos);
    // A node that is not a parallel port cannot be read either.
    std::ofstream(dir / "parport0") << "x";
    missing.clear();
    EXPECT_FALSE(reader.ReadStatus(1, missing).has_value());
    EXPECT_NE(missing.find((dir / "parport0").string()), std::string::npos) << missing;
}

class PrinterDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ofstream(m_dir / "lp0");
        std::ofstream(m_dir / "lp1");
    }
    std::string Printed(const char* lp) const { return testing::ReadFile(m_dir / lp); }

    testing::TempDir m_dir;  // before the printer, which is given it
    FakeStatus m_reader;
    std::int32_t m_printerId = 1;
    testing::ScriptedBox m_box;
    PrinterDevice m_printer{m_reader, m_printerId, m_dir.Path().string()};
};

TEST_F(PrinterDeviceTest, PrintTextGoesToTheDeviceOfThePortOnlyWhenReady) {
    int port = 2;
    EXPECT_TRUE(m_printer.PrintText(port, "ZCZC 001\r"));
    EXPECT_TRUE(m_printer.PrintText("NNNN\r"));
    m_reader.status = 0x58;  // busy
    EXPECT_FALSE(m_printer.PrintText("lost\r"));
    EXPECT_EQ(Printed("lp1"), "ZCZC 001\r");
    EXPECT_EQ(Printed("lp0"), "NNNN\r");
    m_reader.status = 0xDF;
    std::filesystem::remove(m_dir / "lp0");
    EXPECT_FALSE(m_printer.PrintText("lost\r"));
}

TEST_F(PrinterDeviceTest, SwitchingOnPrintsTheHeadingAndOffAlwaysWorks) {
    std::filesystem::rename(m_dir / "lp0", m_dir / "lp0.away");
    EXPECT_EQ(m_printer.ClickPrintPanel("x", "y", m_box), "P OFF");  // the heading failed
    std::filesystem::rename(m_dir / "lp0.away", m_dir / "lp0");
    EXPECT_EQ(m_printer.ClickPrintPanel("06/12/2026 21:59:02", "Quarnel Terminal 1.0.0", m_box),
              "P ON");
    EXPECT_TRUE(m_printer.PrintOn());
    EXPECT_EQ(Printed("lp0"), "\r06/12/2026 21:59:02 - Quarnel Terminal 1.0.0\r");
    m_reader.status.reset();
    EXPECT_EQ(m_printer.ClickPrintPanel("x", "y", m_box), "P OFF");
    EXPECT_FALSE(m_printer.PrintOn());
    EXPECT_TRUE(m_box.shown.empty());
}

// Not ready, inaccessible (the choice of printer is reset), or none chosen:
// printing stays off with a box saying why.
TEST_F(PrinterDeviceTest, APrinterThatCannotPrintStaysOffWithABox) {
    const struct {
        std::optional<std::uint8_t> status;
        std::int32_t id, idAfter;
        const char* text;
    } rows[] = {{0xB8, 1, 1, "No more paper"},
                {std::nullopt, 1, 0, "/dev/parport0 not found\r\nCannot get printer status"},
                {0xDF, 0, 0, "Unknown printer port"}};
    for (const auto& row : rows) {
        m_reader.status = row.status;
        m_printerId = row.id;
        m_box.shown.clear();
        EXPECT_EQ(m_printer.ClickPrintPanel("x", "y", m_box), "P OFF");
        EXPECT_FALSE(m_printer.PrintOn());
        ASSERT_EQ(m_box.shown.size(), 1u);
        EXPECT_EQ(m_box.shown[0].text, row.text);
        EXPECT_EQ(m_box.shown[0].icon, BoxIcon::Exclamation);
        if (row.id == 1) {
            EXPECT_EQ(m_box.shown[0].title, "LPT1 Printer Error");
        }
        EXPECT_EQ(m_printerId, row.idAfter);
    }
}

}  // namespace
}  // namespace dovrel
