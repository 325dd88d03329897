#include "CommsLog.h"

#include "ui/panel/Windows1252.h"

bool CommsLog::Start(const QString& fileName, QString* error) {
    Stop();
    if (!file_.Open(fileName, RecordFile::Mode::Replace, error)) {
        return false;
    }
    active_ = true;
    return true;
}

void CommsLog::Stop() {
    active_ = false;
    file_.Close();
}

bool CommsLog::Write(const std::string& line, QString* error) {
    if (!active_) {
        return true;
    }
    if (file_.Write(FromWindows1252(line) + QStringLiteral("\r\n"), error)) {
        return true;
    }
    Stop();
    return false;
}
