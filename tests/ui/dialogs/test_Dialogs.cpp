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

// The control the Tab key moves to from this one.
QWidget* NextTabStop(QWidget* control) {
    QWidget* next = control->nextInFocusChain();
    while ((next->focusPolicy() & Qt::TabFocus) == 0) {
        next = next->nextInFocusChain();
    }
    return next;
}

void Key(QDialog& dialog, const char* control, Qt::Key key) {
    QTest::keyClick(dialog.findChild<QWidget*>(control), key);
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void pickDialogAsDesigned() {
        TfSelect dialog;
        QCOMPARE(dialog.windowTitle(), QString("Select"));
        QCOMPARE(dialog.size(), QSize(160, 175));
        QCOMPARE(dialog.font().pointSize(), 8);
        QCOMPARE(dialog.findChild<QListWidget*>("ListBox1")->font().pointSize(), 10);
        QCOMPARE(dialog.findChild<QLabel*>("lLegend")->text(), QString("Selection:"));
        QVERIFY(!dialog.SelectResult);
        QWidget* list = dialog.findChild<QWidget*>("ListBox1");
        QCOMPARE(NextTabStop(list), dialog.findChild<QWidget*>("bOK"));
        QCOMPARE(NextTabStop(NextTabStop(list)), dialog.findChild<QWidget*>("bCancel"));
    }

    void pickDialogAnswers_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("preselected");
        QTest::addColumn<std::optional<int>>("result");
        QTest::newRow("Enter in the list")
            << "ListBox1" << int(Qt::Key_Return) << 2 << std::optional<int>(2);
        QTest::newRow("Enter on Cancel is OK")
            << "bCancel" << int(Qt::Key_Enter) << 4 << std::optional<int>(4);
        QTest::newRow("Esc") << "ListBox1" << int(Qt::Key_Escape) << 2 << std::optional<int>();
        QTest::newRow("OK with nothing selected")
            << "ListBox1" << int(Qt::Key_Return) << -1 << std::optional<int>();
    }
    void pickDialogAnswers() {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(int, preselected);
        QFETCH(std::optional<int>, result);
        TfSelect dialog;
        dialog.SelectResult = true;
        QPoint shownAt;
        WhileShown(dialog, [&](QDialog& shown) {
            shownAt = shown.pos();
            Key(shown, qPrintable(control), Qt::Key(key));
        });
        QCOMPARE(dialog.SelectItem("Select Output Type:", kTypes, preselected, kPointer), result);
        QCOMPARE(dialog.findChild<QLabel*>("lLegend")->text(), QString("Select Output Type:"));
        QCOMPARE(dialog.findChild<QListWidget*>("ListBox1")->count(), 5);
        QCOMPARE(shownAt, kPointer - QPoint(160 + 10, 175 + 10));
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

    void enterDialogAsDesigned() {
        TfEnter dialog;
        QCOMPARE(dialog.windowTitle(), QString("Enter"));
        QCOMPARE(dialog.size(), QSize(160, 150));
        QCOMPARE(dialog.font().pointSize(), 8);
        QCOMPARE(dialog.findChild<QLabel*>("lLegend")->text(), QString("New value?"));
        QWidget* edit = dialog.findChild<QWidget*>("eValue");
        QCOMPARE(NextTabStop(edit), dialog.findChild<QWidget*>("bCancel"));
        QCOMPARE(NextTabStop(NextTabStop(edit)), dialog.findChild<QWidget*>("bOK"));
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
