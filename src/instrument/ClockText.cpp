#include "ClockText.h"

#include <array>
#include <cstdlib>

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::string TwoDigits(int value) {
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, LocalTime& time) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    time.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    time.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
}

// The numbers of the digit pairs at 1-2, 4-5 and 7-8 of an eight-character text.
std::optional<std::array<int, 3>> DigitPairs(std::string_view text) {
    if (text.size() != 8) {
        return std::nullopt;
    }
    std::array<int, 3> pairs{};
    for (std::size_t i = 0; i < 3; ++i) {
        const char tens = text[3 * i];
        const char units = text[3 * i + 1];
        if (tens < '0' || tens > '9' || units < '0' || units > '9') {
            return std::nullopt;
        }
        pairs[i] = (tens - '0') * 10 + (units - '0');
    }
    return pairs;
}

} // namespace

LocalTime ToLocalTime(std::chrono::system_clock::time_point moment) {
    return LocalClockAt(std::chrono::system_clock::to_time_t(moment));
}

std::string DateTimeStamp(const LocalTime& time) {
    return std::to_string(time.year) + TwoDigits(time.month) + TwoDigits(time.day) +
           TwoDigits(time.hour) + TwoDigits(time.minute) + TwoDigits(time.second);
}

std::string InstrumentDateText(const LocalTime& time) {
    return TwoDigits(time.day) + "/" + TwoDigits(time.month) + "/" + TwoDigits(time.year % 100);
}

std::string InstrumentTimeText(const LocalTime& time) {
    return TwoDigits(time.hour) + ":" + TwoDigits(time.minute) + ":" + TwoDigits(time.second);
}

std::string PcLogTimeStamp(const LocalTime& time, char timeSeparator) {
    return TwoDigits(time.day) + "." + TwoDigits(time.month) + "." + TwoDigits(time.year % 100) +
           " " + TwoDigits(time.hour) + timeSeparator + TwoDigits(time.minute) + timeSeparator +
           TwoDigits(time.second);
}

std::string Iso8601Text(const LocalTime& time) {
    const int offsetMinutes = std::abs(time.utcOffsetSeconds) / 60;
    return std::to_string(time.year) + "-" + TwoDigits(time.month) + "-" + TwoDigits(time.day) +
           "T" + TwoDigits(time.hour) + ":" + TwoDigits(time.minute) + ":" +
           TwoDigits(time.second) + (time.utcOffsetSeconds < 0 ? "-" : "+") +
           TwoDigits(offsetMinutes / 60) + ":" + TwoDigits(offsetMinutes % 60);
}

std::optional<LocalTime> ReadInstrumentClock(std::string_view date, std::string_view time) {
    const auto day = DigitPairs(date);
    const auto clock = DigitPairs(time);
    if (!day || !clock || (*clock)[0] > 23 || (*clock)[1] > 59 || (*clock)[2] > 59) {
        return std::nullopt;
    }
    const LocalTime reading{2000 + (*day)[2], (*day)[1],   (*day)[0],
                            (*clock)[0],      (*clock)[1], (*clock)[2]};
    // A day that does not exist comes back from the round trip as another one.
    const LocalTime roundTrip = FromSeconds(SecondsOf(reading));
    if (reading.month < 1 || reading.month > 12 || roundTrip.day != reading.day ||
        roundTrip.month != reading.month) {
        return std::nullopt;
    }
    return reading;
}

std::int64_t SecondsOf(const LocalTime& time) {
    return DaysFromCivil(time.year, time.month, time.day) * kSecondsPerDay + time.hour * 3600 +
           time.minute * 60 + time.second;
}

LocalTime FromSeconds(std::int64_t seconds) {
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    LocalTime time;
    CivilFromDays(days, time);
    time.hour = static_cast<int>(rest / 3600);
    time.minute = static_cast<int>(rest / 60 % 60);
    time.second = static_cast<int>(rest % 60);
    return time;
}
