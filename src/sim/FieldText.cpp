#include "sim/FieldText.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace sim {

namespace {

// The value with `places` decimals, written by std::to_chars, which never looks at the C
// library's locale: a reply holds '.' as the point however the process was started. Nothing
// when it is wider than `width`.
std::optional<std::string> RightAligned(double value, int width, int places) {
    char text[64];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, places);
    const auto length = end - text;
    if (error != std::errc() || length > width) {
        return std::nullopt;
    }
    return std::string(static_cast<std::size_t>(width - length), ' ') + std::string(text, end);
}

} // namespace

std::string FitField(double value, int width, int decimals) {
    if (std::isfinite(value)) {
        for (int places = decimals; places >= 0; --places) {
            const double half_step = 0.5 * std::pow(10.0, -places);
            const double shown = std::fabs(value) < half_step ? 0.0 : value;
            if (auto text = RightAligned(shown, width, places)) {
                return *text;
            }
        }
    }
    const std::string over = "OVER";
    return std::string(width > 4 ? width - 4 : 0, ' ') + over.substr(0, width);
}

std::string ZeroPadded(std::int64_t value, int width) {
    const std::string digits = std::string(width, '0') + std::to_string(value);
    return digits.substr(digits.size() - width);
}

std::string Hex(std::uint64_t value, int width) {
    char text[32];
    std::string digits(text, std::to_chars(text, text + sizeof text, value, 16).ptr);
    std::transform(digits.begin(), digits.end(), digits.begin(),
                   [](char c) { return static_cast<char>(std::toupper(c)); });
    if (static_cast<int>(digits.size()) < width) {
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    }
    return digits;
}

std::string FloatAsLittleEndianHex(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    std::string text;
    for (int byte = 0; byte < 4; ++byte) {
        text += Hex((bits >> (8 * byte)) & 0xFF, 2);
    }
    return text;
}

namespace {

std::string_view WithoutLeadingBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    return text;
}

// strtoll and friends on a private copy, accepted only when they used every character.
template <typename Number, typename Convert>
std::optional<Number> ParseWhole(std::string_view text, Convert convert) {
    const std::string copy(WithoutLeadingBlanks(text));
    if (copy.empty() || std::isspace(static_cast<unsigned char>(copy.front()))) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const Number number = convert(copy.c_str(), &end);
    if (errno != 0 || end != copy.c_str() + copy.size()) {
        return std::nullopt;
    }
    return number;
}

} // namespace

std::optional<std::int64_t> ParseDecimal(std::string_view text) {
    return ParseWhole<std::int64_t>(
        text, [](const char* s, char** end) { return std::strtoll(s, end, 10); });
}

std::optional<std::uint64_t> ParseHex(std::string_view text) {
    const auto trimmed = WithoutLeadingBlanks(text);
    if (trimmed.empty() || trimmed.find_first_not_of("0123456789abcdefABCDEF") != trimmed.npos) {
        return std::nullopt;
    }
    return ParseWhole<std::uint64_t>(
        trimmed, [](const char* s, char** end) { return std::strtoull(s, end, 16); });
}

std::optional<double> ParseNumber(std::string_view text) {
    auto trimmed = WithoutLeadingBlanks(text);
    // Only plain decimal notation with '.': no hex floats, no "inf" or "nan" from the line.
    if (trimmed.find_first_not_of("0123456789+-.eE") != trimmed.npos) {
        return std::nullopt;
    }
    if (trimmed.starts_with('+') && !trimmed.starts_with("+-")) {
        trimmed.remove_prefix(1);
    }
    double number = 0.0;
    const auto [end, error] =
        std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), number);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size() ||
        !std::isfinite(number)) {
        return std::nullopt;
    }
    return number;
}

std::string HexDump(std::string_view bytes) {
    std::string text;
    for (const char byte : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += Hex(static_cast<unsigned char>(byte), 2);
    }
    return text;
}

std::string ReadableText(std::string_view bytes) {
    static const char* const names[] = {"<NUL>", "<SOH>", "<STX>", "<ETX>",
                                        "<EOT>", "<ENQ>", "<ACK>"};
    std::string text;
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < 7) {
            text += names[code];
        } else if (code < 0x20 || code == 0x7F) {
            text += "\\x" + Hex(code, 2);
        } else {
            text += byte;
        }
    }
    return text;
}

} // namespace sim
