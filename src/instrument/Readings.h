#pragma once

#include "protocol/MessageCatalogue.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// "C", "F", "mV", "Ohm".
std::string_view UnitSymbol(ReadingUnit unit);

// The poll of the readings: 'T' for temperatures; for the signals, 'M' (millivolts) on a
// thermocouple instrument and 'R' (resistance) on a resistance one.
char ReadingPoll(InputFamily inputs, bool rawSignals);

inline constexpr int kReadingChannels = 9; // the cold junction (0) and channels 1 to 8

// One reading reply: the text of each channel as received, eight characters; the cold
// junction's is empty in the resistance replies, which do not carry it.
struct Readings {
    ReadingUnit unit = ReadingUnit::Celsius;
    std::array<std::string, kReadingChannels> texts;
    bool hasColdJunction = true;

    // The channel's value, when its text is a number (ParseFloat).
    std::optional<double> Value(int channel) const;
};

// The readings of a 'T', 'M', 'R' or 'r' reply; nothing for any other reply, and for a 'T'
// reply whose unit flags do not read.
std::optional<Readings> ReadReadings(std::string_view payload);

// A line of the PC data log without its line end: the time stamp, then ";" and the value of
// each reading text, cold junction first, with four decimals and that decimal separator; a text
// that is not a number is logged as 0 (TextToFloat).
std::string PcLogLine(std::string_view timeStamp,
                      const std::array<std::string, kReadingChannels>& texts,
                      char decimalSeparator);
