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

class LineSeries;
class QCheckBox;
class QCloseEvent;
class QTimer;

namespace Ui {
class TForm2;
}

// The real-time chart window: samples the reading history on its own timer (period = the poll
// interval) into eight line series, and saves the chart as a picture and its points as a data
// file. It lives for the whole run; closing it stores its settings and hides it, and its timer
// keeps sampling while it is hidden.
class TForm2 : public SecondaryForm<ChartWindow> {
    Q_OBJECT
public:
    TForm2(SettingsStore& settings, OperatorInteraction& operatorInteraction,
           const ReadingHistory& history, std::function<QString()> modelName,
           int pollCountdownSeconds, Clock& clock, QWidget* parent = nullptr);
    ~TForm2() override;

    // ChartWindow: the sampling period follows the poll interval (seconds x 1000).
    void SetSamplingPeriod(int milliseconds) override;

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

protected:
    // Size and chart options, beside the window's place.
    void StoreOwnSettings() override;

private:
    void FormCreate(int pollCountdownSeconds);
    void BuildTitlePrefix();
    QDateTime Now() const;
    std::array<QCheckBox*, ReadingHistory::kChannels> CheckBoxes() const;

    std::unique_ptr<Ui::TForm2> ui;
    QTimer* Timer1 = nullptr;
    std::array<LineSeries*, ReadingHistory::kChannels> series_{};

    SettingsStore& settings_;
    OperatorInteraction& operator_;
    const ReadingHistory& history_;
    std::function<QString()> modelName_;
    Clock& clock_;

    // Restarts since the program started; below 2 a tick restarts the chart.
    int chartStartCounter_ = 0;
    QString chartTitlePrefix_;
};
