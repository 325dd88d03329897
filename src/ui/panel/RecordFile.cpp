#include "RecordFile.h"

#include "DiskSync.h"
#include "Windows1252.h"

#include <QDir>

namespace {

QIODevice::OpenMode OpenModeFor(RecordFile::Mode mode) {
    switch (mode) {
    case RecordFile::Mode::Replace:
        return QIODevice::WriteOnly | QIODevice::Truncate;
    case RecordFile::Mode::Append:
        return QIODevice::WriteOnly | QIODevice::Append;
    case RecordFile::Mode::NewOnly:
        return QIODevice::WriteOnly | QIODevice::NewOnly;
    }
    return QIODevice::WriteOnly;
}

} // namespace

bool RecordFile::Open(const QString& fileName, Mode mode, QString* error) {
    Close();
    file_.setFileName(fileName);
    // Unbuffered: a record that fails leaves nothing behind in a buffer to reach the file later.
    if (file_.open(OpenModeFor(mode) | QIODevice::Unbuffered)) {
        return true;
    }
    *error = QStringLiteral("Cannot open %1 in %2: %3")
                 .arg(fileName, QDir::toNativeSeparators(QDir::currentPath()), file_.errorString());
    return false;
}

bool RecordFile::Write(const QString& record, QString* error) {
    const std::string bytes = ToWindows1252(record);
    const auto size = static_cast<qint64>(bytes.size());
    const qint64 before = file_.size();
    if (file_.write(bytes.data(), size) == size && file_.flush() && SyncToDisk(file_.handle())) {
        return true;
    }
    *error = QStringLiteral("Cannot write to %1: %2").arg(file_.fileName(), file_.errorString());
    file_.unsetError();
    // A part of a record would read as a record of its own; a device has no part to take back.
    if (!file_.isSequential()) {
        file_.resize(before);
        file_.seek(before);
    }
    return false;
}

void RecordFile::Close() {
    if (file_.isOpen()) {
        file_.close();
    }
}
