#pragma once

#include <string>
#include <string_view>

// The instrument's texts are Windows-1252 (Latin-1 with 27 printable characters in place of the
// C1 controls 0x80..0x9F; the five bytes that code page leaves unassigned map to the control of
// the same value); JSON and MQTT carry UTF-8.

// The Unicode code point of the byte.
char32_t Windows1252CodePoint(unsigned char byte);

// The text in UTF-8, every byte kept as its character.
std::string Utf8FromWindows1252(std::string_view bytes);

// Whether the text is well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF).
bool IsUtf8(std::string_view text);
