#pragma once

#include <QDateTime>
#include <QString>
#include <chrono>
#include <optional>

// Date, time and number texts as the operator's locale writes them. Numbers use the decimal
// separator of QLocale() (the system's locale unless a test sets another default).

QDateTime ToLocalDateTime(std::chrono::system_clock::time_point moment);

// The decimal text of n, with a "0" in front when that is a single character.
QString TwoDigits(int n);

// YYYYMMDDhhmmss of the moment: the stamp in every file name the program writes.
QString DateTimeStamp(const QDateTime& moment);

// Formats with the program's date-time patterns: "yyyy", "yy", "mm" (the month, or the minutes
// right after an hour), "dd", "hh", "nn" (minutes), "ss" are two- or four-digit fields; ':' is the
// locale's time separator and '/' its date separator; text in double or single quotes is copied;
// anything else is literal. FormatDateTime("dd.mm.yy hh:mm:ss", t) gives "07.12.26 10:20:02".
QString FormatDateTime(const QString& pattern, const QDateTime& moment);

// The short date "dd/mm/yy", a blank and the locale's long time; the time is left out at
// exactly midnight. This is how the program shows a moment to the operator.
QString DateTimeToText(const QDateTime& moment);

// The locale's long time format applied to the time of the moment (hours, minutes, seconds).
QString LongTimeText(const QDateTime& moment);

QChar LocaleDateSeparator();
QChar LocaleTimeSeparator();

// FixedWithTenDigits with the locale's decimal separator: the number form of the data files.
QString LocaleFixed(double value, int decimals);
// A number text written with '.' as the operator reads it: the locale's decimal separator for '.'.
QString WithLocalePoint(QString text);

// A number the operator typed: blanks around it allowed, '.' or the locale's decimal separator as
// the point, no group separators; otherwise read as ParseFloat reads it. Nothing when the text is
// not such a number.
std::optional<double> OperatorTextToFloat(const QString& text);
