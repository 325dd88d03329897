// The alarm outputs table in the whole program, on the simulated V630 and its real dialogs.
#include "ui/config/AlarmOutputsTable.h"
#include "ui/support/LivePanel.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace AlarmOutputs;

namespace {

// Answers the next modal dialog from inside its own loop, once it is open.
void WhenDialogOpens(const std::function<void(QWidget& dialog)>& answer) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(*dialog);
        }
    });
    timer->start(10);
}

} // namespace

class AlarmOutputsLiveTest : public QObject {
    Q_OBJECT

private:
    QWidget* window = nullptr;

    QTableWidget* Grid() { return window->findChild<QTableWidget*>("sgOP"); }
    const AlarmOutputsTable& Table() { return *window->findChild<AlarmOutputsTable*>(); }
    void Click(const char* button) { window->findChild<QPushButton*>(button)->click(); }
    void DoubleClick(int row, int column) {
        QTableWidget* grid = Grid();
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                           grid->viewport()->mapTo(window, cell.center()));
    }
    void Pick(int row, int column, int item) {
        WhenDialogOpens([item](QWidget& dialog) {
            dialog.findChild<QListWidget*>("ListBox1")->setCurrentRow(item);
            dialog.findChild<QPushButton*>("bOK")->click();
        });
        DoubleClick(row, column);
    }
    void Enter(int row, int column, const QString& value) {
        WhenDialogOpens([value](QWidget& dialog) {
            dialog.findChild<QLineEdit*>("eValue")->setText(value);
            dialog.findChild<QPushButton*>("bOK")->click();
        });
        DoubleClick(row, column);
    }
    bool AllInSync() {
        for (int output = 1; output <= kOutputs; ++output) {
            if (Table().Record(output).sync != Sync::InSync) {
                return false;
            }
        }
        return true;
    }

private slots:
    void readEditWriteReadAndTheOutputsSwitchAsConfigured() {
        LivePanel live({}, /*realTime=*/true);
        live.Start();
        live.Form().findChild<QPushButton*>("bConfig")->click();
        window = LivePanel::Window("Form3");
        QTRY_COMPARE_WITH_TIMEOUT(window->width(), 620, 10000);

        Click("bRead");
        QVERIFY(AllInSync());
        QCOMPARE(Table().Record(5).setting, InitialSetting(5));

        // Output 1 goes on above 60 degrees on input 3, output 2 below it.
        Pick(1, kTypeColumn, kTypeHigh);
        Pick(1, kInputColumn, 2);
        Enter(1, kTriggerColumn, "60");
        Pick(2, kTypeColumn, kTypeLow);
        Pick(2, kInputColumn, 2);
        Enter(2, kTriggerColumn, "60");
        const protocol::AlarmOutputSetting high{1, kTypeHigh, 3, 60, 1, 1, 0};
        const protocol::AlarmOutputSetting low{2, kTypeLow, 3, 60, 1, 1, 0};
        QCOMPARE(Table().Record(1).setting, high);
        QCOMPARE(Table().Record(2).sync, Sync::Unknown);

        Click("bWrite");
        Click("bRead");
        QVERIFY(AllInSync());
        QCOMPARE(Table().Record(1).setting, high);
        QCOMPARE(Table().Record(2).setting, low);
        const auto held = [&live](int output) {
            return live.server.WithModel(
                [output](sim::InstrumentModel& model) { return model.Outputs().Setting(output); });
        };
        QCOMPARE(held(1), (sim::OutputSetting{kTypeHigh, 3, 60, 1, 1, 0}));
        QCOMPARE(held(2), (sim::OutputSetting{kTypeLow, 3, 60, 1, 1, 0}));
        QVERIFY(live.operatorAnswers.errors.isEmpty());

        // Input 3 at room temperature, then well above the trigger.
        const auto lit = [&live](int output) {
            return !live.Form()
                        .findChild<QWidget*>(QStringLiteral("iLedRed%1").arg(output))
                        ->isHidden();
        };
        QTRY_VERIFY_WITH_TIMEOUT(!lit(1) && lit(2), 10000);
        live.server.Step({3, sim::InputLevel::Kind::Celsius, 90.0, 0.0});
        QTRY_VERIFY_WITH_TIMEOUT(lit(1) && !lit(2), 10000);
    }
};

QTEST_MAIN(AlarmOutputsLiveTest)
#include "test_AlarmOutputsLive.moc"
