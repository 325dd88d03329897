#include "PcLog.h"

#include "instrument/FileLineEnd.h"
#include "instrument/Readings.h"
#include "ui/panel/LocaleText.h"
#include "ui/panel/Windows1252.h"

#include <QFileInfo>
#include <array>

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

} // namespace

QString PcLogLine(const QString& timeStamp, const QStringList& readings) {
    std::array<std::string, protocol::kReadingChannels> texts;
    for (int channel = 0; channel < protocol::kReadingChannels && channel < readings.size();
         ++channel) {
        texts[static_cast<std::size_t>(channel)] = ToWindows1252(readings[channel]);
    }
    // The values with the locale's separator; the time stamp keeps its dots.
    const std::string values = PcLogLine("", texts, '.');
    return timeStamp + WithLocalePoint(FromWindows1252(values)) + FromWindows1252(kFileLineEnd);
}

std::optional<QString> PcDataLog::Open(const QString& stamp, QString* error) {
    for (int sequence = 1; sequence <= kMaximumSameSecondLogs; ++sequence) {
        const QString name = LogName(stamp, sequence);
        const QString fileName = name + QStringLiteral(".csv");
        // A file of that name is an earlier log of the same second: the next name is tried.
        if (file_.Open(fileName, RecordFile::Mode::NewOnly, error)) {
            return name;
        }
        if (!QFileInfo::exists(fileName)) {
            return std::nullopt;
        }
    }
    *error = QStringLiteral("Cannot create a new PC log for %1: too many logs in that second")
                 .arg(stamp);
    return std::nullopt;
}
