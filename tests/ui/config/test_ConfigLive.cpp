// The configuration window in the whole program, on the simulated instrument.
#include "ui/support/LivePanel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>

class ConfigLiveTest : public QObject {
    Q_OBJECT

private slots:
    void fahrenheitSentFromTheWindowComesBackInTheReadings() {
        LivePanel live({}, /*realTime=*/true);
        live.Start();
        QTRY_COMPARE_WITH_TIMEOUT(live.Text("lUnit"), QString(" \u00B0 C "), 10000);
        live.Form().findChild<QPushButton*>("bConfig")->click();
        QWidget* window = LivePanel::Window("Form3");
        QVERIFY(window->isVisible());
        // The status the window asked for when it opened has filled it.
        QTRY_VERIFY_WITH_TIMEOUT(window->findChild<QLineEdit*>("eDate")->text() != "19/09/09",
                                 5000);
        window->findChild<QRadioButton*>("gUnit1")->click();
        live.operatorAnswers.AnswerYes();
        window->findChild<QPushButton*>("bSend")->click();
        QTRY_COMPARE_WITH_TIMEOUT(live.Text("lUnit"), QString(" \u00B0 F "), 10000);
        QVERIFY(
            live.server.WithModel([](sim::InstrumentModel& model) { return model.Fahrenheit(); }));
        QVERIFY(live.operatorAnswers.errors.isEmpty());
    }

    void aPortThatDoesNotOpenSaysWhy() {
        LivePanel live;
        live.UsePort("/nonexistent/vxxx");
        live.Start();
        QWidget* window = LivePanel::Window("Form3");
        QCOMPARE(window->findChild<QLabel*>("lPortState")->text(),
                 QString("Not open. Error reopening Port: %1 (%2)")
                     .arg(QString::fromLocal8Bit(std::strerror(ENOENT)))
                     .arg(ENOENT));
        QCOMPARE(window->findChild<QComboBox*>("cbPort")->currentText(),
                 QString("/nonexistent/vxxx"));
    }

    void choosingTheInstrumentsPortAgainRestartsTheLink() {
        QTemporaryDir directory;
        const std::string linkPath = directory.filePath("vxxx").toStdString();
        sim::ServerOptions options;
        options.link_path = linkPath;
        LivePanel live(options, /*realTime=*/true);
        live.UsePort(linkPath);
        live.Start();
        auto* ports = LivePanel::Window("Form3")->findChild<QComboBox*>("cbPort");
        const int index = ports->findText(QString::fromStdString(linkPath));
        QCOMPARE(ports->currentIndex(), index);
        QTRY_VERIFY_WITH_TIMEOUT(live.Form().windowTitle().startsWith("V630 Control Panel"), 10000);
        const int newest = live.panel->State().History.newest;

        emit ports->activated(index);
        QCOMPARE(live.Form().windowTitle(), QString("Control Panel - connecting"));
        QTRY_VERIFY_WITH_TIMEOUT(live.Form().windowTitle().startsWith("V630 Control Panel"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(live.panel->State().History.newest != newest, 10000);
        QVERIFY(live.instrument->Active());
    }
};

QTEST_MAIN(ConfigLiveTest)
#include "test_ConfigLive.moc"
