#include "EmfReader.h"
#include "ManualClock.h"
#include "MemorySettingsStore.h"
#include "ScriptedOperator.h"
#include "ui/chart/LineChart.h"
#include "ui/chart/uChart.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

std::chrono::system_clock::time_point LocalTime(int hour, int minute, int second) {
    const QDateTime moment(QDate(2026, 12, 7), QTime(hour, minute, second));
    return std::chrono::system_clock::time_point(
        std::chrono::milliseconds(moment.toMSecsSinceEpoch()));
}

// Channel ch at ring position k holds ch * 100 + k, so every point tells where it came from.
ReadingHistory NumberedHistory(int newest) {
    ReadingHistory history;
    for (int ch = 1; ch <= ReadingHistory::kChannels; ++ch) {
        for (int k = 0; k < ReadingHistory::kDepth; ++k) {
            history.values[ch - 1][k] = static_cast<float>(ch * 100 + k);
        }
    }
    history.newest = newest;
    return history;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList ReadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QString text = QString::fromLatin1(file.readAll());
    if (!text.endsWith("\r\n")) {
        return {"(no CR LF at the end)"};
    }
    text.chop(2);
    return text.split("\r\n");
}

} // namespace

class ChartWindowTest : public QObject {
    Q_OBJECT

private:
    MemorySettingsStore settings;
    ScriptedOperator operatorInteraction;
    ReadingHistory history;
    std::unique_ptr<ManualClock> clock;
    QString model = "V420";
    std::unique_ptr<QTemporaryDir> directory;
    QString previousDirectory;

    std::unique_ptr<TForm2> MakeForm(int pollSeconds = 2) {
        return std::make_unique<TForm2>(
            settings, operatorInteraction, history, [this] { return model; }, pollSeconds, *clock);
    }
    static LineChart* ChartOf(TForm2& form) { return form.findChild<LineChart*>("Chart1"); }
    static QString Title(TForm2& form) { return ChartOf(form)->TitleFirstLine(); }
    static std::size_t Points(TForm2& form) { return form.Series1->Count(); }
    template <typename Control> static Control* Find(TForm2& form, const char* name) {
        return form.findChild<Control*>(name);
    }
    // Two ticks restart the chart; from then on ticks add points.
    void Start(TForm2& form) {
        form.Timer1Timer();
        form.Timer1Timer();
    }

private slots:
    void init() {
        settings = MemorySettingsStore();
        operatorInteraction = ScriptedOperator();
        history = ReadingHistory();
        clock = std::make_unique<ManualClock>(LocalTime(10, 15, 0));
        QLocale::setDefault(QLocale::c());
        directory = std::make_unique<QTemporaryDir>();
        previousDirectory = QDir::currentPath();
        QDir::setCurrent(directory->path());
    }
    void cleanup() {
        QDir::setCurrent(previousDirectory);
        QLocale::setDefault(QLocale::c());
        QVERIFY(operatorInteraction.unexpected.isEmpty());
    }

    void controlsCarryTheirCaptionsAndHints() {
        auto form = MakeForm();
        QCOMPARE(form->windowTitle(), QString("Real Time Chart"));
        QCOMPARE(Find<QWidget>(*form, "Chart1")->toolTip(), QString("Real Time Chart"));
        QCOMPARE(Find<QWidget>(*form, "Panel2")->toolTip(), QString("Options panel"));
        const std::vector<std::tuple<const char*, const char*, const char*>> buttons{
            {"CheckBox1", "1", "Select channel(s) to display"},
            {"CheckBox8", "8", "Select channel(s) to display"},
            {"rbStyle2D", "2D", "Select 2D or 3D chart"},
            {"rbStyle3D", "3D", "Select 2D or 3D chart"},
            {"cbAutoScale", "Auto", "Select fix or variable [Auto] scaling"},
            {"bClear", "Clear", "Clear Chart"},
            {"bPrint", "Chart", "Save Chart in WMF format"},
            {"bData", "Data", "Save Data in CSV format"},
        };
        for (const auto& [name, caption, hint] : buttons) {
            const auto* button = Find<QAbstractButton>(*form, name);
            QVERIFY2(button != nullptr, name);
            QCOMPARE(button->text(), QString(caption));
            QCOMPARE(button->toolTip(), QString(hint));
        }
        QCOMPARE(Find<QWidget>(*form, "Panel1")->toolTip(),
                 QString("Select channel(s) to display"));
        QCOMPARE(Find<QWidget>(*form, "Panel5")->toolTip(), QString("Save Chart"));
        const QStringList titles{"Channel 1", "Channel 2", "Channel 3", "Channel 4",
                                 "Channel 5", "Channel 6", "Channel 7", "Channel 8"};
        const QStringList colours{"red",   "green", "yellow",  "blue",
                                  "white", "grey",  "fuchsia", "teal"};
        for (int i = 0; i < 8; ++i) {
            const auto* series = form->findChild<LineSeries*>(QString("Series%1").arg(i + 1));
            QVERIFY(series != nullptr);
            QCOMPARE(series->Title(), titles[i]);
            QCOMPARE(series->Colour(), QColor(colours[i]));
        }
        QCOMPARE(Title(*form), QString("Chart"));
    }

    // Without stored settings: all channels, Auto, and 3D (Style3D is read after Style2D).
    void startsFromTheDefaultsWhenNothingIsStored() {
        auto form = MakeForm();
        for (int i = 1; i <= 8; ++i) {
            QVERIFY(Find<QCheckBox>(*form, qPrintable(QString("CheckBox%1").arg(i)))->isChecked());
        }
        QVERIFY(Find<QCheckBox>(*form, "cbAutoScale")->isChecked());
        QVERIFY(Find<QRadioButton>(*form, "rbStyle3D")->isChecked());
        QVERIFY(!Find<QRadioButton>(*form, "rbStyle2D")->isChecked());
        QVERIFY(ChartOf(*form)->View3D());
        QCOMPARE(form->size(), QSize(681, 465));
        QVERIFY(!form->isVisible());
        const auto* timer = form->findChild<QTimer*>("Timer1");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 2000);
    }

    void settingsSurviveAClose() {
        settings.Set("Control", "Left2", "40");
        settings.Set("Control", "Top2", "30");
        settings.Set("Control", "Width2", "700");
        settings.Set("Control", "Height2", "500");
        settings.Set("Control", "Visible2", "1");
        settings.Set("Chart", "Series3", "0");
        settings.Set("Chart", "AutoScale", "0");
        settings.Set("Chart", "Style2D", "1");
        settings.Set("Chart", "Style3D", "0");
        {
            auto form = MakeForm();
            QVERIFY(form->isVisible());
            QCOMPARE(form->pos(), QPoint(40, 30));
            QCOMPARE(form->size(), QSize(700, 500));
            QVERIFY(!form->Series3->Active());
            QVERIFY(!Find<QCheckBox>(*form, "CheckBox3")->isChecked());
            QVERIFY(!Find<QCheckBox>(*form, "cbAutoScale")->isChecked());
            QVERIFY(Find<QRadioButton>(*form, "rbStyle2D")->isChecked());
            QVERIFY(!ChartOf(*form)->View3D());

            Find<QCheckBox>(*form, "CheckBox7")->click();
            Find<QRadioButton>(*form, "rbStyle3D")->click();
            form->FormClose();
            QVERIFY(!form->isVisible());
        }
        QCOMPARE(settings.Get("Control", "Visible2"), std::optional<std::string>("1"));
        QCOMPARE(settings.Get("Control", "Width2"), std::optional<std::string>("700"));
        QCOMPARE(settings.Get("Chart", "Series3"), std::optional<std::string>("0"));
        QCOMPARE(settings.Get("Chart", "Series7"), std::optional<std::string>("0"));
        QCOMPARE(settings.Get("Chart", "Series1"), std::optional<std::string>("1"));
        QCOMPARE(settings.Get("Chart", "AutoScale"), std::optional<std::string>("0"));
        QCOMPARE(settings.Get("Chart", "Style2D"), std::optional<std::string>("0"));
        QCOMPARE(settings.Get("Chart", "Style3D"), std::optional<std::string>("1"));

        auto again = MakeForm();
        QVERIFY(!again->Series7->Active());
        QVERIFY(!again->Series3->Active());
        QVERIFY(again->Series1->Active());
        QVERIFY(ChartOf(*again)->View3D());
        QCOMPARE(again->pos(), QPoint(40, 30));
        again->hide();
        again->FormClose();
        QCOMPARE(settings.Get("Control", "Visible2"), std::optional<std::string>("0"));
    }

    void unreadableOrUnwritableSettingsDoNotStopTheWindow() {
        settings.SetFailReads(true);
        auto form = MakeForm();
        QVERIFY(ChartOf(*form)->View3D());
        settings.SetFailReads(false);
        settings.SetFailWrites(true);
        form->show();
        form->FormClose();
        QVERIFY(!form->isVisible());
        QCOMPARE(operatorInteraction.errors.size(), 1);
    }

    void firstTwoTicksRestartThenPointsAccumulate() {
        history = NumberedHistory(5);
        auto form = MakeForm();
        form->Timer1Timer();
        QCOMPARE(Points(*form), std::size_t{1});
        const QString firstTitle = Title(*form);
        clock->Advance(2000);
        history.newest = 6;
        form->Timer1Timer();
        QCOMPARE(Points(*form), std::size_t{1});
        QCOMPARE(form->Series1->YValue(0), 106.0f);
        QCOMPARE(form->Series8->YValue(0), 806.0f);
        QVERIFY(Title(*form) != firstTitle);
        form->Timer1Timer();
        form->Timer1Timer();
        QCOMPARE(Points(*form), std::size_t{3});
        QCOMPARE(form->Series4->YValue(2), 406.0f);

        // Clear restarts at once with one point and a new start time; the next tick appends.
        clock->Advance(60000);
        form->bClearClick();
        QCOMPARE(Points(*form), std::size_t{1});
        QVERIFY(Title(*form).contains("Start: 07/12/26 10:16:02 -"));
        form->Timer1Timer();
        QCOMPARE(Points(*form), std::size_t{2});
    }

    void withoutAutoTheNewest43To59ShowTheLast41Readings() {
        settings.Set("Chart", "AutoScale", "0");
        history = NumberedHistory(43);
        auto form = MakeForm();
        Start(*form);
        form->Timer1Timer();
        for (LineSeries* series : {form->Series1, form->Series8}) {
            QCOMPARE(series->Count(), std::size_t{41});
        }
        QCOMPARE(form->Series1->YValue(0), 102.0f);  // ring position 2
        QCOMPARE(form->Series1->YValue(40), 142.0f); // position 42, the newest one left out
        QCOMPARE(form->Series8->YValue(40), 842.0f);
        history.newest = 59;
        form->Timer1Timer();
        QCOMPARE(form->Series2->YValue(0), 218.0f);
        QCOMPARE(form->Series2->YValue(40), 258.0f);
        // After the wrap the chart grows again from what it shows.
        history.newest = 0;
        form->Timer1Timer();
        QCOMPARE(Points(*form), std::size_t{42});
        QCOMPARE(form->Series1->YValue(41), 100.0f);
        history.newest = 42;
        form->Timer1Timer();
        QCOMPARE(Points(*form), std::size_t{43});
    }

    void withAutoTheChartGrowsOnePointPerTick() {
        history = NumberedHistory(50);
        auto form = MakeForm();
        Start(*form);
        for (int tick = 0; tick < 500; ++tick) {
            form->Timer1Timer();
        }
        QCOMPARE(Points(*form), std::size_t{501});
        QCOMPARE(form->Series5->YValue(500), 550.0f);
    }

    void titleShowsStartPeriodAndLastSample() {
        model = "V420";
        auto form = MakeForm(2);
        form->Timer1Timer();
        clock->Advance(2000);
        form->Timer1Timer();
        clock->Advance(300000);
        form->Timer1Timer();
        QCOMPARE(Title(*form),
                 QString("V420 Start: 07/12/26 10:15:02 -  Every: 2s - End: 07/12/26 10:20:02"));

        auto slower = MakeForm(5);
        slower->Timer1Timer();
        QVERIFY(Title(*slower).contains(" -  Every: 5s - End: "));
        slower->SetSamplingPeriod(3600 * 1000);
        QCOMPARE(slower->findChild<QTimer*>("Timer1")->interval(), 3600000);
        slower->Timer1Timer();
        QVERIFY(Title(*slower).contains(" -  Every: 3600s - End: "));
    }

    void hiddenChannelsKeepReceivingPoints() {
        settings.Set("Chart", "Style3D", "0");
        history = NumberedHistory(10);
        auto form = MakeForm();
        Start(*form);
        auto* box = Find<QCheckBox>(*form, "CheckBox3");
        box->click();
        QVERIFY(!form->Series3->Active());
        form->Timer1Timer();
        form->Timer1Timer();
        box->click();
        QVERIFY(form->Series3->Active());
        QCOMPARE(form->Series3->Count(), std::size_t{3});
        Find<QRadioButton>(*form, "rbStyle3D")->click();
        QVERIFY(ChartOf(*form)->View3D());
        Find<QRadioButton>(*form, "rbStyle2D")->click();
        QVERIFY(!ChartOf(*form)->View3D());
    }

    void dataFileHoldsTheTitleAndPointsOneToL() {
        history = NumberedHistory(0);
        history.values[0][0] = 21.5f;
        history.values[1][0] = 21.4375f;
        history.values[2][0] = -3.0f;
        history.values[3][0] = 0.0f;
        auto form = MakeForm();
        Start(*form);
        operatorInteraction.AnswerYes();
        form->bDataClick();
        const QString name = "Data 20261207101500.csv";
        QCOMPARE(operatorInteraction.questions.last(), "Saving Chart data to " + name);
        QCOMPARE(ReadLines(name), QStringList{Title(*form)});

        for (int tick = 0; tick < 10; ++tick) {
            form->Timer1Timer();
        }
        clock->Advance(1000);
        operatorInteraction.AnswerYes();
        form->bDataClick();
        const QStringList lines = ReadLines("Data 20261207101501.csv");
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines[0], Title(*form));
        QCOMPARE(lines[10],
                 QString("21.5000;21.4375;-3.0000;0.0000;500.0000;600.0000;700.0000;800.0000"));

        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        clock->Advance(1000);
        operatorInteraction.AnswerYes();
        form->bDataClick();
        QCOMPARE(ReadLines("Data 20261207101502.csv").at(1),
                 QString("21,5000;21,4375;-3,0000;0,0000;500,0000;600,0000;700,0000;800,0000"));
    }

    void savesNothingOnNoAndReportsAFileThatCannotBeMade() {
        auto form = MakeForm();
        Start(*form);
        operatorInteraction.AnswerNo(2);
        form->bDataClick();
        form->bPrintClick();
        QCOMPARE(QDir().entryList(QDir::Files), QStringList());
        QCOMPARE(operatorInteraction.questions.last(),
                 QString("Saving Chart to Chart 20261207101500.wmf"));

        // A directory in the file's place cannot be opened as a file.
        QVERIFY(QDir().mkdir("Data 20261207101500.csv"));
        QVERIFY(QDir().mkdir("Chart 20261207101500.wmf"));
        operatorInteraction.AnswerYes(2);
        form->bDataClick();
        form->bPrintClick();
        QCOMPARE(operatorInteraction.errors.size(), 2);
        QVERIFY(operatorInteraction.errors[0].contains("Data 20261207101500.csv"));
        QVERIFY(operatorInteraction.errors[1].contains("Chart 20261207101500.wmf"));
    }

    void chartPictureIsAMetafileWithEveryShownLineAndTheTitle() {
        settings.Set("Chart", "Series2", "0");
        history = NumberedHistory(30);
        auto form = MakeForm();
        form->show();
        Start(*form);
        for (int tick = 0; tick < 19; ++tick) {
            history.newest = 31 + tick;
            form->Timer1Timer();
        }
        operatorInteraction.AnswerYes();
        form->bPrintClick();
        const EmfPicture picture = ReadEmf("Chart 20261207101500.wmf");
        QVERIFY2(picture.fault.isEmpty(), qPrintable(picture.fault));
        const auto lines = PolylinesOf(picture);
        for (const LineSeries* series : {form->Series1, form->Series2, form->Series8}) {
            const bool drawn = std::any_of(lines.begin(), lines.end(), [&](const EmfLine& line) {
                return line.points.size() >= 20 &&
                       line.colour.rgb() == series->Colour().darker(150).rgb();
            });
            QCOMPARE(drawn, series->Active());
        }
        QVERIFY(TextsOf(picture).contains(Title(*form)));
    }

    // A download shown in place of the live chart, which keeps sampling; a file of another kind
    // leaves it as it is.
    void aLoggedFileShowsInPlaceOfTheLiveChartUntilLive() {
        WriteFile("V630 20261207101500.csv",
                  "0001,07/12/26 10:00:00;21.5000;1;2;3;4;5;6;7.2500\r\n"
                  "0002,07/12/26 10:00:10;21.6000;1;2;3;4;5;6;7.5000\r\n"
                  "0003,07/12/26 10:00:x0;21.7000;1;2;3;4;5;6;7.7500\r\n"
                  "0004,07/12/26 10:00:30;-2.0000;1;2;3;4;5;6;8.0000\r\n");
        WriteFile("OC20261207101500.txt", "1;HIGH;3;100.0;2.0;1.0;Normal\r\n");
        history = NumberedHistory(5);
        auto form = MakeForm();
        form->show();
        Start(*form);
        auto* live = Find<QPushButton>(*form, "bLive");
        QVERIFY(!live->isEnabled());

        operatorInteraction.ChooseFile(QDir::current().filePath("V630 20261207101500.csv"));
        Find<QPushButton>(*form, "bOpenData")->click();
        QCOMPARE(operatorInteraction.fileFilters, QStringList{"Logged data (*.csv)|*.csv"});
        QCOMPARE(form->windowTitle(), QString("Chart - V630 20261207101500.csv"));
        QVERIFY(live->isEnabled());
        QVERIFY(!Find<QPushButton>(*form, "bClear")->isEnabled());
        QCOMPARE(operatorInteraction.notices,
                 QStringList{"1 line of \"V630 20261207101500.csv\" could not be read and is not "
                             "shown; the first is line 3."});
        auto* fileChart = Find<LineChart>(*form, "FileChart");
        QVERIFY(!fileChart->isHidden() && ChartOf(*form)->isHidden());
        QCOMPARE(fileChart->TitleFirstLine(),
                 QString("V630 20261207101500.csv - First: 07/12/26 10:00:00 - Last: 07/12/26 "
                         "10:00:30 - 3 records"));
        form->Timer1Timer();
        QCOMPARE(Points(*form), std::size_t{2});

        operatorInteraction.AnswerYes();
        form->bDataClick();
        QCOMPARE(ReadLines("Data 20261207101500.csv"),
                 (QStringList{fileChart->TitleFirstLine(),
                              "21.5000;1.0000;2.0000;3.0000;4.0000;5.0000;6.0000;7.2500",
                              "21.6000;1.0000;2.0000;3.0000;4.0000;5.0000;6.0000;7.5000",
                              "-2.0000;1.0000;2.0000;3.0000;4.0000;5.0000;6.0000;8.0000"}));

        // Zoomed in, the data file holds the records in view; "Auto" shows them all again.
        auto* autoScale = Find<QCheckBox>(*form, "cbAutoScale");
        QTest::keyClick(fileChart, Qt::Key_Plus);
        QTest::keyClick(fileChart, Qt::Key_Right);
        QVERIFY(!autoScale->isChecked());
        operatorInteraction.AnswerYes();
        clock->Advance(1000);
        form->bDataClick();
        QCOMPARE(ReadLines("Data 20261207101501.csv").mid(1),
                 QStringList{"21.6000;1.0000;2.0000;3.0000;4.0000;5.0000;6.0000;7.5000"});
        autoScale->click();
        fileChart->RedrawNow();
        QCOMPARE(fileChart->ShownPoints(*form->findChild<LineSeries*>("FileSeries1")).size(), 1u);
        QCOMPARE(fileChart->LastVisibleIndex(*form->findChild<LineSeries*>("FileSeries1")), 2);

        // Neither a file of another kind nor one that is not there changes what is shown.
        operatorInteraction.ChooseFile(QDir::current().filePath("OC20261207101500.txt"));
        operatorInteraction.ChooseFile(QDir::current().filePath("missing.csv"));
        form->bOpenDataClick();
        form->bOpenDataClick();
        QCOMPARE(operatorInteraction.errors.size(), 2);
        QVERIFY(operatorInteraction.errors[0].startsWith(
            "\"OC20261207101500.txt\" is not a file of logged data. Expected a downloaded log"));
        QVERIFY(operatorInteraction.errors[1].startsWith("Cannot open file"));
        QCOMPARE(form->windowTitle(), QString("Chart - V630 20261207101500.csv"));
        QVERIFY(fileChart->TitleFirstLine().endsWith(" - 3 records"));

        // A PC log dropped on the window replaces the download: more lines than the reader's
        // block and the window's batch hold, every one shown in its order.
        QByteArray pcLog;
        for (int second = 0; second < 20000; ++second) {
            pcLog += QTime(11, 0).addSecs(second).toString("'07.12.26 'hh:mm:ss").toLatin1() +
                     ";25.0000;1.0000;2.0000;3.0000;4.0000;5.0000;6.0000;7.0000;" +
                     QByteArray::number(second) + ".0000\r\n";
        }
        WriteFile("PC 20261207110000.csv", pcLog);
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(QDir::current().filePath("PC 20261207110000.csv"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QCoreApplication::sendEvent(form.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QCoreApplication::sendEvent(form.get(), &drop);
        QCOMPARE(form->windowTitle(), QString("Chart - PC 20261207110000.csv"));
        QVERIFY(fileChart->TitleFirstLine().endsWith(" - 20000 records"));
        const auto* lastChannel = form->findChild<LineSeries*>("FileSeries8");
        QCOMPARE(lastChannel->Count(), std::size_t{20000});
        QCOMPARE(lastChannel->YValue(19999), 19999.0f);

        // The channel boxes, the style and the picture work on the file.
        Find<QCheckBox>(*form, "CheckBox3")->click();
        QVERIFY(!form->findChild<LineSeries*>("FileSeries3")->Active());
        Find<QRadioButton>(*form, "rbStyle3D")->click();
        QVERIFY(fileChart->View3D());
        operatorInteraction.AnswerYes();
        form->bPrintClick();
        QVERIFY(TextsOf(ReadEmf("Chart 20261207101501.wmf")).contains(fileChart->TitleFirstLine()));

        live->click();
        QCOMPARE(form->windowTitle(), QString("Real Time Chart"));
        QVERIFY(fileChart->isHidden() && !ChartOf(*form)->isHidden());
        QVERIFY(!live->isEnabled());
        QVERIFY(Find<QCheckBox>(*form, "cbAutoScale")->isChecked());
        form->Timer1Timer();
        QCOMPARE(Points(*form), std::size_t{3});
    }
};

QTEST_MAIN(ChartWindowTest)
#include "test_uChart.moc"
