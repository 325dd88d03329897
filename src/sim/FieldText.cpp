#include "sim/FieldText.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sim {

std::string FitField(double value, int width, int decimals) {
    if (std::isfinite(value)) {
        for (int places = decimals; places >= 0; --places) {
            const double half_step = 0.5 * std::pow(10.0, -places);
            const double shown = std::fabs(value) < half_step ? 0.0 : value;
            char text[64];
            const int length = std::snprintf(text, sizeof text, "%*.*f", width, places, shown);
            if (length > 0 && length <= width) {
                return text;
            }
        }
    }
    const std::string over = "OVER";
    return std::string(width > 4 ? width - 4 : 0, ' ') + over.substr(0, width);
}

std::string ZeroPadded(long value, int width) {
    const std::string digits = std::string(width, '0') + std::to_string(value);
    return digits.substr(digits.size() - width);
}

std::string Hex(unsigned long value, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*lX", width, value);
    return text;
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

// strtol and friends on a private copy, accepted only when they used every character.
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

std::optional<long> ParseDecimal(std::string_view text) {
    return ParseWhole<long>(text,
                            [](const char* s, char** end) { return std::strtol(s, end, 10); });
}

std::optional<unsigned long> ParseHex(std::string_view text) {
    const auto trimmed = WithoutLeadingBlanks(text);
    if (trimmed.empty() || trimmed.find_first_not_of("0123456789abcdefABCDEF") != trimmed.npos) {
        return std::nullopt;
    }
    return ParseWhole<unsigned long>(
        trimmed, [](const char* s, char** end) { return std::strtoul(s, end, 16); });
}

std::optional<double> ParseNumber(std::string_view text) {
    const auto trimmed = WithoutLeadingBlanks(text);
    // Only plain decimal notation: no hex floats, no "inf" or "nan" from the line.
    if (trimmed.find_first_not_of("0123456789+-.eE") != trimmed.npos) {
        return std::nullopt;
    }
    const auto number =
        ParseWhole<double>(trimmed, [](const char* s, char** end) { return std::strtod(s, end); });
    if (number && !std::isfinite(*number)) {
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
