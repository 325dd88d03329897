#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mqtt {

// One message for the broker; every message goes with QoS 1.
struct Message {
    std::string topic;
    std::string payload;
    bool retained = false;
};

// One channel as the instrument showed it: its text, and its value when the text is a number.
struct ChannelEntry {
    std::string text; // UTF-8; bytes that are not become U+FFFD in the payload
    std::optional<double> value;
};

// Channel 0 is the cold junction, 1 to 8 the inputs.
inline constexpr std::size_t kChannelCount = 9;

struct Reading {
    std::string time; // ISO-8601 with the offset, e.g. 2026-12-08T14:05:00+01:00
    std::string unit; // "C", "F", "mV" or "Ohm"
    std::array<ChannelEntry, kChannelCount> channels;
};

// What the instrument's status reply says about it.
struct InstrumentInfo {
    std::string model;
    std::string firmware;
    std::string unit;
};

// PREFIX/ID/channel/N for N = 0 to 8, each {"time", "value" (null when not a number), "unit",
// "text"}.
std::vector<Message> ReadingMessages(std::string_view prefix, std::string_view id,
                                     const Reading& reading);

// PREFIX/ID/info, retained: {"model", "firmware", "unit"}.
Message InfoMessage(std::string_view prefix, std::string_view id, const InstrumentInfo& info);

// PREFIX/ID/status, retained: "online" or "offline".
Message StatusMessage(std::string_view prefix, std::string_view id, bool online);

} // namespace mqtt
