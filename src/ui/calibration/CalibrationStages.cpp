// The stages of the procedure: Next through Zero, Span and Ready, the sampling that waits for
// the readings to settle, and the new m and c of every selected channel.
#include "Calibration.h"
#include "instrument/Scaling.h"
#include "instrument/SettleRule.h"
#include "ui_Calibration.h"

#include <QScopedValueRollback>
#include <QTimer>

void TfCalibrate::bNextClick() {
    // A tick that completes the stage while the operator's own Next waits for an answer or the
    // link leaves the stage to that Next; a second click meanwhile does nothing.
    if (nextRunning_ || locked_) {
        return;
    }
    const QScopedValueRollback running(nextRunning_, true);
    switch (stage_) {
    case Stage::Zero:
        NextInZeroStage();
        break;
    case Stage::Span:
        NextInSpanStage();
        break;
    case Stage::Ready:
        break;
    }
}

void TfCalibrate::NextInZeroStage() {
    OperatorInteraction& operatorInteraction = context_.operatorInteraction;
    if (!sampling_ && !context_.state.InputMode) {
        operatorInteraction.Notify(
            QStringLiteral("The instrument has not reported yet: calibration cannot start"));
        return;
    }
    MainWindow* main = context_.windows.main;
    if (main != nullptr && !main->MilliVoltSelected() &&
        operatorInteraction.Ask(ResistanceInputs() ? QStringLiteral("Switch to Resistance?")
                                                   : QStringLiteral("Switch to Millivolt?"))) {
        main->SelectMilliVolt();
    }
    if (main == nullptr || !main->MilliVoltSelected()) {
        operatorInteraction.Notify(QStringLiteral("Calibration cannot proceed"));
        return;
    }
    for (int channel = firstChannel_; channel < CalibrationMemory::kChannels; ++channel) {
        columns_[channel].settleCountdown = SettleRule::kSettledTicks;
    }
    if (CheckedChannels().empty()) {
        operatorInteraction.Notify(QStringLiteral("No channel selected"));
        return;
    }
    if (!sampling_) {
        if (ReferencesReadable(true)) {
            StartSampling();
        }
        return;
    }
    EndSampling();
    SetStage(Stage::Span);
    AddLine(ConnectLine(ui->e_span->text()));
    AddLine(QStringLiteral("- Click Next when ready"));
}

void TfCalibrate::NextInSpanStage() {
    if (!ReferencesReadable(true)) {
        return;
    }
    if (!sampling_) {
        StartSampling();
        return;
    }
    EndSampling();
    SetStage(Stage::Ready);
    for (const int channel : CheckedChannels()) {
        memory_.channels[channel].pre = columns_[channel].live->text();
        ComputeNewScaling(channel);
        columns_[channel].holdsNewScaling = true;
    }
    AddLine(QStringLiteral("- Calibration data is ready"));
    AddLine(QStringLiteral("- Click Send to update instrument"));
}

void TfCalibrate::StartSampling() {
    for (ChannelColumn& column : columns_) {
        (stage_ == Stage::Zero ? column.zeroReceived : column.spanReceived) = false;
    }
    readingsSeen_ = context_.state.ReadingsReceived;
    Timer5->start();
    SetSampling(true);
    AddLine(QStringLiteral("- Sampling..."));
    AddLine(QStringLiteral("- Wait for auto-complete or click Next to force to next stage"));
    context_.exchange.Send(protocol::Question::Poll(ReadingPoll()));
}

// A channel whose stage read no number for it keeps no value from that stage.
void TfCalibrate::EndSampling() {
    Timer5->stop();
    SetSampling(false);
    std::vector<int> withoutReading;
    for (const int channel : CheckedChannels()) {
        const ChannelColumn& column = columns_[channel];
        if (!(stage_ == Stage::Zero ? column.zeroReceived : column.spanReceived)) {
            withoutReading.push_back(channel);
        }
    }
    if (!withoutReading.empty()) {
        AddLine(QStringLiteral("- No valid reading for ") + ChannelNames(withoutReading) +
                QStringLiteral(": left out"));
    }
}

void TfCalibrate::SetStage(Stage stage) {
    stage_ = stage;
    ++phase_;
    QRadioButton* item = stage == Stage::Zero   ? ui->rbZero
                         : stage == Stage::Span ? ui->rbSpan
                                                : ui->rbReady;
    item->setChecked(true);
}

void TfCalibrate::SetSampling(bool on) {
    sampling_ = on;
    ++phase_;
    ui->rbSampling->setChecked(on);
    if (on && !samplingPause_) {
        samplingPause_.emplace(context_.windows.main);
    } else if (!on) {
        samplingPause_.reset();
    }
}

// The references must read as numbers with '.': a comma would read as 0 and give a wrong m.
bool TfCalibrate::ReferencesReadable(bool tellOperator) {
    for (const QLineEdit* edit : {ui->e_zero, ui->e_span}) {
        if (!IsReferenceNumber(edit->text())) {
            if (tellOperator) {
                context_.operatorInteraction.Notify(
                    QStringLiteral("%1 \"%2\" is not a number: write it with digits and '.'")
                        .arg(edit->toolTip(), edit->text()));
            }
            return false;
        }
    }
    return true;
}

void TfCalibrate::ComputeNewScaling(int channel) {
    ChannelColumn& column = columns_[channel];
    const auto correction =
        Scaling::FromReadings(ShownNumber(ui->e_zero->text()), ShownNumber(ui->e_span->text()),
                              ShownNumber(column.zero->text()), ShownNumber(column.span->text()));
    const bool readingsTaken = column.zeroReceived && column.spanReceived;
    if (!readingsTaken || !correction) {
        const QString& why = readingsTaken ? ChannelColumn::kNoSlope : ChannelColumn::kNoReading;
        for (QLabel* label : {column.m, column.c}) {
            label->setText(why);
            SetBackground(label, ChannelColumn::kMoving);
        }
        return;
    }
    column.m->setText(QString::fromStdString(Scaling::LabelText(correction->m)));
    column.c->setText(QString::fromStdString(Scaling::LabelText(correction->c)));
    SetBackground(column.m, std::nullopt);
    SetBackground(column.c, std::nullopt);
}

void TfCalibrate::Timer5Timer() {
    MainWindow* main = context_.windows.main;
    // The tick before may still wait for the link: this one is skipped, not nested in it.
    if (tickRunning_ || context_.state.Closing || main == nullptr || !main->MilliVoltSelected()) {
        return;
    }
    const QScopedValueRollback running(tickRunning_, true);
    const int phase = phase_;
    // Answered after this tick: the texts read below are those of the previous answer.
    context_.exchange.Send(protocol::Question::Poll(ReadingPoll()));
    if (phase != phase_) {
        return;
    }
    const bool readingCame = context_.state.ReadingsReceived != readingsSeen_;
    readingsSeen_ = context_.state.ReadingsReceived;
    bool allSettled = true;
    for (int channel = firstChannel_; channel < CalibrationMemory::kChannels; ++channel) {
        if (!Checked(channel)) {
            continue;
        }
        columns_[channel].live->setText(main->ChannelDisplayText(channel));
        if (sampling_) {
            allSettled = SampleChannel(channel, readingCame) && allSettled;
        }
    }
    if (sampling_ && allSettled && ReferencesReadable(false)) {
        bNextClick();
    }
}

// One tick of a checked channel while its stage samples: the reading that came moves the
// stage's reading label and the settle count. A reading that is not a number starts the count
// again, and a tick without a reading (a silent link) changes nothing and settles nothing new.
bool TfCalibrate::SampleChannel(int channel, bool readingCame) {
    ChannelColumn& column = columns_[channel];
    bool& received = stage_ == Stage::Zero ? column.zeroReceived : column.spanReceived;
    if (!readingCame) {
        return received && column.settleCountdown == 0;
    }
    QLabel* reading = stage_ == Stage::Zero ? column.zero : column.span;
    const QString text = column.live->text();
    received = IsReading(text);
    bool settled = false;
    if (received) {
        settled = SettleRule::Apply(column.settleCountdown, ShownNumber(text),
                                    ShownNumber(reading->text()),
                                    SettleRule::Threshold(context_.state.InputMode, channel));
    } else {
        column.settleCountdown = SettleRule::kSettledTicks;
    }
    SetBackground(reading, settled ? ChannelColumn::kSettled : ChannelColumn::kMoving);
    reading->setText(text);
    return settled;
}
