#include "sim/ClockRegisters.h"

#include "sim/FieldText.h"

#include <array>

namespace sim {

namespace {

std::string Bcd(int value) {
    return ZeroPadded(value, 2);
}

std::optional<int> FromBcd(std::string_view pair) {
    if (pair.size() != 2 || pair[0] < '0' || pair[0] > '9' || pair[1] < '0' || pair[1] > '9') {
        return std::nullopt;
    }
    return (pair[0] - '0') * 10 + (pair[1] - '0');
}

} // namespace

std::string ClockRegisterText(const CivilTime& time) {
    return Bcd(time.second) + Bcd(time.minute) + Bcd(time.hour) + Bcd(DayOfWeek(time)) +
           Bcd(time.day) + Bcd(time.month) + Bcd(time.year % 100);
}

std::optional<CivilTime> ClockFromRegisterText(std::string_view text) {
    if (text.size() != 14) {
        return std::nullopt;
    }
    std::array<int, 7> fields{};
    for (std::size_t index = 0; index < fields.size(); ++index) {
        const auto field = FromBcd(text.substr(2 * index, 2));
        if (!field) {
            return std::nullopt;
        }
        fields[index] = *field;
    }
    // The week day (register 03) follows from the date and is not taken from the write.
    return MakeCivilTime(2000 + fields[6], fields[5], fields[4], fields[2], fields[1], fields[0]);
}

} // namespace sim
