#pragma once

#include <optional>
#include <string>
#include <string_view>

// The number texts exchanged with the instrument and written to the data files. Every number
// is read and written with '.' whatever the process's locale; a front end that shows numbers
// with its locale's separator swaps it in (WithDecimalSeparator).

// TextToFloat: the text as a decimal number with '.' as the point: optional leading blanks,
// optional sign, digits with an optional point and fraction, an optional exponent. Any text
// that is not entirely such a number gives 0 (so "-------" is 0).
double TextToFloat(std::string_view text);
// The same number, or nothing when the text is not entirely such a number or its value does not
// fit a double: for values sent to the instrument, where a typo must never pass as 0.
std::optional<double> ParseFloat(std::string_view text);

// FloatToFixed: the value with that many decimals and '.' as the point, right-aligned with
// leading blanks to at least the width. FloatToFixed(1.0023, 8, 4) is "  1.0023".
std::string FloatToFixed(double value, int width, int decimals);

// The value with exactly `decimals` decimals and '.', rounded to at most 10 significant digits;
// a value with more than 10 digits before the point comes out as d.dddddddddE+dddd.
// This is the number form of every data file.
std::string FixedWithTenDigits(double value, int decimals);

// The text with its '.' replaced by the separator.
std::string WithDecimalSeparator(std::string text, char separator);
