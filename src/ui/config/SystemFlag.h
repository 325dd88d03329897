#pragma once

#include <QString>
#include <optional>

// The system flag byte lives only as the hexadecimal text of eSystemFlag.
namespace SystemFlagText {

// The text read as a hexadecimal number (leading blanks allowed), or nothing when it is not one.
std::optional<int> Value(const QString& text);
// Upper-case hexadecimal with at least two digits: 0x11 gives "11", 0x1A "1A", 5 "05".
QString Text(int value);
// The text with one bit set (on) or cleared; nothing when the text is not hexadecimal.
std::optional<QString> WithBit(const QString& text, int mask, bool on);

} // namespace SystemFlagText
