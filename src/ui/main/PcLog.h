#pragma once

#include "ui/panel/RecordFile.h"

#include <QString>
#include <QStringList>
#include <optional>

// One line of the PC data log (instrument/Readings.h's PcLogLine) with the locale's decimal
// separator, the cold junction's text first, then channels 1 to 8. Ends with CR LF.
QString PcLogLine(const QString& timeStamp, const QStringList& readings);

// The PC data log file "PC <stamp>.csv" in the current directory. A file of that name is never
// replaced: a Start in the same second as an earlier log gets "PC <stamp> (2).csv" and so on.
// Every line reaches the disk as it is written.
class PcDataLog {
public:
    bool IsOpen() const { return file_.IsOpen(); }

    // Creates the file for that stamp. Gives the log name without ".csv", or nothing with the
    // reason in *error.
    std::optional<QString> Open(const QString& stamp, QString* error);

    // Writes one line; false with the reason in *error when it failed.
    bool WriteLine(const QString& line, QString* error) { return file_.Write(line, error); }

    void Close() { file_.Close(); }

private:
    RecordFile file_;
};
