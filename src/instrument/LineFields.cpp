#include "LineFields.h"

#include "ClockText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Longer than any number the files hold.
constexpr std::size_t kLongestValue = 32;
// Up to this many digits a number is exact in a double, and so is the power of ten that scales
// it, so their quotient is the double nearest the text.
constexpr int kExactDigits = 15;
constexpr std::array<double, kExactDigits + 1> kPowersOfTen{
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int TwoDigits(const char* text) {
    return IsDigit(text[0]) && IsDigit(text[1]) ? (text[0] - '0') * 10 + (text[1] - '0') : -1;
}

} // namespace

bool LineFields::Take(char expected) {
    if (at_ == end_ || *at_ != expected) {
        return false;
    }
    ++at_;
    return true;
}

bool LineFields::SkipDigits() {
    const char* start = at_;
    while (at_ != end_ && IsDigit(*at_)) {
        ++at_;
    }
    return at_ != start;
}

bool LineFields::Value(float& value) {
    const auto* fieldEnd =
        static_cast<const char*>(std::memchr(at_, ';', static_cast<std::size_t>(end_ - at_)));
    const char* first = at_;
    const char* last = fieldEnd == nullptr ? end_ : fieldEnd;
    at_ = last;
    const bool negative = first != last && *first == '-';
    const char* digit = negative ? first + 1 : first;
    // Digits first: from_chars would read "inf" and "nan" too, which the files never hold.
    if (digit == last || !IsDigit(*digit)) {
        return false;
    }
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = -1; // digits after the point, once there is one
    for (; digit != last && digits <= kExactDigits; ++digit) {
        if (IsDigit(*digit)) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*digit - '0');
            ++digits;
            decimals += decimals >= 0 ? 1 : 0;
        } else if ((*digit == '.' || *digit == separator_) && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    if (digit != last || digits > kExactDigits) {
        return UncommonValue(first, last, value);
    }
    const double magnitude = static_cast<double>(mantissa) /
                             kPowersOfTen[static_cast<std::size_t>(std::max(decimals, 0))];
    value = static_cast<float>(negative ? -magnitude : magnitude);
    return true;
}

bool LineFields::UncommonValue(const char* first, const char* last, float& value) const {
    char withPoint[kLongestValue];
    if (separator_ != '.' && std::find(first, last, separator_) != last) {
        if (last - first > static_cast<std::ptrdiff_t>(kLongestValue)) {
            return false;
        }
        std::replace_copy(first, last, withPoint, separator_, '.');
        last = withPoint + (last - first);
        first = withPoint;
    }
    double read = 0;
    const auto [stop, error] = std::from_chars(first, last, read);
    // A download writes the memory's pattern of exponent 255 as a number beyond any float: it
    // has no place on an axis, but the line's other channels do.
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    value = std::fabs(read) <= std::numeric_limits<float>::max() ? static_cast<float>(read)
            : read < 0                                           ? -kInfinity
                                                                 : kInfinity;
    return error == std::errc() && stop == last;
}

bool LineFields::Values(std::span<float> values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        if ((i > 0 && !Take(';')) || !Value(values[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::int64_t>
LineFields::TimeStamp(char dateSeparator, std::optional<char> timeSeparator, DayCache& days) {
    constexpr std::ptrdiff_t kLength = 17; // "dd/mm/yy hh:mm:ss"
    if (end_ - at_ < kLength) {
        return std::nullopt;
    }
    const char* date = at_;
    const char* time = at_ + 9;
    const char separator = time[2];
    if (date[2] != dateSeparator || date[5] != dateSeparator || date[8] != ' ' ||
        time[5] != separator || IsDigit(separator) ||
        (timeSeparator && separator != *timeSeparator)) {
        return std::nullopt;
    }
    const int hour = TwoDigits(time);
    const int minute = TwoDigits(time + 3);
    const int second = TwoDigits(time + 6);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        return std::nullopt;
    }
    if (days.seconds < 0 || !std::equal(days.date.begin(), days.date.end(), date)) {
        const auto midnight = ReadInstrumentClock(std::string_view(date, 8), "00:00:00");
        if (!midnight) {
            return std::nullopt;
        }
        std::copy(date, date + 8, days.date.begin());
        days.seconds = SecondsOf(*midnight);
    }
    at_ += kLength;
    return days.seconds + hour * 3600 + minute * 60 + second;
}
