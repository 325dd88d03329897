// The reply handlers on the main window: readings, units, history, status and output states.
#include "PanelHarness.h"

#include <QRadioButton>
#include <QTest>

namespace {

const QString kDegree = QString(QChar(0xB0));

std::string NineFields(const std::vector<std::string>& texts) {
    std::string fields;
    for (const std::string& text : texts) {
        fields += text;
    }
    return fields;
}

} // namespace

class RepliesTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        h = std::make_unique<PanelHarness>();
        h->Start();
    }
    void cleanup() { h.reset(); }

    void readingsAreShownExactlyAsReceived() {
        const std::vector<std::string> texts = {"  24.5  ",       "   21.37", "------- ",
                                                "  OPEN  ",       "-1234.56", "1.0E+003",
                                                "  \xB0\x80    ", "        ", "   99.99"};
        h->port.Receive(Replies::Readings('T', NineFields(texts), "00"));
        QCOMPARE(h->Text("lDispx0"), QString("  24.5  "));
        QCOMPARE(h->Text("lDispx1"), QString("   21.37"));
        QCOMPARE(h->Text("lDispx2"), QString("------- "));
        QCOMPARE(h->Text("lDispx3"), QString("  OPEN  "));
        QCOMPARE(h->Text("lDispx6"), QString("  ") + kDegree + QChar(0x20AC) + "    ");
        QCOMPARE(h->Text("lUnit"), " " + kDegree + " C ");
    }

    void theUnitLabelFollowsTheReply_data() {
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("unit");
        QTest::newRow("T 00") << "T"
                              << "00"
                              << " " + kDegree + " C ";
        QTest::newRow("T 01") << "T"
                              << "01"
                              << " " + kDegree + " F ";
        QTest::newRow("T 02") << "T"
                              << "02"
                              << " " + kDegree + " C ";
        QTest::newRow("M") << "M"
                           << ""
                           << "  mV ";
        QTest::newRow("R") << "R"
                           << ""
                           << "  R  ";
        QTest::newRow("r") << "r"
                           << ""
                           << "  R  ";
    }
    void theUnitLabelFollowsTheReply() {
        QFETCH(QString, letter);
        QFETCH(QString, flags);
        QFETCH(QString, unit);
        h->port.Receive(
            Replies::Readings(letter[0].toLatin1(), std::string(9 * 8, '1'), flags.toStdString()));
        QCOMPARE(h->Text("lUnit"), unit);
    }

    void resistanceRepliesLeaveTheColdJunctionAlone() {
        h->port.Receive(Replies::Readings('T', std::string(9 * 8, '5'), "00"));
        h->port.Receive(
            Replies::Readings('R', NineFields({"  100.00", "  101.00", "  102.00", "  103.00",
                                               "  104.00", "  105.00", "  106.00", "  107.00"})));
        QCOMPARE(h->Text("lDispx0"), QString("55555555"));
        QCOMPARE(h->Text("lDispx1"), QString("  100.00"));
        QCOMPARE(h->Text("lDispx8"), QString("  107.00"));
        h->port.Receive(Replies::Readings('r', std::string(8 * 8, '2')));
        QCOMPARE(h->Text("lDispx0"), QString("55555555"));
        QCOMPARE(h->Text("lDispx8"), QString("22222222"));
    }

    void everyReadingReplyAddsOneHistoryColumn() {
        const ReadingHistory& history = h->state.History;
        QCOMPARE(history.newest, 0);
        h->port.Receive(Replies::Readings('T',
                                          Replies::Field("0.5") + Replies::Field("20.25") +
                                              Replies::Field("-------") + std::string(6 * 8, ' '),
                                          "00"));
        QCOMPARE(history.newest, 1);
        QCOMPARE(history.Newest(1), 20.25f);
        QCOMPARE(history.Newest(2), 0.0f); // no number
        h->port.Receive(Replies::Readings('M', std::string(9 * 8, ' ').replace(64, 8, "  -1.125")));
        h->port.Receive(Replies::Readings('R', std::string(8 * 8, ' ').replace(0, 8, "  110.00")));
        h->port.Receive(Replies::Readings('r', std::string(8 * 8, ' ').replace(56, 8, "    0.75")));
        QCOMPARE(history.newest, 4);
        QCOMPARE(history.At(8, 2), -1.125f);
        QCOMPARE(history.At(1, 3), 110.0f);
        QCOMPARE(history.Newest(8), 0.75f);
        // Other replies and ticks without a reply add none.
        h->port.Receive(Replies::Status("V420"));
        h->Tick(4);
        QCOMPARE(history.newest, 4);
    }

    void theHistoryWrapsAfterSixtyColumns() {
        for (int i = 1; i <= 61; ++i) {
            h->port.Receive(Replies::Readings('M', Replies::Field("0") +
                                                       Replies::Field(std::to_string(i)) +
                                                       std::string(7 * 8, ' ')));
        }
        const ReadingHistory& history = h->state.History;
        QCOMPARE(history.newest, 1);
        QCOMPARE(history.At(1, 0), 60.0f);
        QCOMPARE(history.At(1, 1), 61.0f);
    }

    void theStatusNamesTheModelInTheCaption() {
        QCOMPARE(h->state.ModelName, QString("Vxxx"));
        QVERIFY(!h->state.InputMode);
        h->port.Receive(Replies::Status("V630", "13", "2.8"));
        QCOMPARE(h->Form().windowTitle(), QString("V630 Control Panel - V630 2.8 10/11/18"));
        QCOMPARE(h->state.ModelName, QString("V630"));
        QCOMPARE(h->state.FirmwareVersion, QString("2.8"));
        QCOMPARE(h->state.InputMode, std::optional(protocol::InputFamily::Thermocouple));
        // The other windows follow: the calibration restarts, the sensor types are rebuilt.
        QCOMPARE(h->calibration.restarts, 1);
        QCOMPARE(h->channel.sensorTypeRebuilds, 1);
        const protocol::InstrumentStatus& status = h->configuration.status;
        QCOMPARE(QString::fromStdString(status.date), QString("07/12/26"));
        QCOMPARE(QString::fromStdString(status.time), QString("10:05:02"));
        QCOMPARE(QString::fromStdString(status.systemFlagText), QString("13"));
        QCOMPARE(status.autoscanInterval, 2);
        QCOMPARE(status.recordCount, 512);
        QCOMPARE(status.loggingInterval, 60);
    }

    void theInputModeCaptionsTheDisplayButtons_data() {
        QTest::addColumn<int>("diagnosticLevel");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("leadShown");
        QTest::newRow("resistance") << 0 << "80"
                                    << "Resistance" << true;
        QTest::newRow("resistance, other flags") << 0x20 << "97"
                                                 << "Resistance" << true;
        QTest::newRow("thermocouple") << 0 << "00"
                                      << "MilliVolt" << false;
        QTest::newRow("thermocouple, diagnostic 0x20") << 0x20 << "7F"
                                                       << "MilliVolt/R" << false;
        QTest::newRow("flag that is no number") << 0 << "zz"
                                                << "MilliVolt" << false;
    }
    void theInputModeCaptionsTheDisplayButtons() {
        QFETCH(int, diagnosticLevel);
        QFETCH(QString, flag);
        QFETCH(QString, caption);
        QFETCH(bool, leadShown);
        h->settings.Set("Control", "Diagnostic Level", std::to_string(diagnosticLevel));
        h->Start();
        QVERIFY(!h->Find<QRadioButton>("rbLead")->isHidden()); // the form's state until then
        h->port.Receive(Replies::Status("V420", flag.toStdString()));
        QCOMPARE(h->Find<QRadioButton>("rbMilliVolt")->text(), caption);
        QCOMPARE(!h->Find<QRadioButton>("rbLead")->isHidden(), leadShown);
        QCOMPARE(h->state.InputMode,
                 std::optional(leadShown ? protocol::InputFamily::Resistance
                                         : protocol::InputFamily::Thermocouple));
    }

    void theModelDecidesTheOutputLedsAndTheConfigurationLayout() {
        h->port.Receive(Replies::Status("V630"));
        QCOMPARE(h->configuration.width, 620);
        QVERIFY(h->configuration.zeroLogShown);
        for (int channel = 1; channel <= 8; ++channel) {
            QVERIFY(!h->Find(QString("iLedRed%1").arg(channel))->isHidden());
            QVERIFY(!h->Find(QString("iLedGray%1").arg(channel))->isHidden());
        }
        h->port.Receive(Replies::Framed("O85"));
        for (int channel = 1; channel <= 8; ++channel) {
            const bool active = channel == 1 || channel == 3 || channel == 8;
            QCOMPARE(!h->Find(QString("iLedRed%1").arg(channel))->isHidden(), active);
            QCOMPARE(!h->Find(QString("iLedGray%1").arg(channel))->isHidden(), !active);
        }
        // An outputs byte that is no number changes nothing.
        h->port.Receive(Replies::Framed("Ox1"));
        QVERIFY(!h->Find("iLedRed1")->isHidden());

        // Another model leaves them as they are; a V420 has no outputs.
        h->port.Receive(Replies::Status("V999"));
        QVERIFY(!h->Find("iLedRed1")->isHidden());
        QCOMPARE(h->configuration.width, 620);
        h->port.Receive(Replies::Status("V420", "00", "2.1"));
        QCOMPARE(h->configuration.width, 230);
        for (int channel = 1; channel <= 8; ++channel) {
            QVERIFY(h->Find(QString("iLedRed%1").arg(channel))->isHidden());
            QVERIFY(h->Find(QString("iLedGray%1").arg(channel))->isHidden());
        }
    }

    void aV420OffersTheLogPointerResetFromFirmwareTwoOn_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("shown");
        QTest::newRow("2.0") << "2.0" << true;
        QTest::newRow("1.9") << "1.9" << false;
        QTest::newRow("no digit") << "x.1" << false;
    }
    void aV420OffersTheLogPointerResetFromFirmwareTwoOn() {
        QFETCH(QString, version);
        QFETCH(bool, shown);
        h->port.Receive(Replies::Status("V420", "00", version.toStdString()));
        QCOMPARE(h->configuration.zeroLogShown, shown);
    }

    void aShortStatusReplyStillNamesWhatItHas() {
        h->port.Receive(Replies::Framed("S2612071005"));
        QCOMPARE(h->Form().windowTitle(), QString(" Control Panel - "));
        QCOMPARE(h->state.InputMode, std::optional(protocol::InputFamily::Thermocouple));
        // Still no known model: the status goes on being asked.
        h->Polls();
        h->Tick();
        QCOMPARE(h->Polls(), std::string("S"));
    }

    void theChannelReplyReachesBothWindowsWithTheTypeNameOfTheInputMode() {
        // Channel 0 asked last: whatever list the channel window shows, the name comes from the
        // table of the input mode.
        h->port.Receive(Replies::Status("V630", "00"));
        h->port.Receive(Replies::Framed("301  1.0500 -0.2500"));
        QCOMPARE(h->channel.replies, QStringList{"3 1   1.0500  -0.2500"});
        QCOMPARE(h->calibration.replies, QStringList{"3 1 K   1.0500  -0.2500"});
        h->port.Receive(Replies::Status("V630", "80"));
        h->port.Receive(Replies::Framed("500  1.0000  0.0000"));
        QCOMPARE(h->calibration.replies.last(), QString("5 0 PT100   1.0000   0.0000"));
        // A type code that is no number ends the reply there.
        h->port.Receive(Replies::Framed("3x1  1.0500 -0.2500"));
        QCOMPARE(h->channel.replies.size(), 2);
    }

    void theOtherRepliesReachTheirWindows() {
        h->port.Receive(Replies::Framed("A03,02,05,  -12,    1,    2,01"));
        QCOMPARE(h->configuration.outputs.size(), std::size_t{1});
        QCOMPARE(h->configuration.outputs[0],
                 (protocol::AlarmOutputSetting{3, 2, 5, -12, 1, 2, 1}));
        std::string registers = "X";
        for (int k = 0; k < 32; ++k) {
            registers += QString::asprintf("%02X", k).toStdString();
        }
        h->port.Receive(Replies::Framed(registers));
        QCOMPARE(h->engineering.registers.size(), 32);
        QCOMPARE(h->engineering.registers.last(), QString("1F"));
        h->port.Receive(Replies::Framed("f0501"));
        QCOMPARE(h->engineering.filterConstant, QString("05"));
        QCOMPARE(h->engineering.mains, std::optional<bool>(true));
        h->port.Receive(Replies::Framed("f25x0"));
        QCOMPARE(h->engineering.filterConstant, QString("25"));
        QCOMPARE(h->engineering.mains, std::nullopt);
        h->port.Receive(Replies::Framed("ZAB12\r"));
        QCOMPARE(h->calibration.serialNumber, QString("AB12"));
    }

private:
    std::unique_ptr<PanelHarness> h;
};

QTEST_MAIN(RepliesTest)
#include "test_Replies.moc"
