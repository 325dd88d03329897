#pragma once

#include "base/Clock.h"
#include "base/SettingsStore.h"
#include "ui/panel/OperatorInteraction.h"
#include "ui/panel/ReadingHistory.h"
#include "ui/panel/SecondaryForm.h"
#include "ui/panel/SecondaryWindows.h"

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class LineChart;
class LineSeries;
struct LoggedFileSummary;
class QCheckBox;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QTimer;

namespace Ui {
class TForm2;
}

// The real-time chart window: samples the reading history on its own timer (period = the poll
// interval) into eight line series, and saves the chart as a picture and its points as a data
// file. It also shows a logged file (a download, a PC log or a chart data file) in place of the
// live chart, which keeps sampling meanwhile. It lives for the whole run; closing it stores its
// settings and hides it, and its timer keeps sampling while it is hidden.
class TForm2 : public SecondaryForm<ChartWindow> {
    Q_OBJECT
public:
    TForm2(SettingsStore& settings, OperatorInteraction& operatorInteraction,
           const ReadingHistory& history, std::function<QString()> modelName,
           int pollCountdownSeconds, Clock& clock, QWidget* parent = nullptr);
    ~TForm2() override;

    // ChartWindow: the sampling period follows the poll interval (seconds x 1000).
    void SetSamplingPeriod(int milliseconds) override;

    // Shows the logged file in place of the live chart. A file that cannot be read, or is none
    // of the files the chart shows, is refused with a message and the chart stays as it was.
    void ShowFile(const QString& path);

    LineSeries* Series1 = nullptr;
    LineSeries* Series2 = nullptr;
    LineSeries* Series3 = nullptr;
    LineSeries* Series4 = nullptr;
    LineSeries* Series5 = nullptr;
    LineSeries* Series6 = nullptr;
    LineSeries* Series7 = nullptr;
    LineSeries* Series8 = nullptr;

public slots:
    // One sampling tick.
    void Timer1Timer();
    // Restarts the chart at once with one point per series.
    void bClearClick();
    // Saves the chart picture "Chart <stamp>.wmf".
    void bPrintClick();
    // Saves the plotted values "Data <stamp>.csv".
    void bDataClick();
    // Series N shows while check box N is checked.
    void CheckBoxClick(int number);
    void rbStyle2DClick();
    void rbStyle3DClick();
    // Opens a logged file through the file dialog.
    void bOpenDataClick();
    // Back to the live chart.
    void bLiveClick();

protected:
    // Size and chart options, beside the window's place.
    void StoreOwnSettings() override;
    // A file dropped on the window opens as bOpenData's does.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool FileShown() const;
    LineChart& ShownChart() const;
    // The "Auto" of the live chart: grow rather than show the recent readings.
    bool LiveAutoScale() const;
    void cbAutoScaleClick();
    // The file chart once a file has been read into it.
    void EnterFileView(const QString& path, const LoggedFileSummary& summary);
    QString FileTitle(const QString& name, const LoggedFileSummary& summary) const;

    void FormCreate(int pollCountdownSeconds);
    void BuildTitlePrefix();
    QDateTime Now() const;
    std::array<QCheckBox*, ReadingHistory::kChannels> CheckBoxes() const;

    std::unique_ptr<Ui::TForm2> ui;
    QTimer* Timer1 = nullptr;
    std::array<LineSeries*, ReadingHistory::kChannels> series_{};
    std::array<LineSeries*, ReadingHistory::kChannels> fileSeries_{};

    SettingsStore& settings_;
    OperatorInteraction& operator_;
    const ReadingHistory& history_;
    std::function<QString()> modelName_;
    Clock& clock_;

    // Restarts since the program started; below 2 a tick restarts the chart.
    int chartStartCounter_ = 0;
    QString chartTitlePrefix_;
    // "Auto" of the live chart while a file is shown, where the box means the whole file.
    bool liveAutoScale_ = true;
};
