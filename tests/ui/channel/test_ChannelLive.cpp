// The channel window in the whole program on the simulated instrument: the main window opens
// it from a channel display, and what it sends changes the instrument's scaling and readings.
#include "instrument/NumberText.h"
#include "ui/channel/uChannel.h"
#include "ui/support/LivePanel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <clocale>
#include <cmath>
#include <sstream>

class ChannelLiveTest : public QObject {
    Q_OBJECT

private slots:
    void aNewScalingReachesTheInstrumentAndItsReadings() {
        sim::ServerOptions options;
        // Channel 3 held at 2 mV, so its millivolt reading is m x 2 + c.
        options.instrument.steps.push_back({3, sim::InputLevel::Kind::Raw, 2.0, 0.0});
        std::ostringstream trace;
        options.trace = true;
        options.trace_stream = &trace;
        const QString point = QLocale().decimalPoint();
        QVERIFY(*std::localeconv()->decimal_point == ',' || qgetenv("LC_ALL") != "de_DE.UTF-8");
        LivePanel live(options, /*realTime=*/true);
        live.Start();
        TForm1& form = live.Form();
        form.show();
        form.findChild<QRadioButton*>("rbMilliVolt")->setChecked(true);
        const auto reading = [&live] { return TextToFloat(live.Text("lDispx3").toStdString()); };
        QTRY_VERIFY_WITH_TIMEOUT(std::fabs(reading() - 2.0) < 0.01, 15000);

        QTest::mouseDClick(form.findChild<QLabel*>("lDispx3"), Qt::LeftButton);
        auto* window = LivePanel::Window<TfChannel>("fChannel");
        QVERIFY(window != nullptr && window->IsShown());
        QCOMPARE(window->windowTitle(), QString("Channel 3 configuration"));
        auto* m = window->findChild<QLineEdit*>("eCal_m");
        auto* c = window->findChild<QLineEdit*>("eCal_c");
        auto* type = window->findChild<QComboBox*>("cbTCType");
        QTRY_COMPARE_WITH_TIMEOUT(m->text(), "  1" + point + "0000", 10000);
        QVERIFY(type->currentIndex() >= 0);
        const int newType = type->currentIndex() + 1;
        const QString newTypeName = type->itemText(newType);

        QTest::keyClick(type, Qt::Key_Down);
        for (auto [edit, text] :
             {std::pair{m, "1" + point + "05"}, std::pair{c, QString("-0.25")}}) {
            edit->selectAll();
            QTest::keyClicks(edit, text);
        }
        QTest::mouseClick(window->findChild<QPushButton*>("bSend"), Qt::LeftButton);

        QTRY_COMPARE_WITH_TIMEOUT(c->text(), " -0" + point + "2500", 10000);
        QTRY_COMPARE_WITH_TIMEOUT(m->palette().color(QPalette::Base), QColor(0, 255, 0), 10000);
        QCOMPARE(m->text(), "  1" + point + "0500");
        QCOMPARE(type->currentText(), newTypeName);
        const sim::ChannelSetup setup =
            live.server.WithModel([](sim::InstrumentModel& model) { return model.Channel(3); });
        QCOMPARE(setup, (sim::ChannelSetup{newType, 1.05, -0.25}));
        QTRY_VERIFY_WITH_TIMEOUT(std::fabs(reading() - 1.85) < 0.01, 15000);
        live.server.Stop();
        QVERIFY(trace.str().find("|<EOT><STX>C30" + std::to_string(newType) +
                                 "  1.0500 -0.2500<ETX>") != std::string::npos);
    }
};

QTEST_MAIN(ChannelLiveTest)
#include "test_ChannelLive.moc"
