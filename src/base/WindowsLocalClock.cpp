#include "LocalClock.h"

#include <chrono>
#include <cstdint>

// The C runtime here has no offset field: the offset is the local fields read as UTC minus the
// moment itself.
LocalTime LocalClockAt(std::time_t moment) {
    std::tm local{};
    localtime_s(&local, &moment);
    const std::chrono::sys_days date{std::chrono::year{local.tm_year + 1900} / (local.tm_mon + 1) /
                                     local.tm_mday};
    const std::int64_t asUtc = std::int64_t{date.time_since_epoch().count()} * 86400 +
                               local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return {local.tm_year + 1900,
            local.tm_mon + 1,
            local.tm_mday,
            local.tm_hour,
            local.tm_min,
            local.tm_sec,
            static_cast<int>(asUtc - moment)};
}
