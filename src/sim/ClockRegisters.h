#pragma once

#include "sim/CivilTime.h"

#include <optional>
#include <string>
#include <string_view>

namespace sim {

// The clock chip's time-keeping registers 00 to 06 (seconds, minutes, hours, week day, date,
// month, year), each a BCD byte shown as two hex digits: 14 characters.
std::string ClockRegisterText(const CivilTime& time);

// The time those 14 characters set, when they are valid BCD of a real date and time.
std::optional<CivilTime> ClockFromRegisterText(std::string_view text);

} // namespace sim
