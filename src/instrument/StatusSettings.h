#pragma once

#include "ClockText.h"
#include "protocol/MessageCatalogue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The instrument-wide settings as a status reply reports them.
struct InstrumentStatus {
    std::string date; // "dd/mm/yy"
    std::string time; // "hh:mm:ss"
    int flags = 0;    // the system flag byte (SystemFlag bits)
    int autoscanInterval = 2;
    int recordCount = 0;
    int loggingInterval = 60;
    std::string modelName;
    Model model = Model::Unknown;
    std::string firmware;
    InputFamily inputs = InputFamily::Thermocouple;

    bool Flag(int mask) const { return (flags & mask) != 0; }
};

InstrumentStatus ReadStatus(std::string_view payload);

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
std::string StatusRequestFor(const InstrumentStatus& status, const StatusChange& change,
                             int secondsSinceRead);

// The changed settings that a status read back after the request does not show, by the names
// the command-line tool gives them ("unit", "beep", "autoscan", "scan interval", "logging",
// "log interval", "clock"). A clock counts as taken when the instrument's reads from 0 to
// `clockSlackSeconds` later than the one sent.
std::vector<std::string> NotTaken(const StatusChange& change, const InstrumentStatus& readBack,
                                  int clockSlackSeconds);
