#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The days of the dates last read, so that the lines of one day, which share their date, work
// it out once.
struct DayCache {
    std::array<char, 8> date{};
    std::int64_t seconds = -1; // at midnight; below 0 while nothing is held
};

// Reads the fields of one line of a logged file from left to right, without copying the line.
class LineFields {
public:
    LineFields(std::string_view line, char decimalSeparator)
        : at_(line.data()), end_(line.data() + line.size()), separator_(decimalSeparator) {}

    bool AtEnd() const { return at_ == end_; }
    // The character, passed over.
    bool Take(char expected);
    // One or more digits, passed over.
    bool SkipDigits();

    // A value up to the next ';' or the end of the line: an optional '-', then a number that
    // starts with a digit, with '.' or the decimal separator as its point and an optional
    // exponent. One too large for a float reads as an infinity.
    bool Value(float& value);
    // Values joined by ';'.
    bool Values(std::span<float> values);

    // "dd?mm?yy hh?mm?ss", the date separator given and the time separator, not a digit, the
    // same twice (and the one given, if any): whole seconds on one time line (SecondsOf), for a
    // real day of 2000 to 2099 and a real 24-hour time.
    std::optional<std::int64_t> TimeStamp(char dateSeparator, std::optional<char> timeSeparator,
                                          DayCache& days);

private:
    // A number text that is not the plain digits and point the files mostly hold.
    bool UncommonValue(const char* first, const char* last, float& value) const;

    const char* at_;
    const char* end_;
    char separator_;
};
