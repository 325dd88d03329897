// The MQTT broker's settings dialog: what it takes, what it refuses and why, where the password
// goes.
#include "support/MemorySettingsStore.h"
#include "ui/broker/BrokerDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

struct RecordingKeyring final : PasswordKeyring {
    void ReadPassword(const QString&, std::function<void(std::string, QString)> done) override {
        done({}, {});
    }
    void WritePassword(const QString& key, const std::string& password,
                       std::function<void(QString)> done) override {
        written.emplace_back(key, password);
        done({});
    }
    std::vector<std::pair<QString, std::string>> written;
};

} // namespace

class BrokerDialogTest : public QObject {
    Q_OBJECT

private slots:
    void okTakesOnlyWhatCanWork_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("refusal");
        // Name, URL, password, a part of the reason told (empty: taken).
        const char* const rows[][4] = {
            {"off", "", "", ""},
            {"plain", "mqtt://broker.lan/plant", "", ""},
            {"login", "mqtts://logger@broker.lan:8884/plant", "s3cret", ""},
            {"no scheme", "broker.lan/plant", "", "mqtt://"},
            {"password in URL", "mqtt://u:pw@broker.lan/plant", "", "password"},
            {"password, no user", "mqtt://broker.lan/plant", "pw", "user name"},
            {"wildcard", "mqtt://broker.lan/plant/#", "", "#"},
        };
        for (const auto& row : rows) {
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]) << QString(row[3]);
        }
    }

    void okTakesOnlyWhatCanWork() {
        QFETCH(QString, url);
        QFETCH(QString, password);
        QFETCH(QString, refusal);
        MemorySettingsStore store;
        RecordingKeyring keyring;
        int restarts = 0;
        TfBroker dialog(store, keyring, [&restarts] { ++restarts; });
        QString told;
        QTimer::singleShot(0, &dialog, [&] {
            dialog.findChild<QLineEdit*>("eUrl")->setText(url);
            dialog.findChild<QLineEdit*>("ePassword")->setText(password);
            dialog.findChild<QCheckBox*>("cbDiscovery")->setChecked(true);
            QTest::keyClick(dialog.findChild<QLineEdit*>("eUrl"), Qt::Key_Return);
            told = dialog.findChild<QLabel*>("lProblem")->text();
            dialog.reject();
        });
        dialog.EditBrokerSettings();

        const std::optional<std::string> stored = store.ReadValue(kSettingsKey, "Mqtt", "Url");
        if (refusal.isEmpty()) {
            QCOMPARE(told, QString());
            QCOMPARE(QString::fromStdString(stored.value_or("?")), url);
            QCOMPARE(store.ReadValue(kSettingsKey, "Mqtt", "Discovery"), std::optional("1"));
            QCOMPARE(restarts, 1);
        } else {
            QVERIFY2(told.startsWith("Not taken: ") && told.contains(refusal), qPrintable(told));
            QCOMPARE(stored, std::nullopt);
            QCOMPARE(restarts, 0);
        }
        // The password only ever goes to the keyring, under the user at the broker.
        QCOMPARE(keyring.written.size(), password.isEmpty() || !refusal.isEmpty() ? 0u : 1u);
        if (!keyring.written.empty()) {
            QCOMPARE(keyring.written[0].first, QStringLiteral("logger@broker.lan:8884"));
            QCOMPARE(keyring.written[0].second, password.toStdString());
        }
        QCOMPARE(store.ReadValue(kSettingsKey, "Mqtt", "Password"), std::nullopt);
    }
};

QTEST_MAIN(BrokerDialogTest)
#include "test_BrokerDialog.moc"
