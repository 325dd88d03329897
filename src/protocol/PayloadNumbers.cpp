#include "PayloadNumbers.h"

#include <limits>

namespace protocol {

namespace {

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// Reads digits of the given base from position i to the end; the magnitude must fit `limit`.
std::optional<long long> ReadMagnitude(std::string_view text, std::size_t i, int base,
                                       long long limit) {
    if (i >= text.size()) {
        return std::nullopt;
    }
    long long value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > limit) {
            return std::nullopt;
        }
    }
    return value;
}

std::size_t SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    return i;
}

// The field's text, or nothing when the payload ends before the field does.
std::optional<std::string_view> WholeField(std::string_view payload, std::size_t position,
                                           std::size_t width) {
    if (position < 1 || position - 1 > payload.size() || width > payload.size() - (position - 1)) {
        return std::nullopt;
    }
    return payload.substr(position - 1, width);
}

} // namespace

std::optional<int> ParseDecimal(std::string_view text) {
    std::size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const long long limit = negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                     : std::numeric_limits<int>::max();
    const auto magnitude = ReadMagnitude(text, i, 10, limit);
    if (!magnitude) {
        return std::nullopt;
    }
    return static_cast<int>(negative ? -*magnitude : *magnitude);
}

std::optional<int> ParseHex(std::string_view text) {
    const auto magnitude =
        ReadMagnitude(text, SkipBlanks(text), 16, std::numeric_limits<int>::max());
    if (!magnitude) {
        return std::nullopt;
    }
    return static_cast<int>(*magnitude);
}

namespace PayloadField {

std::string Text(std::string_view payload, std::size_t position, std::size_t width) {
    if (position < 1 || position - 1 >= payload.size()) {
        return {};
    }
    return std::string(payload.substr(position - 1, width));
}

std::optional<int> Decimal(std::string_view payload, std::size_t position, std::size_t width) {
    const auto field = WholeField(payload, position, width);
    return field ? ParseDecimal(*field) : std::nullopt;
}

std::optional<int> Hex(std::string_view payload, std::size_t position, std::size_t width) {
    const auto field = WholeField(payload, position, width);
    return field ? ParseHex(*field) : std::nullopt;
}

} // namespace PayloadField

} // namespace protocol
