#include "RegisterFile.h"

#include "base/BoundedFile.h"
#include "instrument/RegisterFile.h"
#include "instrument/SendChecks.h"
#include "ui/panel/Windows1252.h"

#include <QFile>

QString RegisterFileText(const QStringList& registers) {
    QString text;
    for (int i = 0; i < registers.size(); ++i) {
        text += QString::fromStdString(RegisterName(i)) + QLatin1Char('=') + registers[i] +
                QStringLiteral("\r\n");
    }
    return text;
}

std::optional<QStringList> ReadRegisterFile(const QString& path, QString* error) {
    const BoundedFile file =
        ReadBoundedFile(QFile::encodeName(path).toStdString(), RegisterFile::kLargestFile);
    if (!file.error.empty()) {
        *error = QStringLiteral("Cannot read %1: %2").arg(path, QString::fromLocal8Bit(file.error));
        return std::nullopt;
    }
    QStringList registers;
    for (const std::string& text : RegisterFile::Parse(file.bytes)) {
        registers.append(FromWindows1252(text));
    }
    return registers;
}
