#pragma once

#include <QString>
#include <optional>
#include <string_view>
#include <vector>

// The texts of the logged-data download as the window shows them: the lines in the locale's
// form, the record count it starts from and what the operator is told at the end.
namespace LogDownloadText {

// The record count shown after "Max Count:", read as a decimal number; nothing when it is not
// one. A count below 0 means no records.
std::optional<int> RecordCount(const QString& text);

// The line of record `record` made from its 'D' reply (LoggedRecords::RecordLine), with the
// locale's decimal separator.
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
