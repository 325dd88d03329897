#pragma once

#include "ui/panel/RecordFile.h"

#include <QString>
#include <string>

// The comms-transaction log: one line per received cluster, each on the disk as soon as it is
// written. The log is active while its file is open. A line that cannot be written ends the
// log there: one failure, one report, and the lines before it stay whole.
class CommsLog {
public:
    bool Active() const { return file_.IsOpen(); }

    // Creates the file (replacing one of that name) and turns the log active. False, with the
    // reason in *error and the log inactive, when the file cannot be made.
    bool Start(const QString& fileName, QString* error);
    // Turns the log inactive and closes the file; nothing happens when it is not active.
    void Stop();
    // Appends the line (Windows-1252 bytes) and its CR LF. On failure the log stops and *error
    // says why; a log that is not active takes nothing and reports nothing.
    bool Write(const std::string& line, QString* error);

private:
    RecordFile file_;
};
