// Local clock readings and the time and date formats of the terminal's texts.
#include "clock.h"

#include <cstdio>
#include <ctime>

namespace dovrel {

LocalTime LocalTimeOf(std::int64_t epochSeconds) {
    const std::time_t t = static_cast<std::time_t>(epochSeconds);
    std::tm tm{};
    LocalTime out;
    out.epochSeconds = epochSeconds;
    if (localtime_r(&t, &tm) == nullptr) return out;
    out.year = tm.tm_year + 1900;
    out.month = tm.tm_mon + 1;
    out.day = tm.tm_mday;
    out.hour = tm.tm_hour;
    out.minute = tm.tm_min;
    out.second = tm.tm_sec;
    return out;
}

LocalTime SystemClock::Now() const {
    return LocalTimeOf(static_cast<std::int64_t>(std::time(nullptr)));
}

std::string FormatTime(const LocalTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buf;
}

std::string FormatDate(const LocalTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", t.day, t.month, t.year);
    return buf;
}

std::string FormatElapsed(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;
    seconds %= 24 * 3600;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return buf;
}

}  // namespace dovrel
