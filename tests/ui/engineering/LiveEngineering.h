#pragma once

// What the whole-program tests and pictures of the engineering window share.
#include "ui/engineering/Engineering.h"
#include "ui/support/LivePanel.h"

#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStringList>

// Every register box filled by a register reply: lime, and two characters.
inline bool AllRegistersRead(const TfRTC& window) {
    for (int i = 0; i < protocol::RegistersReply::kRegisterCount; ++i) {
        const auto* box = window.findChild<QLineEdit*>(QStringLiteral("ereg%1").arg(i));
        if (box->palette().color(QPalette::Base) != QColor(0, 255, 0) || box->text().size() != 2) {
            return false;
        }
    }
    return true;
}

// From now on counts every cluster the port hands over while the window's comms log is active,
// then hands the cluster on to the frame layer as the program does.
inline void CountLoggedClusters(LivePanel& live, TfRTC& window, int& count) {
    live.link->SetOnRxClusterEvent([&live, &window, &count] {
        if (window.CommsLogActive() && live.link->PeekClusterSize() >= 0) {
            ++count;
        }
        live.panel->Frames().SerialPort1RxClusterEvent();
    });
}

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
