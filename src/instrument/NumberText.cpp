#include "NumberText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::size_t SkipDigits(std::string_view text, std::size_t i, std::size_t& digits) {
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    return i;
}

std::size_t SkipSign(std::string_view text, std::size_t i) {
    return i < text.size() && (text[i] == '+' || text[i] == '-') ? i + 1 : i;
}

// Length of the number at the start of text by the grammar of TextToFloat, or 0.
std::size_t MatchNumber(std::string_view text) {
    std::size_t digits = 0;
    std::size_t i = SkipDigits(text, SkipSign(text, 0), digits);
    if (i < text.size() && text[i] == '.') {
        i = SkipDigits(text, i + 1, digits);
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t exponentDigits = 0;
        i = SkipDigits(text, SkipSign(text, i + 1), exponentDigits);
        if (exponentDigits == 0) {
            return 0;
        }
    }
    return i;
}

// The value with `precision` digits after the point, which is '.' whatever the C library's
// locale says.
std::string WithPoint(double value, std::chars_format format, int precision) {
    // Sign, every whole digit a double can have, point, decimals, and an exponent.
    std::string text(std::numeric_limits<double>::max_exponent10 + 8 + precision, '\0');
    const auto [end, error] =
        std::to_chars(text.data(), text.data() + text.size(), value, format, precision);
    text.resize(error == std::errc() ? static_cast<std::size_t>(end - text.data()) : 0);
    return text;
}

} // namespace

double TextToFloat(std::string_view text) {
    return ParseFloat(text).value_or(0.0);
}

std::optional<double> ParseFloat(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    if (text.empty() || MatchNumber(text) != text.size()) {
        return std::nullopt;
    }
    const bool negative = text.front() == '-';
    if (text.front() == '+' || text.front() == '-') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end != text.data() + text.size() || error != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::string FloatToFixed(double value, int width, int decimals) {
    std::string text = WithPoint(value, std::chars_format::fixed, decimals);
    if (static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

std::string FixedWithTenDigits(double value, int decimals) {
    constexpr int kSignificant = 10;
    if (!std::isfinite(value)) {
        value = 0.0;
    }
    // Round to ten significant digits first, as the data files always have.
    const std::string scientific =
        WithPoint(value, std::chars_format::scientific, kSignificant - 1);
    double rounded = 0.0;
    std::from_chars(scientific.data(), scientific.data() + scientific.size(), rounded);
    if (std::fabs(rounded) >= 1e10) {
        // d.dddddddddE, the exponent's sign, its digits padded with zeros to `decimals`.
        const std::size_t exponent = scientific.find('e');
        std::string digits = scientific.substr(exponent + 2);
        if (static_cast<int>(digits.size()) < decimals) {
            digits.insert(0, static_cast<std::size_t>(decimals) - digits.size(), '0');
        }
        return scientific.substr(0, exponent) + 'E' + scientific[exponent + 1] + digits;
    }
    std::string text = WithPoint(rounded, std::chars_format::fixed, decimals);
    // A value that rounds to zero is written without a sign.
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

std::string WithDecimalSeparator(std::string text, char separator) {
    std::replace(text.begin(), text.end(), '.', separator);
    return text;
}
