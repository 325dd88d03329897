#pragma once

#include <QString>
#include <optional>
#include <string_view>
#include <vector>

// The texts of the logged-data download: the file's name and lines, the record count it starts
// from and what the operator is told at the end.
namespace LogDownloadText {

// A fetch carries the record number as four decimal digits, so no record above this one can
// be asked for.
inline constexpr int kLastAddressableRecord = 9999;

// The record count shown after "Max Count:", read as a decimal number; nothing when it is not
// one. A count below 0 means no records.
std::optional<int> RecordCount(const QString& text);

// The model name, a blank and the stamp: the file's name without ".csv". Characters a file
// name cannot hold (path separators, control characters and the like) become '_', so the
// instrument's text never places the file outside the current folder.
QString FileNameBase(const QString& modelName, const QString& stamp);

// Whether the payload is a 'D' reply that carries that record's number.
bool IsReplyOf(std::string_view payload, int record);

// The line of record `record` made from its 'D' reply, without the line end: record number,
// ',', the date dd/mm/yy, a blank, the time hh:mm:ss, then each channel's value after ';' with
// four decimals and the locale's separator. Nothing when the payload is not a whole reply of
// that very record: another record number, too short, a time field that is not digits or a
// value that is not eight hexadecimal digits.
std::optional<QString> RecordLine(std::string_view payload, int record);

// How the records of a download fared that are not in its file.
struct DownloadGaps {
    std::vector<int> notAnswered;  // no reply of theirs came, ascending
    std::vector<int> unreadable;   // their reply came but could not be read, ascending
    int handled = 0;               // records 1 to this one were fetched or tried in full
    int last = 0;                  // the last record to fetch; those after `handled` were not
    int recordCount = 0;           // the count the download started from
    bool instrumentSilent = false; // the download ended as the instrument stopped answering
};

// What the operator learns at the end of a download that is not whole, each kind of gap apart
// (runs written as "first-last"), and the records beyond the last that can be addressed. Empty
// when there is nothing to tell.
QString Shortfall(const DownloadGaps& gaps);

} // namespace LogDownloadText
