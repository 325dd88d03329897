// The pick-one-item and enter-a-value dialogs and the About box.
#include "ui/dialogs/About.h"
#include "ui/dialogs/Enter.h"
#include "ui/dialogs/Select.h"
#include "ui/panel/WindowPlacement.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

const QPoint kPointer(500, 400);
const QStringList kTypes = {"OFF", "ON", "HIGH", "LOW", "BAND"};

// Runs `act` inside the modal loop the dialog is about to start.
void WhileShown(QDialog& dialog, std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, &dialog, [&dialog, act] { act(dialog); });
}

void Key(QDialog& dialog, const char* control, Qt::Key key) {
    QTest::keyClick(dialog.findChild<QWidget*>(control), key);
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void pickDialogAnswers() {
        const struct {
            const char* control;
            Qt::Key key;
            int preselected;
            std::optional<int> result;
        } rows[] = {
            {"ListBox1", Qt::Key_Return, 2, 2},
            {"bCancel", Qt::Key_Enter, 4, 4}, // Enter is OK whichever control has the focus
            {"ListBox1", Qt::Key_Escape, 2, std::nullopt},
            {"bOK", Qt::Key_Return, -1, std::nullopt}, // OK with nothing selected
        };
        TfSelect dialog;
        QCOMPARE(dialog.findChild<QLabel*>("lLegend")->text(), QString("Selection:"));
        for (const auto& row : rows) {
            dialog.SelectResult = true;
            QPoint shownAt;
            WhileShown(dialog, [&](QDialog& shown) {
                shownAt = shown.pos();
                Key(shown, row.control, row.key);
            });
            QCOMPARE(dialog.SelectItem("Select Output Type:", kTypes, row.preselected, kPointer),
                     row.result);
            QCOMPARE(dialog.findChild<QListWidget*>("ListBox1")->count(), 5);
            QCOMPARE(shownAt, kPointer - QPoint(160 + 10, 175 + 10));
        }
        QCOMPARE(dialog.findChild<QLabel*>("lLegend")->text(), QString("Select Output Type:"));
    }

    void theCloseBoxRejectsBothDialogs() {
        TfSelect select;
        WhileShown(select, [](QDialog& shown) { shown.close(); });
        QCOMPARE(select.SelectItem("Select Polarity:", {"Normal", "Inverted"}, 0, kPointer),
                 std::optional<int>());
        TfEnter enter;
        WhileShown(enter, [](QDialog& shown) { shown.close(); });
        QCOMPARE(enter.EnterValue("Enter Band:", "1", kPointer), std::optional<QString>());
    }

    void enterDialogAnswers() {
        TfEnter dialog;
        WhileShown(dialog, [](QDialog& shown) {
            auto* edit = shown.findChild<QLineEdit*>("eValue");
            QCOMPARE(edit->text(), QString("20"));
            QTest::keyClicks(edit, "35");
            QTest::keyClick(edit, Qt::Key_Return);
        });
        QCOMPARE(dialog.EnterValue("Enter Trigger Value:", "20", kPointer),
                 std::optional<QString>("35"));
        QCOMPARE(dialog.pos(), kPointer - QPoint(160 + 10, 150 + 10));
        WhileShown(dialog, [](QDialog& shown) { Key(shown, "eValue", Qt::Key_Escape); });
        QCOMPARE(dialog.EnterValue("Enter Hysteresis:", "1", kPointer), std::optional<QString>());
        QVERIFY(!dialog.EnterResult);
        WhileShown(dialog, [](QDialog& shown) { shown.findChild<QPushButton*>("bOK")->click(); });
        QCOMPARE(dialog.EnterValue("Enter Band:", "7", kPointer), std::optional<QString>("7"));
    }

    void aboutFollowsTheModel() {
        QString model = "Vxxx";
        TfAbout about([&model] { return model; });
        QCOMPARE(about.windowTitle(), QString("About"));
        QCOMPARE(about.size(), QSize(420, 178));
        QCOMPARE(about.pos(), CentredOnScreen(about.size()));
        QCOMPARE(about.findChild<QLabel*>("lProgramName")->text(), QString("Vxxx Control Panel"));
        QCOMPARE(about.findChild<QLabel*>("lVersion")->text(),
                 QString("10 November 2018 Version 2.8"));
        QVERIFY(about.findChild<QLabel*>("lCopyright")->text().startsWith("Copyright"));
        model = "V630";
        WhileShown(about, [](QDialog& shown) {
            QCOMPARE(shown.findChild<QLabel*>("lProgramName")->text(),
                     QString("V630 Control Panel"));
            shown.findChild<QPushButton*>("bExit")->click();
        });
        about.ShowModal();
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(DialogsTest)
#include "test_Dialogs.moc"
