#include "CommsLog.h"

#include "ui/panel/Windows1252.h"

bool CommsLog::Start(const QString& fileName, QString* error) {
    return file_.Open(fileName, RecordFile::Mode::Replace, error);
}

void CommsLog::Stop() {
    file_.Close();
}

bool CommsLog::Write(const std::string& line, QString* error) {
    if (!Active()) {
        return true;
    }
    if (file_.Write(FromWindows1252(line) + QStringLiteral("\r\n"), error)) {
        return true;
    }
    Stop();
    return false;
}
