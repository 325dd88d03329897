// The stages of the procedure: Next through Zero, Span and Ready, the sampling that waits for
// the readings to settle, and the new m and c of every selected channel.
#include "Calibration.h"
#include "Scaling.h"
#include "SettleRule.h"
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
    }
    AddLine(QStringLiteral("- Calibration data is ready"));
    AddLine(QStringLiteral("- Click Send to update instrument"));
}

void TfCalibrate::StartSampling() {
    Timer5->start();
    SetSampling(true);
    AddLine(QStringLiteral("- Sampling..."));
    AddLine(QStringLiteral("- Wait for auto-complete or click Next to force to next stage"));
    context_.frames.SendPoll(ReadingPoll());
}

void TfCalibrate::EndSampling() {
    Timer5->stop();
    SetSampling(false);
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
    if (!correction) {
        column.m->setText(ChannelColumn::kNoSlope);
        column.c->setText(ChannelColumn::kNoSlope);
        SetBackground(column.m, ChannelColumn::kMoving);
        SetBackground(column.c, ChannelColumn::kMoving);
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
    context_.frames.SendPoll(ReadingPoll());
    if (phase != phase_) {
        return;
    }
    bool allSettled = true;
    for (int channel = firstChannel_; channel < CalibrationMemory::kChannels; ++channel) {
        ChannelColumn& column = columns_[channel];
        if (!Checked(channel)) {
            continue;
        }
        column.live->setText(main->ChannelDisplayText(channel));
        if (!sampling_) {
            continue;
        }
        QLabel* reading = stage_ == Stage::Zero ? column.zero : column.span;
        const bool settled = SettleRule::Apply(
            column.settleCountdown, ShownNumber(column.live->text()), ShownNumber(reading->text()),
            SettleRule::Threshold(context_.state.InputMode, channel));
        SetBackground(reading, settled ? ChannelColumn::kSettled : ChannelColumn::kMoving);
        reading->setText(column.live->text());
        allSettled = allSettled && settled;
    }
    if (sampling_ && allSettled && ReferencesReadable(false)) {
        bNextClick();
    }
}
