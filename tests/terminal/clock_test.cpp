// Time and date texts of separator lines, timestamps and the "Time" panel.
#include "clock.h"

#include <gtest/gtest.h>

#include <ctime>

#include "temp_dir.h"

namespace dovrel {
namespace {

// Elapsed time wraps after a day; a clock set back shows nothing elapsed.
TEST(ClockTest, ElapsedTimeWrapsAfterADay) {
    EXPECT_EQ(FormatElapsed(24 * 3600 - 1), "23:59:59");
    EXPECT_EQ(FormatElapsed(24 * 3600 + 61), "00:01:01");
    EXPECT_EQ(FormatElapsed(-5), "00:00:00");
}

TEST(ClockTest, LocalTimeFollowsTheTimeZone) {
    {
        const testing::ScopedEnv tz("TZ", "UTC");
        tzset();
        const LocalTime t = LocalTimeOf(1764943353);  // 2025-12-05 14:02:33 UTC
        EXPECT_EQ(FormatDate(t) + " " + FormatTime(t), "05/12/2025 14:02:33");
        EXPECT_EQ(FormatDate(LocalTimeOf(1230937440)) + " " + FormatTime(LocalTimeOf(1230937440)),
                  "02/01/2009 23:04:00");  // numbers padded
    }
    tzset();
    EXPECT_GE(SystemClock().Now().year, 2024);
}

}  // namespace
}  // namespace dovrel
