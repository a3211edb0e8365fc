// The clock seam: local time for timestamps, separator lines and log names,
// and the periodic status timer. The program uses the system clock and a
// window timer; tests drive fakes.
#pragma once

#include <cstdint>
#include <string>

namespace dovrel {

// One reading of the local clock.
struct LocalTime {
    std::int64_t epochSeconds = 0;  // seconds since 1970-01-01 UTC
    int year = 1970;                // four digits
    int month = 1;                  // 1..12
    int day = 1;                    // 1..31
    int hour = 0;                   // 0..23
    int minute = 0;
    int second = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
};

// The system's local time (localtime_r, so TZ applies).
class SystemClock : public Clock {
  public:
    LocalTime Now() const override;
};

// The local time of `epochSeconds` as the system clock would report it.
LocalTime LocalTimeOf(std::int64_t epochSeconds);

// The periodic timer that drives the status work while the line is connected.
// The owner calls the tick handler once per interval after Start().
class TickTimer {
  public:
    virtual ~TickTimer() = default;
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
};

// The time and date formats of this system's texts: "14:02:33" and
// "05/12/2026" (day/month/year, 24-hour clock).
std::string FormatTime(const LocalTime& t);
std::string FormatDate(const LocalTime& t);
// Elapsed seconds as "hh:nn:ss", wrapping after 24 hours; negative counts as 0.
std::string FormatElapsed(std::int64_t seconds);

}  // namespace dovrel
