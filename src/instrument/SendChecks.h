#pragma once

#include "Checked.h"
#include "protocol/MessageCatalogue.h"

#include <array>
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

// A trigger value, band or hysteresis of an alarm output: a whole number that its
// five-character field holds (kAlarmFieldMinimum to kAlarmFieldMaximum).
Checked<int> CheckAlarmValue(std::string_view field, std::string_view text);

// The 32 clock registers, each two hexadecimal digits; a refusal names the first that is not.
Checked<std::array<std::string, RegistersReply::kRegisterCount>>
CheckRegisters(const std::array<std::string, RegistersReply::kRegisterCount>& registers);
// A register number as the engineering window and its file show it: two upper-case hex digits.
std::string RegisterName(int registerNumber);

// The filter constant, a whole number of samples from 2 to 25.
Checked<int> CheckFilterConstant(std::string_view text);
