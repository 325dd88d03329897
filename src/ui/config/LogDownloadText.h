#pragma once

#include "instrument/LogJobs.h"

#include <QString>
#include <optional>
#include <string_view>

// The texts of the logged-data download as the window shows them: the lines in the locale's
// form, the record count it starts from and what the operator is told at the end.
namespace LogDownloadText {

// The record count shown after "Max Count:", read as a decimal number; nothing when it is not
// one. A count below 0 means no records.
std::optional<int> RecordCount(const QString& text);

// The line of record `record` made from its 'D' reply (LoggedRecords::RecordLine), with the
// locale's decimal separator.
std::optional<QString> RecordLine(std::string_view payload, int record);

// What the operator learns at the end of a download that is not whole, each kind of gap apart
// (runs written as "first-last"), and the records beyond the last that can be addressed. Empty
// when there is nothing to tell.
QString Shortfall(const jobs::DownloadReport& gaps);

} // namespace LogDownloadText
