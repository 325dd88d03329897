#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The file of a logged-data download and its lines.
namespace LoggedRecords {

// A fetch carries the record number as four decimal digits, so no record above this one can
// be asked for.
inline constexpr int kLastAddressableRecord = 9999;

// The model name, a blank and the stamp: the file's name without ".csv". Characters a file
// name cannot hold (path separators, control characters and the like) become '_', so the
// instrument's text never places the file outside the current folder.
std::string FileNameBase(std::string_view modelName, std::string_view stamp);

// Whether the payload is a 'D' reply that carries that record's number.
bool IsReplyOf(std::string_view payload, int record);

// The line of record `record` made from its 'D' reply, without the line end: record number,
// ',', the date dd/mm/yy, a blank, the time hh:mm:ss, then each channel's value after ';' with
// four decimals and that decimal separator. Nothing when the payload is not a whole, readable
// reply of that very record: another record number, too short, a time field that is not digits
// (memory never written reads FF) or a value that is not eight hexadecimal digits.
std::optional<std::string> RecordLine(std::string_view payload, int record, char decimalSeparator);

// Ascending numbers as the operator reads them, runs written as "first-last": "2, 5-7".
std::string NumberRuns(const std::vector<int>& ascending);

} // namespace LoggedRecords
