#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// The value right-aligned in `width` characters with up to `decimals` decimals; decimals are
// given up one by one when the number would not fit, and "OVER" is shown when even the whole
// number is too wide. Never longer than `width`, and never "-0.000".
std::string FitField(double value, int width, int decimals);

// The last `width` characters of the number with leading zeros ("07", "0012").
std::string ZeroPadded(std::int64_t value, int width);

// Upper-case hexadecimal with at least `width` digits.
std::string Hex(std::uint64_t value, int width);

// A single-precision value as eight hex digits, least significant byte first (100 is 0000C842).
std::string FloatAsLittleEndianHex(float value);

// Strict readers of the instrument's fields: the whole text must be the number, leading blanks
// allowed; anything else gives nothing.
std::optional<std::int64_t> ParseDecimal(std::string_view text);
std::optional<std::uint64_t> ParseHex(std::string_view text);
std::optional<double> ParseNumber(std::string_view text);

// Bytes as space-separated hex and as text with the frame characters named.
std::string HexDump(std::string_view bytes);
std::string ReadableText(std::string_view bytes);

} // namespace sim
