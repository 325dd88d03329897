#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace sim {

// A date and time as the instrument's clock holds it: no time zone, whole fields.
struct CivilTime {
    int year = 2000; // full year, 2000 to 2099 for the two-digit fields
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const CivilTime&) const = default;
};

// Whole seconds on the instrument's own time line, for arithmetic.
std::int64_t ToSeconds(const CivilTime& time);
CivilTime FromSeconds(std::int64_t seconds);
// The whole second that a millisecond count falls in, before the epoch too.
CivilTime FromMilliseconds(std::int64_t milliseconds);

// The fields when they form a real date and time in 2000-2099, nothing otherwise.
std::optional<CivilTime> MakeCivilTime(int year, int month, int day, int hour, int minute,
                                       int second);

// 1 Sunday to 7 Saturday, as the clock chip counts week days.
int DayOfWeek(const CivilTime& time);

// The wall clock as the local date and time of this computer.
CivilTime LocalCivilTime(std::chrono::system_clock::time_point when);

} // namespace sim
