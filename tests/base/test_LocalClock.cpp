#include "base/LocalClock.h"

#include <cstdlib>
#include <ctime>
#include <deque>
#include <gtest/gtest.h>
#include <string>

namespace {

// Sets the process's time zone as TZ gives it (the same notation on POSIX and in the C runtime
// of Windows), for the rest of this test program.
void SetZone(const char* setting) {
    static std::deque<std::string> kept; // putenv keeps the very text
    putenv(kept.emplace_back(setting).data());
    tzset();
}

bool operator==(const LocalTime& a, const LocalTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second && a.utcOffsetSeconds == b.utcOffsetSeconds;
}

} // namespace

// Zones without summer time, on both sides of UTC and across the date line.
TEST(LocalClock, FieldsAndOffsetFollowTheZone) {
    const std::time_t moment = 1796637302; // 2026-12-07 09:55:02 UTC
    const struct {
        const char* zone;
        LocalTime local;
    } cases[] = {
        {"TZ=UTC0", {2026, 12, 7, 9, 55, 2, 0}},
        {"TZ=XYZ-5", {2026, 12, 7, 14, 55, 2, 5 * 3600}},
        {"TZ=ABC+3:30", {2026, 12, 7, 6, 25, 2, -(3 * 3600 + 1800)}},
        {"TZ=XYZ-14", {2026, 12, 7, 23, 55, 2, 14 * 3600}},
        {"TZ=ABC+12", {2026, 12, 6, 21, 55, 2, -12 * 3600}},
    };
    for (const auto& c : cases) {
        SetZone(c.zone);
        EXPECT_TRUE(LocalClockAt(moment) == c.local) << c.zone;
    }
}
