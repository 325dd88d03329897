#include "ChartDataFile.h"

#include "LineSeries.h"
#include "ui/panel/LocaleText.h"
#include "ui/panel/Windows1252.h"

#include <QFile>

QString WriteChartData(const QString& path, const QString& title,
                       std::span<LineSeries* const> series,
                       std::span<const PointKeys::Range> points) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString());
    }
    const auto writeError = [&] {
        return QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString());
    };
    const auto writeLine = [&](const QString& line) {
        const std::string bytes = ToWindows1252(line) + "\r\n";
        const auto size = static_cast<qint64>(bytes.size());
        return file.write(bytes.data(), size) == size;
    };
    if (!writeLine(title)) {
        return writeError();
    }
    for (const PointKeys::Range range : points) {
        for (std::size_t point = range.first; point <= range.last; ++point) {
            QString line;
            for (const LineSeries* one : series) {
                if (!line.isEmpty()) {
                    line += QLatin1Char(';');
                }
                line += LocaleFixed(point < one->Count() ? one->YValue(point) : 0.0, 4);
            }
            if (!writeLine(line)) {
                return writeError();
            }
        }
    }
    if (!file.flush()) {
        return writeError();
    }
    return {};
}
