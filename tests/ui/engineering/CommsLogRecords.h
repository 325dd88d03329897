#pragma once

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

// The records of a comms-transaction log: each starts with its time stamp and runs to the next
// one, its CR LF included (a cluster's own bytes may hold line ends).
inline QStringList CommsLogRecords(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = QString::fromLatin1(file.readAll());
    static const QRegularExpression recordStart(
        QStringLiteral("(?:^|(?<=\r\n))\\d\\d\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d :"));
    QStringList records;
    qsizetype start = -1;
    for (const auto& match : recordStart.globalMatch(text)) {
        if (start >= 0) {
            records.append(text.mid(start, match.capturedStart() - start));
        }
        start = match.capturedStart();
    }
    if (start >= 0) {
        records.append(text.mid(start));
    }
    return records;
}

// A whole record of a received frame: the 19 characters of "dd.mm.yy hh:mm:ss :", the frame
// from its STX, and the line end.
inline bool IsWholeFrameRecord(const QString& record) {
    return record.size() > 21 && record.at(19) == QChar(0x02) && record.endsWith("\r\n");
}
