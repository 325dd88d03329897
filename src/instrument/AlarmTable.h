#pragma once

#include "protocol/MessageCatalogue.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The eight alarm outputs of a V630 as the table file holds them ("OC" + stamp + ".txt").
namespace AlarmTable {

// Type codes 0 to 4 and polarity codes 0 and 1, with their names.
inline constexpr int kTypeOff = 0;
inline constexpr int kTypeOn = 1;
inline constexpr int kTypeHigh = 2;
inline constexpr int kTypeLow = 3;
inline constexpr int kTypeBand = 4;
const std::vector<std::string>& TypeNames();     // "OFF", "ON", "HIGH", "LOW", "BAND"
const std::vector<std::string>& PolarityNames(); // "Normal", "Inverted"

// Output n as the panel starts: OFF, input n, trigger value 20, band 1, hysteresis 1, Normal.
protocol::AlarmOutputSetting InitialSetting(int output);

// A line of the table file without its line end, 29 characters: output, type and input as two
// digits, the three numbers right-aligned in five characters, the polarity right-aligned in two
// characters padded with a blank, separated by commas.
std::string FileLine(const protocol::AlarmOutputSetting& setting);
// The setting a line holds (each field a decimal integer at its position, leading blanks
// allowed), or nothing when the line is too short or any field is not a number or out of its
// range (InRange).
std::optional<protocol::AlarmOutputSetting> ParseFileLine(std::string_view line);

struct FileContent {
    std::vector<protocol::AlarmOutputSetting> settings; // the good lines, in file order
    std::vector<int> skippedLines;                      // numbers (from 1) of the lines left out
};
// Every line of a table file checked whole; lines end with LF or CR LF, and an empty text after
// the last line end is no line.
FileContent ParseFile(std::string_view bytes);
// A table file is eight lines of 31 bytes: one much larger is no table file, and is not read
// (ReadBoundedFile).
inline constexpr std::size_t kLargestFile = 4096;

} // namespace AlarmTable
