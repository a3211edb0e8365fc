// Time and date texts of separator lines, timestamps and the "Time" panel.
#include "clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace dovrel {
namespace {

TEST(ClockTest, TimeAndDateTexts) {
    const LocalTime t{0, 2026, 12, 5, 14, 2, 33};
    EXPECT_EQ(FormatTime(t), "14:02:33");
    EXPECT_EQ(FormatDate(t), "05/12/2026");
    const LocalTime midnight{0, 2009, 1, 2, 0, 0, 0};
    EXPECT_EQ(FormatTime(midnight), "00:00:00");
    EXPECT_EQ(FormatDate(midnight), "02/01/2009");
}

TEST(ClockTest, ElapsedTimeWrapsAfterADay) {
    EXPECT_EQ(FormatElapsed(0), "00:00:00");
    EXPECT_EQ(FormatElapsed(3725), "01:02:05");
    EXPECT_EQ(FormatElapsed(24 * 3600 - 1), "23:59:59");
    EXPECT_EQ(FormatElapsed(24 * 3600 + 61), "00:01:01");
    EXPECT_EQ(FormatElapsed(-5), "00:00:00");  // a clock set back
}

TEST(ClockTest, LocalTimeFollowsTheTimeZone) {
    const char* old = std::getenv("TZ");
    const std::string keep = old ? old : "";
    setenv("TZ", "UTC", 1);
    tzset();
    const LocalTime t = LocalTimeOf(1764943353);  // 2025-12-05 14:02:33 UTC
    EXPECT_EQ(t.year, 2025);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 5);
    EXPECT_EQ(FormatTime(t), "14:02:33");
    if (old)
        setenv("TZ", keep.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    const LocalTime now = SystemClock().Now();
    EXPECT_GE(now.year, 2024);
}

}  // namespace
}  // namespace dovrel
