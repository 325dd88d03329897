#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace protocol {

// Numbers and fixed-position fields of the texts exchanged with the instrument.
//
// A decimal number is: optional leading blanks, an optional '+' or '-', then one or more
// digits 0-9 up to the end of the text, its value within the range of int.
// A hexadecimal number is: optional leading blanks, then one or more digits 0-9, A-F or a-f up
// to the end of the text, no sign, its value within the range of int.
// Anything else, the empty text and trailing blanks included, is not a number.
std::optional<int> ParseDecimal(std::string_view text);
std::optional<int> ParseHex(std::string_view text);

// Fields of a payload, positions counted from 1 at the message letter.
namespace PayloadField {
// The characters at position .. position + width - 1; fewer (or none) when the payload ends
// sooner.
std::string Text(std::string_view payload, std::size_t position, std::size_t width);
// The field read as a number; no value when it is not one or when the payload ends before the
// field does.
std::optional<int> Decimal(std::string_view payload, std::size_t position, std::size_t width);
std::optional<int> Hex(std::string_view payload, std::size_t position, std::size_t width);
} // namespace PayloadField

} // namespace protocol
