#pragma once

#include "Checked.h"
#include "protocol/MessageCatalogue.h"
#include "protocol/RequestBuilders.h"

#include <optional>
#include <string>
#include <string_view>

// The checks every value passes before it goes to the instrument: a text that is not of its
// field's form, or a number outside the field's range, is refused with a message naming the
// field, never cut or moved into range.

// "dd/mm/yy", a real day of 2000 to 2099; "hh:mm:ss", a real 24-hour time.
Checked<std::string> CheckDate(std::string_view text);
Checked<std::string> CheckTime(std::string_view text);
// Two hexadecimal digits.
Checked<std::string> CheckSystemFlag(std::string_view text);

// Whole seconds: autoscan 2 to 10, instrument logging 5 to 3600.
inline constexpr int kShortestAutoscan = 2;
inline constexpr int kLongestAutoscan = 10;
inline constexpr int kShortestLogging = 5;
inline constexpr int kLongestLogging = 3600;
Checked<int> CheckAutoscanInterval(std::string_view text);
Checked<int> CheckLoggingInterval(std::string_view text);

// An interval as the configuration window's Send takes it: a text written as a decimal number
// (leading blanks, a sign, digits) must fit its hexadecimal field, 0 to `highest` (0xFF for
// autoscan, 0xFFFF for logging); any other text passes, and the request sends the interval's
// default for it.
Checked<std::string> CheckIntervalField(std::string_view field, std::string_view text, int highest);

// The number of the first of the 32 clock register texts that is not two hexadecimal digits;
// nothing when all are. A wrong register value can stop the instrument's clock.
std::optional<int> FirstBadRegister(const protocol::RegisterTexts& registers);
// A register number as the engineering window and its file show it: two upper-case hex digits.
std::string RegisterName(int registerNumber);

// The filter constant, a whole number of samples from 2 to 25 (digits only, blanks around them
// allowed); nothing when the text is not.
std::optional<int> FilterConstantValue(std::string_view text);
