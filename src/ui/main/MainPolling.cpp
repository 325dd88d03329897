// The polling timer of the main window: one tick a second drives all regular traffic.
#include "Main.h"
#include "protocol/RequestBuilders.h"
#include "ui/panel/DiagnosticLevel.h"
#include "ui/panel/LocaleText.h"
#include "ui_Main.h"

#include <QTimer>

void TForm1::Timer1Timer() {
    if (state_.Closing) {
        return;
    }
    if (state_.HasDiagnosticBit(DiagnosticBit::kColdJunctionDisplay)) {
        displays_[0].group->setVisible(!state_.ResistanceInputs());
    }
    ui->lClock->setText(DateTimeToText(ToLocalDateTime(clock_.Now())));
    // While the port's device is away nothing goes out: the port opens it again by itself, and
    // a re-selection meanwhile would only find it missing and leave the port closed.
    const bool deviceLost = serialPort_.DeviceLost();
    // A countdown that has somehow gone below 1 elapses at once instead of never.
    if (--state_.PollCountdown <= 0) {
        IntervalElapsed();
    } else if (!deviceLost) {
        InBetweenPoll();
    }
    frames_.WatchdogTick();
    if (!deviceLost && portReselection_.Observe(frames_.OutstandingCount()) &&
        windows_.configuration != nullptr) {
        windows_.configuration->ReselectPort();
    }
}

void TForm1::IntervalElapsed() {
    state_.PollCountdown = IntervalFromText(ui->eInterval->text().toStdString());
    SendReadingPoll();
    if (PcLogging()) {
        if (newReading_) {
            WriteLogLine();
        }
        newReading_ = false;
        logTimeStamp_ = NowText(QStringLiteral("dd.mm.yy hh:mm:ss"));
    }
    if (!state_.HasDiagnosticBit(DiagnosticBit::kNoMinMaxTracking)) {
        displays_.UpdateMinMax();
    }
}

void TForm1::SendReadingPoll() {
    const auto letter = ReadingPoll(SelectedDisplay(), state_.InputMode);
    // No reading is owed for an interval the device was away.
    if (!letter || serialPort_.DeviceLost()) {
        readingPollPending_ = false;
        return;
    }
    // A slow instrument keeps the link busy with the poll in between; the readings must not
    // starve behind it.
    readingPollPending_ = !exchange_.SendIfIdle(protocol::Question::Poll(*letter));
}

void TForm1::InBetweenPoll() {
    if (readingPollPending_ && !frames_.CommsBusy()) {
        SendReadingPoll();
    }
    if (state_.InstrumentModel() == protocol::Model::V630) {
        if (--outputsCountdown_ <= 0) {
            outputsCountdown_ = IntervalFromText(ui->eInterval->text().toStdString()) / 2;
            exchange_.SendIfIdle(protocol::Question::Poll(protocol::Poll::kOutputStates));
        }
    } else if (state_.InstrumentModel() != protocol::Model::V420) {
        // Until the status reply names a known model, every tick in between asks for it.
        exchange_.SendIfIdle(protocol::Question::Poll(protocol::Poll::kStatus));
    }
}

ReadingKind TForm1::SelectedDisplay() const {
    if (ui->rbMilliVolt->isChecked()) {
        return ReadingKind::RawSignal;
    }
    if (ui->rbLead->isChecked()) {
        return ReadingKind::LeadResistance;
    }
    return ReadingKind::Temperature;
}

void TForm1::eIntervalExit() {
    const int interval = IntervalFromText(ui->eInterval->text().toStdString());
    state_.PollCountdown = interval;
    ui->eInterval->setText(QString::number(interval));
    if (windows_.chart != nullptr) {
        windows_.chart->SetSamplingPeriod(interval * 1000);
    }
}
