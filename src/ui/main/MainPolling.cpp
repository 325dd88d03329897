// The polling timer of the main window: one tick a second drives all regular traffic.
#include "LocaleText.h"
#include "Main.h"
#include "ui/chart/uChart.h"
#include "ui/config/Config.h"
#include "ui_Main.h"

#include <QTimer>

namespace {

constexpr int kColdJunctionDisplay = 0x04;
constexpr int kNoMinMaxTracking = 0x08;

} // namespace

void TForm1::Timer1Timer() {
    if (closed_) {
        return;
    }
    if (diagnosticLevel_ & kColdJunctionDisplay) {
        displays_[0].group->setVisible(inputMode_ != 'P');
    }
    ui->lClock->setText(DateTimeToText(ToLocalDateTime(clock_.Now())));
    // A countdown that has somehow gone below 1 elapses at once instead of never.
    if (--pollCountdown_ <= 0) {
        IntervalElapsed();
    } else {
        InBetweenPoll();
    }
    if (busyWatchdog_.Tick(frames_.CommsBusy(), frames_.TransmittedFrameCount())) {
        frames_.SetCommsBusy(false);
    }
    if (portReselection_.Observe(frames_.OutstandingCount())) {
        windows_.configuration->cbPortChange();
    }
}

void TForm1::IntervalElapsed() {
    const int interval = IntervalFromText(ui->eInterval->text().toStdString());
    pollCountdown_ = interval;
    if (const auto letter = ReadingPollLetter(SelectedDisplay(), inputMode_)) {
        frames_.PollIfIdle(*letter);
    }
    if (PcLogging()) {
        if (newReading_) {
            WriteLogLine();
        }
        newReading_ = false;
        logTimeStamp_ = NowText(QStringLiteral("dd.mm.yy hh:mm:ss"));
    }
    if (!(diagnosticLevel_ & kNoMinMaxTracking)) {
        displays_.UpdateMinMax();
    }
}

void TForm1::InBetweenPoll() {
    if (modelName_ == QLatin1String("V630")) {
        if (--outputsCountdown_ <= 0) {
            outputsCountdown_ = IntervalFromText(ui->eInterval->text().toStdString()) / 2;
            frames_.PollIfIdle('O');
        }
    } else if (modelName_ != QLatin1String("V420")) {
        // Until the status reply names a known model, every tick in between asks for it.
        frames_.PollIfIdle('S');
    }
}

DisplaySelection TForm1::SelectedDisplay() const {
    if (ui->rbMilliVolt->isChecked()) {
        return DisplaySelection::MilliVolt;
    }
    if (ui->rbLead->isChecked()) {
        return DisplaySelection::LeadResistance;
    }
    return DisplaySelection::Temperature;
}

void TForm1::eIntervalExit() {
    const int interval = IntervalFromText(ui->eInterval->text().toStdString());
    pollCountdown_ = interval;
    ui->eInterval->setText(QString::number(interval));
    windows_.chart->SetSamplingPeriod(interval * 1000);
}
