#include "TestRecord.h"

#include "ui/panel/RecordFile.h"

#include <QFile>
#include <QStringList>

namespace TestRecord {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Each field of a record line with its header name, in the order of the line.
QList<std::pair<QString, QString>> NamedFields(const Heading& heading,
                                               const CalibrationMemory& memory) {
    QList<std::pair<QString, QString>> fields = {
        {QStringLiteral("model"), heading.model},
        {QStringLiteral("sensor"), heading.sensor},
        {QStringLiteral("serial"), heading.serial},
        {QStringLiteral("date_time"), heading.dateTime},
    };
    const auto& channels = memory.channels;
    for (int i = 0; i < CalibrationMemory::kChannels; ++i) {
        fields.append({QStringLiteral("Pre%1").arg(i), channels[i].pre});
    }
    for (int i = 0; i < CalibrationMemory::kChannels; ++i) {
        fields.append({QStringLiteral("Post%1").arg(i), channels[i].post});
    }
    for (int i = 0; i < CalibrationMemory::kChannels; ++i) {
        fields.append({QStringLiteral("m%1").arg(i), channels[i].m});
        fields.append({QStringLiteral("c%1").arg(i), channels[i].c});
    }
    fields.append({QStringLiteral("Span Ref"), heading.spanReference});
    return fields;
}

QString Joined(const QList<std::pair<QString, QString>>& fields, bool names) {
    QStringList texts;
    for (const auto& [name, value] : fields) {
        texts.append(names ? name : value);
    }
    return texts.join(QLatin1Char(',')) + kLineEnd;
}

} // namespace

QString HeaderLine() {
    return Joined(NamedFields({}, {}), true);
}

QString RecordLine(const Heading& heading, const CalibrationMemory& memory) {
    return Joined(NamedFields(heading, memory), false);
}

std::optional<QString> UnsafeField(const Heading& heading, const CalibrationMemory& memory) {
    for (const auto& [name, value] : NamedFields(heading, memory)) {
        if (value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('\r')) ||
            value.contains(QLatin1Char('\n'))) {
            return name;
        }
    }
    return std::nullopt;
}

QString Append(const QString& line, bool create) {
    RecordFile file;
    QString error;
    if (!file.Open(kFileName, create ? RecordFile::Mode::NewOnly : RecordFile::Mode::Append,
                   &error)) {
        return error;
    }
    // Header and first line go out as one record: a new file holds both or is removed.
    if (file.Write(create ? HeaderLine() + line : line, &error)) {
        return {};
    }
    file.Close();
    if (create) {
        QFile::remove(kFileName);
    }
    return error;
}

} // namespace TestRecord
