// Serial line panel texts and the click steps, the speed steps as a table.
#include "line_panels.h"

#include <gtest/gtest.h>

namespace dovrel {
namespace {

TEST(LinePanels, TextsForEveryCodeAndNothingOutside) {
    EXPECT_EQ(ParityText(0), "N");
    EXPECT_EQ(ParityText(1), "O");
    EXPECT_EQ(ParityText(2), "E");
    EXPECT_EQ(ParityText(3), "M");
    EXPECT_EQ(ParityText(4), "S");
    EXPECT_EQ(ParityText(5), "");
    EXPECT_EQ(ParityText(-1), "");
    EXPECT_EQ(StopText(0), "1");
    EXPECT_EQ(StopText(1), "1.5");
    EXPECT_EQ(StopText(2), "2");
    EXPECT_EQ(StopText(3), "");
    EXPECT_EQ(CodeText(5), "TELEX");
    EXPECT_EQ(CodeText(7), "ASCII7");
    EXPECT_EQ(CodeText(8), "ASCII8");
    EXPECT_EQ(CodeText(6), "");
    EXPECT_EQ(CodeText(0), "");
}

TEST(LinePanels, PortPanelShowsTheDeviceName) {
    LineSettings s;
    s.Port = 2;
    EXPECT_EQ(PortPanelText(s), "ttyS1");
    s.PortName = "/dev/ttyUSB0";
    EXPECT_EQ(PortPanelText(s), "ttyUSB0");
    s.PortName = "/dev/pts/7";
    EXPECT_EQ(PortPanelText(s), "pts/7");
    s.PortName.clear();
    s.Port = 0;
    EXPECT_EQ(PortPanelText(s), "");
}

struct BaudRow {
    std::int32_t current, leftOff, leftOn, rightOff, rightOn;
};

TEST(LinePanels, SpeedSteps) {
    const BaudRow rows[] = {
        {45, 50, 50, 300, 300},    {50, 75, 75, 45, 45},      {75, 100, 100, 50, 50},
        {100, 110, 110, 75, 75},   {110, 300, 135, 100, 100}, {135, 300, 150, 110, 110},
        {150, 300, 200, 110, 135}, {200, 300, 300, 110, 150}, {300, 45, 600, 110, 200},
        {600, 45, 1200, 300, 300}, {1200, 45, 45, 300, 600},  {9600, 9600, 9600, 9600, 9600},
        {0, 0, 0, 0, 0},           {-50, -50, -50, -50, -50},
    };
    for (const BaudRow& r : rows) {
        EXPECT_EQ(NextBaud(r.current, PanelButton::Left, false), r.leftOff) << r.current;
        EXPECT_EQ(NextBaud(r.current, PanelButton::Left, true), r.leftOn) << r.current;
        EXPECT_EQ(NextBaud(r.current, PanelButton::Right, false), r.rightOff) << r.current;
        EXPECT_EQ(NextBaud(r.current, PanelButton::Right, true), r.rightOn) << r.current;
    }
}

TEST(LinePanels, LeftClicksWithoutNonStandardSpeedsCycleThroughTheStandardOnes) {
    std::int32_t baud = 45;
    std::string seen;
    for (int i = 0; i < 6; ++i) {
        baud = NextBaud(baud, PanelButton::Left, false);
        seen += std::to_string(baud) + " ";
    }
    EXPECT_EQ(seen, "50 75 100 110 300 45 ");
}

TEST(LinePanels, ModeParityAndStopsCycle) {
    EXPECT_EQ(NextDataBits(5), 7);
    EXPECT_EQ(NextDataBits(7), 8);
    EXPECT_EQ(NextDataBits(8), 5);
    EXPECT_EQ(NextDataBits(6), 6);
    for (std::uint8_t p = 0; p < 4; ++p) EXPECT_EQ(NextParity(p), p + 1);
    EXPECT_EQ(NextParity(4), 0);
    EXPECT_EQ(NextParity(9), 9);
    EXPECT_EQ(NextStop(0), 1);
    EXPECT_EQ(NextStop(1), 2);
    EXPECT_EQ(NextStop(2), 0);
    EXPECT_EQ(NextStop(7), 7);
}

}  // namespace
}  // namespace dovrel
