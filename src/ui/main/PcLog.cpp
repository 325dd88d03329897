#include "PcLog.h"

#include "LocaleText.h"
#include "NumberText.h"
#include "Windows1252.h"

#include <QDir>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// Enough for a burst of Starts within one second; beyond it something else is wrong.
constexpr int kMaximumSameSecondLogs = 99;

QString LogName(const QString& stamp, int sequence) {
    QString name = QStringLiteral("PC ") + stamp;
    if (sequence > 1) {
        name += QStringLiteral(" (%1)").arg(sequence);
    }
    return name;
}

// The line must survive a crash or a power cut once it has been written.
bool SyncToDisk(QFile& file) {
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

} // namespace

QString PcLogLine(const QString& timeStamp, const QStringList& readings) {
    QString line = timeStamp;
    for (const QString& reading : readings) {
        line += QLatin1Char(';');
        line += LocaleFixed(TextToFloat(ToWindows1252(reading)), 4);
    }
    line += QStringLiteral("\r\n");
    return line;
}

std::optional<QString> PcDataLog::Open(const QString& stamp, QString* error) {
    Close();
    for (int sequence = 1; sequence <= kMaximumSameSecondLogs; ++sequence) {
        const QString name = LogName(stamp, sequence);
        file_.setFileName(name + QStringLiteral(".csv"));
        // NewOnly fails on an existing file instead of truncating it.
        if (file_.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            return name;
        }
        if (!file_.exists()) {
            *error = QStringLiteral("Cannot create %1 in %2: %3")
                         .arg(file_.fileName(), QDir::currentPath(), file_.errorString());
            return std::nullopt;
        }
    }
    *error = QStringLiteral("Cannot create a new PC log for %1: too many logs in that second")
                 .arg(stamp);
    return std::nullopt;
}

bool PcDataLog::WriteLine(const QString& line, QString* error) {
    const std::string bytes = ToWindows1252(line);
    const auto size = static_cast<qint64>(bytes.size());
    if (file_.write(bytes.data(), size) != size || !file_.flush() || !SyncToDisk(file_)) {
        *error =
            QStringLiteral("Cannot write to %1: %2").arg(file_.fileName(), file_.errorString());
        file_.unsetError();
        return false;
    }
    return true;
}

void PcDataLog::Close() {
    if (file_.isOpen()) {
        file_.close();
    }
}
