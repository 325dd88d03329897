#include "NumberText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Length of the number at the start of text by the grammar of TextToFloat, or 0.
std::size_t MatchNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        std::size_t exponentDigits = 0;
        while (j < text.size() && IsDigit(text[j])) {
            ++j;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return 0;
        }
        i = j;
    }
    return i;
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
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%*.*f", width, decimals, value);
    return buffer;
}

std::string FixedWithTenDigits(double value, int decimals) {
    constexpr int kSignificant = 10;
    if (!std::isfinite(value)) {
        value = 0.0;
    }
    // Round to ten significant digits first, as the data files always have.
    char scientific[64];
    std::snprintf(scientific, sizeof scientific, "%.*e", kSignificant - 1, value);
    const double rounded = std::strtod(scientific, nullptr);
    if (std::fabs(rounded) >= 1e10) {
        const char* exponent = std::strchr(scientific, 'e');
        const int power = std::atoi(exponent + 1);
        char buffer[96];
        std::snprintf(buffer, sizeof buffer, "%.*sE%c%0*d", static_cast<int>(exponent - scientific),
                      scientific, power < 0 ? '-' : '+', decimals, std::abs(power));
        return buffer;
    }
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, rounded);
    std::string text = buffer;
    // A value that rounds to zero is written without a sign.
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}
