#pragma once

#include "protocol/MessageCatalogue.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// "C", "F", "mV", "Ohm".
std::string_view UnitSymbol(protocol::ReadingUnit unit);

// What a reading poll asks for: temperatures, the raw signal of the inputs (millivolts on a
// thermocouple instrument, resistance on a resistance one), or the lead resistance.
enum class ReadingKind { Temperature, RawSignal, LeadResistance };

// The reading poll of that kind for the instrument's inputs (unset until it has reported them):
// 'T', 'M', 'R', 'r', or nothing for the lead resistance of a thermocouple instrument.
std::optional<char> ReadingPoll(ReadingKind kind, std::optional<protocol::InputFamily> inputs);

// The channel's value, when its text is a number (ParseFloat).
std::optional<double> ReadingValue(const protocol::Readings& readings, int channel);

// A line of the PC data log without its line end: the time stamp, then ";" and the value of
// each reading text, cold junction first, with four decimals and that decimal separator; a text
// that is not a number is logged as 0 (TextToFloat).
std::string PcLogLine(std::string_view timeStamp,
                      const std::array<std::string, protocol::kReadingChannels>& texts,
                      char decimalSeparator);
