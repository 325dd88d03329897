// Sending the new m and c of the selected channels to the instrument, and resetting them.
#include "Calibration.h"
#include "Scaling.h"
#include "protocol/RequestBuilders.h"
#include "ui_Calibration.h"

#include <QScopedValueRollback>

namespace {

constexpr std::uint32_t kSettlingMs = 5000;
// How long Send waits for the reading that shows the new calibration.
constexpr std::uint32_t kPostReadingWaitMs = 3000;

QString ChannelList(const std::vector<int>& channels) {
    QStringList names;
    for (const int channel : channels) {
        names.append(QStringLiteral("Ch%1").arg(channel));
    }
    return names.join(QStringLiteral(", "));
}

} // namespace

void TfCalibrate::bSendClick() {
    OperatorInteraction& operatorInteraction = context_.operatorInteraction;
    const std::vector<int> selected = ConfirmedChannels(ui->bSend->toolTip());
    if (selected.empty()) {
        return;
    }
    if (stage_ != Stage::Ready &&
        !operatorInteraction.Ask(QStringLiteral("Status not Ready, still Send?"))) {
        operatorInteraction.Notify(QStringLiteral("Selected channel not sent"));
        return;
    }
    const ControlsLock lock(*this);

    // A channel without a slope, or whose sensor type the instrument never reported, would be
    // sent a made-up value: it is left out and named.
    std::vector<int> sendable;
    std::vector<int> withoutSlope;
    std::vector<int> withoutType;
    bool mOutOfRange = false;
    bool cOutOfRange = false;
    for (const int channel : selected) {
        const ChannelColumn& column = columns_[channel];
        if (column.m->text() == ChannelColumn::kNoSlope ||
            column.c->text() == ChannelColumn::kNoSlope) {
            withoutSlope.push_back(channel);
        } else if (!column.typeCode) {
            withoutType.push_back(channel);
        } else {
            sendable.push_back(channel);
            mOutOfRange = mOutOfRange || Scaling::MOutOfRange(ShownNumber(column.m->text()));
            cOutOfRange = cOutOfRange || Scaling::COutOfRange(ShownNumber(column.c->text()));
        }
    }
    if (mOutOfRange) {
        operatorInteraction.Notify(QString::fromStdString(Scaling::MOutOfRangeMessage()));
    }
    if (cOutOfRange) {
        operatorInteraction.Notify(QString::fromStdString(Scaling::COutOfRangeMessage()));
    }
    std::vector<int> sent;
    for (const int channel : sendable) {
        if (context_.state.Closing) {
            break;
        }
        SendChannel(channel);
        sent.push_back(channel);
    }
    if (!withoutSlope.empty()) {
        operatorInteraction.Notify(QStringLiteral("Not sent, span reading equals zero reading: ") +
                                   ChannelList(withoutSlope));
    }
    if (!withoutType.empty()) {
        operatorInteraction.Notify(
            QStringLiteral("Not sent, sensor type not reported by the instrument: ") +
            ChannelList(withoutType));
    }
    if (sent.empty()) {
        return;
    }
    TakePostReadings(sent);
    AddLine(QStringLiteral("- Calibration data sent"));
}

// m and c as they go out (held to their range) become the labels' and the memory's texts.
void TfCalibrate::SendChannel(int channel) {
    ChannelColumn& column = columns_[channel];
    const std::string m = Scaling::SendField(Scaling::MToSend(ShownNumber(column.m->text())));
    const std::string c = Scaling::SendField(Scaling::CToSend(ShownNumber(column.c->text())));
    memory_.channels[channel].m = QString::fromStdString(m);
    memory_.channels[channel].c = QString::fromStdString(c);
    column.m->setText(memory_.channels[channel].m);
    column.c->setText(memory_.channels[channel].c);
    context_.frames.SendRequest(CalibrationRequest(channel, *column.typeCode, m, c));
    context_.clock.Sleep(kAfterRequestMs);
    context_.pump.ProcessPending();
}

// Post is the reading after the new calibration: it comes only from a reading reply that
// arrived after the instrument had the settling time, never from the labels that stopped at
// Ready (which would record the calibration as checked when it never was).
void TfCalibrate::TakePostReadings(const std::vector<int>& channels) {
    context_.frames.SendPoll(ReadingPoll());
    context_.pump.ProcessPending();
    context_.clock.Sleep(kSettlingMs);
    context_.pump.ProcessPending();

    const int newestBefore = context_.state.History.newest;
    context_.frames.SendPoll(ReadingPoll());
    const std::uint32_t start = context_.clock.TickCount();
    while (context_.state.History.newest == newestBefore && !context_.state.Closing &&
           context_.clock.TickCount() - start < kPostReadingWaitMs) {
        context_.pump.WaitAndProcess();
    }
    const bool readingCame = context_.state.History.newest != newestBefore;
    MainWindow* main = context_.windows.main;
    for (const int channel : channels) {
        QString post = CalibrationMemory::kNotSet;
        if (readingCame && main != nullptr) {
            post = main->ChannelDisplayText(channel);
            columns_[channel].live->setText(post);
        }
        memory_.channels[channel].post = post;
    }
    if (!readingCame) {
        context_.operatorInteraction.Notify(
            QStringLiteral("No reading came after the calibration was sent: Post not taken"));
    }
}

void TfCalibrate::bResetClick() {
    const std::vector<int> selected = ConfirmedChannels(QStringLiteral("Reset selected channel"));
    if (selected.empty()) {
        return;
    }
    const ControlsLock lock(*this);
    std::vector<int> withoutType;
    {
        // The channel polls go out before the next reading poll.
        const QScopedValueRollback pollsFirst(context_.state.PollCountdown, 10);
        for (const int channel : selected) {
            if (context_.state.Closing) {
                break;
            }
            const ChannelColumn& column = columns_[channel];
            if (!column.typeCode) {
                withoutType.push_back(channel);
                continue;
            }
            context_.frames.SendRequest(CalibrationResetRequest(channel, *column.typeCode));
            context_.frames.SendPoll(Poll::Channel(channel));
        }
    }
    if (!withoutType.empty()) {
        context_.operatorInteraction.Notify(
            QStringLiteral("Not reset, sensor type not reported by the instrument: ") +
            ChannelList(withoutType));
    }
}
