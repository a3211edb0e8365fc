// Serial line panel texts and the click steps, the speed steps as a table.
#include "line_panels.h"

#include <gtest/gtest.h>

namespace dovrel {
namespace {

TEST(LinePanels, TextsForEveryCodeAndNothingOutside) {
    std::string texts;
    for (int code = -1; code <= 5; ++code) texts += ParityText(code) + ",";
    for (int code = 0; code <= 3; ++code) texts += StopText(code) + ",";
    for (int code : {0, 5, 6, 7, 8}) texts += CodeText(code) + ",";
    EXPECT_EQ(texts, ",N,O,E,M,S,,1,1.5,2,,,TELEX,,ASCII7,ASCII8,");
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

TEST(LinePanels, ModeParityAndStopsCycle) {
    std::string steps;
    for (int bits : {5, 7, 8, 6}) steps += std::to_string(NextDataBits(bits)) + ",";
    for (int parity : {0, 1, 2, 3, 4, 9}) steps += std::to_string(NextParity(parity)) + ",";
    for (int stop : {0, 1, 2, 7}) steps += std::to_string(NextStop(stop)) + ",";
    EXPECT_EQ(steps, "7,8,5,6,1,2,3,4,0,9,1,2,0,7,");
}

}  // namespace
}  // namespace dovrel
