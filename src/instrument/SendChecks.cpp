#include "SendChecks.h"

#include "ClockText.h"
#include "protocol/PayloadNumbers.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kLowestFilterConstant = 2;
constexpr int kHighestFilterConstant = 25;

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

bool IsDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool IsTwoHexDigits(std::string_view text) {
    return text.size() == 2 && std::isxdigit(static_cast<unsigned char>(text[0])) != 0 &&
           std::isxdigit(static_cast<unsigned char>(text[1])) != 0;
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return text.substr(0, 0);
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A whole number with blanks around it allowed, when it lies in lowest..highest.
std::optional<int> WholeNumberIn(std::string_view text, int lowest, int highest) {
    const std::optional<int> value = protocol::ParseDecimal(Trimmed(text));
    if (!value || *value < lowest || *value > highest) {
        return std::nullopt;
    }
    return value;
}

Checked<int> NumberRefused(std::string_view field, std::string_view text, int lowest, int highest,
                           std::string_view unit) {
    return Checked<int>::Refused(std::string(field) + ": " + Quoted(text) +
                                 " is not a whole number" + std::string(unit) + " from " +
                                 std::to_string(lowest) + " to " + std::to_string(highest) + ".");
}

Checked<int> NumberIn(std::string_view field, std::string_view text, int lowest, int highest,
                      std::string_view unit) {
    if (const std::optional<int> value = WholeNumberIn(text, lowest, highest)) {
        return {value, {}};
    }
    return NumberRefused(field, text, lowest, highest, unit);
}

} // namespace

Checked<std::string> CheckDate(std::string_view text) {
    if (ReadInstrumentClock(text, "00:00:00")) {
        return {std::string(text), {}};
    }
    return Checked<std::string>::Refused("Date: " + Quoted(text) + " is not a date as dd/mm/yy.");
}

Checked<std::string> CheckTime(std::string_view text) {
    if (ReadInstrumentClock("01/01/00", text)) {
        return {std::string(text), {}};
    }
    return Checked<std::string>::Refused("Time: " + Quoted(text) +
                                         " is not a 24-hour time as hh:mm:ss.");
}

Checked<std::string> CheckSystemFlag(std::string_view text) {
    if (IsTwoHexDigits(text)) {
        return {std::string(text), {}};
    }
    return Checked<std::string>::Refused("System Flag: " + Quoted(text) +
                                         " is not two hexadecimal digits.");
}

Checked<int> CheckAutoscanInterval(std::string_view text) {
    return NumberIn("Auto Scan Interval", text, kShortestAutoscan, kLongestAutoscan, " of seconds");
}

Checked<int> CheckLoggingInterval(std::string_view text) {
    return NumberIn("Logging Interval", text, kShortestLogging, kLongestLogging, " of seconds");
}

Checked<std::string> CheckIntervalField(std::string_view field, std::string_view text,
                                        int highest) {
    std::string_view number = text.substr(std::min(text.find_first_not_of(' '), text.size()));
    if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
        number.remove_prefix(1);
    }
    if (!IsDigits(number) || WholeNumberIn(text, 0, highest)) {
        return {std::string(text), {}};
    }
    return Checked<std::string>::Refused(std::string(field) + ": " + std::string(Trimmed(text)) +
                                         " does not fit (0 to " + std::to_string(highest) +
                                         " seconds).");
}

std::optional<int> FirstBadRegister(const protocol::RegisterTexts& registers) {
    for (std::size_t i = 0; i < registers.size(); ++i) {
        if (!IsTwoHexDigits(registers[i])) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

std::string RegisterName(int registerNumber) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[registerNumber / 16 % 16], kDigits[registerNumber % 16]};
}

std::optional<int> FilterConstantValue(std::string_view text) {
    // Digits only (no sign), never more than its two-character field holds.
    const std::string_view digits = Trimmed(text);
    if (!IsDigits(digits) || digits.size() > 2) {
        return std::nullopt;
    }
    return WholeNumberIn(digits, kLowestFilterConstant, kHighestFilterConstant);
}
