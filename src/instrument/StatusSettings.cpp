#include "StatusSettings.h"

#include "protocol/MessageCatalogue.h"
#include "protocol/RequestBuilders.h"

namespace {

std::string HexByte(int value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[value >> 4 & 0xF], kDigits[value & 0xF]};
}

int WithBit(int flags, int mask, std::optional<bool> on) {
    if (!on) {
        return flags;
    }
    return *on ? flags | mask : flags & ~mask;
}

// The flag settings of a change, each with its bit and its name.
struct FlagSetting {
    std::optional<bool> StatusChange::*setting;
    int mask;
    const char* name;
};
constexpr FlagSetting kFlagSettings[] = {
    {&StatusChange::fahrenheit, protocol::SystemFlag::kFahrenheit, "unit"},
    {&StatusChange::beep, protocol::SystemFlag::kAudible, "beep"},
    {&StatusChange::autoscan, protocol::SystemFlag::kAutoscan, "autoscan"},
    {&StatusChange::logging, protocol::SystemFlag::kLogging, "logging"},
};

bool ClockTaken(const LocalTime& sent, const protocol::InstrumentStatus& readBack) {
    const std::optional<LocalTime> held = ReadInstrumentClock(readBack.date, readBack.time);
    const std::int64_t later = held ? SecondsOf(*held) - SecondsOf(sent) : -1;
    return later >= 0 && later <= kClockSlackSeconds;
}

} // namespace

std::string StatusRequestFor(const protocol::InstrumentStatus& status, const StatusChange& change,
                             int secondsSinceRead) {
    protocol::StatusRequestTexts texts{status.date, status.time, {}, {}, {}};
    std::optional<LocalTime> clock = change.clock;
    if (!clock) {
        if (const auto held = ReadInstrumentClock(status.date, status.time)) {
            clock = FromSeconds(SecondsOf(*held) + secondsSinceRead);
        }
    }
    if (clock) {
        texts.date = InstrumentDateText(*clock);
        texts.time = InstrumentTimeText(*clock);
    }
    int flags = status.flags;
    for (const FlagSetting& flag : kFlagSettings) {
        flags = WithBit(flags, flag.mask, change.*flag.setting);
    }
    texts.systemFlag = HexByte(flags);
    texts.autoscanInterval =
        std::to_string(change.autoscanInterval.value_or(status.autoscanInterval));
    texts.loggingInterval = std::to_string(change.loggingInterval.value_or(status.loggingInterval));
    return protocol::StatusRequest(texts);
}

std::vector<std::string> NotTaken(const StatusChange& change,
                                  const protocol::InstrumentStatus& readBack) {
    std::vector<std::string> missed;
    if (change.clock && !ClockTaken(*change.clock, readBack)) {
        missed.emplace_back("clock");
    }
    for (const FlagSetting& flag : kFlagSettings) {
        const std::optional<bool>& wanted = change.*flag.setting;
        if (wanted && *wanted != readBack.Flag(flag.mask)) {
            missed.emplace_back(flag.name);
        }
    }
    if (change.autoscanInterval && *change.autoscanInterval != readBack.autoscanInterval) {
        missed.emplace_back("scan interval");
    }
    if (change.loggingInterval && *change.loggingInterval != readBack.loggingInterval) {
        missed.emplace_back("log interval");
    }
    return missed;
}
