#include "sim/CivilTime.h"

#include "base/LocalClock.h"

namespace sim {

namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

} // namespace

std::int64_t ToSeconds(const CivilTime& time) {
    const year_month_day date{std::chrono::year{time.year},
                              std::chrono::month{static_cast<unsigned>(time.month)},
                              std::chrono::day{static_cast<unsigned>(time.day)}};
    const std::int64_t day_number = sys_days{date}.time_since_epoch().count();
    return day_number * kSecondsPerDay + time.hour * 3600 + time.minute * 60 + time.second;
}

CivilTime FromSeconds(std::int64_t seconds) {
    const std::int64_t day_number = FloorDiv(seconds, kSecondsPerDay);
    const std::int64_t in_day = seconds - day_number * kSecondsPerDay;
    const year_month_day date{sys_days{days{day_number}}};
    return CivilTime{static_cast<int>(date.year()),
                     static_cast<int>(static_cast<unsigned>(date.month())),
                     static_cast<int>(static_cast<unsigned>(date.day())),
                     static_cast<int>(in_day / 3600),
                     static_cast<int>(in_day / 60 % 60),
                     static_cast<int>(in_day % 60)};
}

CivilTime FromMilliseconds(std::int64_t milliseconds) {
    return FromSeconds(FloorDiv(milliseconds, 1000));
}

std::optional<CivilTime> MakeCivilTime(int year, int month, int day, int hour, int minute,
                                       int second) {
    if (year < 2000 || year > 2099 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        return std::nullopt;
    }
    const year_month_day date{std::chrono::year{year},
                              std::chrono::month{static_cast<unsigned>(month)},
                              std::chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok()) {
        return std::nullopt;
    }
    return CivilTime{year, month, day, hour, minute, second};
}

int DayOfWeek(const CivilTime& time) {
    const std::chrono::weekday weekday{sys_days{days{FloorDiv(ToSeconds(time), kSecondsPerDay)}}};
    return static_cast<int>(weekday.c_encoding()) + 1;
}

CivilTime LocalCivilTime(std::chrono::system_clock::time_point when) {
    const LocalTime local = LocalClockAt(std::chrono::system_clock::to_time_t(when));
    return CivilTime{local.year, local.month, local.day, local.hour, local.minute, local.second};
}

} // namespace sim
