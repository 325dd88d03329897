#include "RegisterFile.h"

#include "instrument/SendChecks.h"
#include "protocol/MessageCatalogue.h"
#include "ui/panel/Windows1252.h"

#include <QFile>

namespace {

// Longer than any register line; the rest of a longer line is skipped, so a large file chosen
// by mistake is never read whole.
constexpr qint64 kLongestLineRead = 256;

// The next line without its line end; nothing at the end of the file.
std::optional<QByteArray> ReadLine(QFile& file) {
    if (file.atEnd()) {
        return std::nullopt;
    }
    QByteArray line = file.readLine(kLongestLineRead);
    if (!line.endsWith('\n')) {
        while (!file.atEnd() && !file.readLine(kLongestLineRead).endsWith('\n')) {
        }
    }
    while (line.endsWith('\n') || line.endsWith('\r')) {
        line.chop(1);
    }
    return line;
}

} // namespace

QString RegisterFileText(const QStringList& registers) {
    QString text;
    for (int i = 0; i < registers.size(); ++i) {
        text += QString::fromStdString(RegisterName(i)) + QLatin1Char('=') + registers[i] +
                QStringLiteral("\r\n");
    }
    return text;
}

std::optional<QStringList> ReadRegisterFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot open %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QStringList registers;
    for (int i = 0; i < protocol::RegistersReply::kRegisterCount; ++i) {
        const std::optional<QByteArray> line = ReadLine(file);
        if (file.error() != QFileDevice::NoError) {
            *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
            return std::nullopt;
        }
        registers.append(line ? FromWindows1252(line->mid(3, 2).toStdString()) : QString());
    }
    return registers;
}
