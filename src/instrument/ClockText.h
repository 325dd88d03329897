#pragma once

#include "base/LocalClock.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The PC's local time at that moment.
LocalTime ToLocalTime(std::chrono::system_clock::time_point moment);

// YYYYMMDDhhmmss: the stamp in the name of every file the program writes.
std::string DateTimeStamp(const LocalTime& time);

// ISO 8601 with the offset from UTC: "2026-12-07T14:05:09+01:00".
std::string Iso8601Text(const LocalTime& time);

// The instrument's clock texts: "dd/mm/yy" and "hh:mm:ss" (24-hour).
std::string InstrumentDateText(const LocalTime& time);
std::string InstrumentTimeText(const LocalTime& time);
// The time stamp of a PC log line, "dd.mm.yy hh:mm:ss", with that time separator.
std::string PcLogTimeStamp(const LocalTime& time, char timeSeparator);
// The clock those texts give, when the date is a real day of 2000 to 2099 and the time a real
// 24-hour time, each eight characters with its digit pairs at 1-2, 4-5 and 7-8.
std::optional<LocalTime> ReadInstrumentClock(std::string_view date, std::string_view time);

// Whole seconds on one time line (the offset ignored), for arithmetic on clock readings.
std::int64_t SecondsOf(const LocalTime& time);
LocalTime FromSeconds(std::int64_t seconds);
