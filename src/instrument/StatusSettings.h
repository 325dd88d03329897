#pragma once

#include "ClockText.h"
#include "protocol/MessageCatalogue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The settings to change; every other one goes back as the instrument reported it.
struct StatusChange {
    std::optional<LocalTime> clock;
    std::optional<bool> fahrenheit;
    std::optional<bool> beep;
    std::optional<bool> autoscan;
    std::optional<bool> logging;
    std::optional<int> autoscanInterval;
    std::optional<int> loggingInterval;
};

// The "S" request that writes the status back with only the changed settings changed. The
// clock, when it is not changed, goes back as the instrument's own clock moved on by the
// seconds since it was read (as it stood when it does not read as a clock). The flag bits
// without a setting of their own go back as reported.
std::string StatusRequestFor(const protocol::InstrumentStatus& status, const StatusChange& change,
                             int secondsSinceRead);

// A clock set counts as taken when the instrument reads at most this much later than was sent.
inline constexpr int kClockSlackSeconds = 10;

// The changed settings that a status read back after the request does not show, by the names
// the command-line tool gives them ("unit", "beep", "autoscan", "scan interval", "logging",
// "log interval", "clock"). A clock counts as taken when the instrument's reads from 0 to
// kClockSlackSeconds later than the one sent.
std::vector<std::string> NotTaken(const StatusChange& change,
                                  const protocol::InstrumentStatus& readBack);
