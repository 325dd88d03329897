// The logged-data download in the whole program, on the simulated instrument's log.
#include "ui/support/LivePanel.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <set>

namespace {

constexpr int kRecords = 200;

// Record n as the simulator holds it, in the file's form.
QString Expected(LivePanel& live, int n) {
    const auto record =
        live.server.WithModel([n](sim::InstrumentModel& model) { return model.Log().Record(n); });
    if (!record) {
        return QStringLiteral("no record %1").arg(n);
    }
    const sim::CivilTime& t = record->time;
    QString line = QString::asprintf("%04d,%02d/%02d/%02d %02d:%02d:%02d", n, t.day, t.month,
                                     t.year % 100, t.hour, t.minute, t.second);
    for (const float value : record->values) {
        line += ';' + QString::number(static_cast<double>(value), 'f', 4);
    }
    return line;
}

} // namespace

class LogDownloadLiveTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir workDir;

    // Downloads the log of an instrument holding kRecords records into the lines of the file.
    void Download(LivePanel& live, QStringList& lines) {
        // Shorter clusters make the run quicker; the pace is measured elsewhere.
        live.settings.Set("Comms", "RTOExtraDelayTime", "20");
        live.Start();
        QWidget* window = LivePanel::Window("Form3");
        window->show();
        QTRY_COMPARE_WITH_TIMEOUT(window->findChild<QLabel*>("lLogMaxCount")->text(),
                                  QString::number(kRecords), 10000);
        live.operatorAnswers.AnswerYes();
        window->findChild<QPushButton*>("bDownload")->click();
        QFile file(window->findChild<QLabel*>("lLogName")->text().mid(4) + ".csv");
        QVERIFY(file.open(QIODevice::ReadOnly));
        lines = QString::fromLatin1(file.readAll()).split("\r\n");
        lines.removeLast();
    }

private slots:
    void initTestCase() {
        QDir::setCurrent(workDir.path());
        QLocale::setDefault(QLocale::c());
    }

    void theFileHoldsWhatTheInstrumentLogged() {
        sim::ServerOptions options;
        options.instrument.records = kRecords;
        LivePanel live(options, /*realTime=*/true);
        QStringList lines;
        Download(live, lines);
        QCOMPARE(lines.size(), kRecords);
        for (int n = 1; n <= kRecords; ++n) {
            QCOMPARE(lines[n - 1], Expected(live, n));
        }
        QVERIFY(live.operatorAnswers.notices.isEmpty());
        QVERIFY(live.Form().findChild<QTimer*>("Timer1")->isActive());
    }

    void lostRepliesLeaveToldGapsAndNoWrongLine() {
        sim::ServerOptions options;
        options.instrument.records = kRecords;
        // Four replies in a row from the sixtieth on: one record loses all three of its fetches.
        options.faults.drop = sim::FaultRate{0.0, 4, 60};
        LivePanel live(options, /*realTime=*/true);
        QStringList lines;
        Download(live, lines);
        std::set<int> present;
        for (const QString& line : lines) {
            const int n = line.left(4).toInt();
            QCOMPARE(line, Expected(live, n));
            QVERIFY(present.insert(n).second);
        }
        QCOMPARE(lines.size(), kRecords - 1);
        QCOMPARE(live.operatorAnswers.notices.size(), 1);
        for (int n = 1; n <= kRecords; ++n) {
            if (present.count(n) == 0) {
                QCOMPARE(
                    live.operatorAnswers.notices[0],
                    QString("1 of 200 records did not arrive and are not in the file: %1.").arg(n));
            }
        }
    }
};

QTEST_MAIN(LogDownloadLiveTest)
#include "test_LogDownloadLive.moc"
