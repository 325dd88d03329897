// Sending the new m and c of the selected channels to the instrument, and resetting them.
#include "Calibration.h"
#include "instrument/Scaling.h"
#include "instrument/SensorTypes.h"
#include "instrument/SettleRule.h"
#include "protocol/RequestBuilders.h"
#include "ui_Calibration.h"

#include <QScopedValueRollback>
#include <map>

namespace {

// What keeps a channel's "C" request from going out, in the order the operator is told.
enum class Fault { NoReading, NoSlope, TypeNotReported, TypeNotValid };
using LeftOut = std::map<Fault, std::vector<int>>;

// m and c the procedure could not compute (they matter to Send only), or a sensor type code
// that is unknown or none of the instrument's inputs: either would send made-up values or a
// malformed request.
std::optional<Fault> FaultOf(const ChannelColumn& column, int channel,
                             std::optional<protocol::InputFamily> inputs, bool sendsScaling) {
    if (sendsScaling && column.m->text() == ChannelColumn::kNoReading) {
        return Fault::NoReading;
    }
    if (sendsScaling && column.m->text() == ChannelColumn::kNoSlope) {
        return Fault::NoSlope;
    }
    if (!column.typeCode) {
        return Fault::TypeNotReported;
    }
    if (!IsSensorTypeCode(*column.typeCode, inputs, channel)) {
        return Fault::TypeNotValid;
    }
    return std::nullopt;
}

// "Not sent, span reading equals zero reading: Ch3", once for each reason.
void TellLeftOut(OperatorInteraction& operatorInteraction, const QString& notDone,
                 const LeftOut& leftOut) {
    static const std::map<Fault, QString> kReasons = {
        {Fault::NoReading, QStringLiteral("no valid reading in a stage")},
        {Fault::NoSlope, QStringLiteral("span reading equals zero reading")},
        {Fault::TypeNotReported, QStringLiteral("sensor type not reported by the instrument")},
        {Fault::TypeNotValid, QStringLiteral("sensor type code not one of the instrument's")},
    };
    for (const auto& [fault, channels] : leftOut) {
        operatorInteraction.Notify(notDone + kReasons.at(fault) + QStringLiteral(": ") +
                                   ChannelNames(channels));
    }
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

    std::vector<int> sendable;
    LeftOut leftOut;
    bool mOutOfRange = false;
    bool cOutOfRange = false;
    for (const int channel : selected) {
        const ChannelColumn& column = columns_[channel];
        if (const auto fault = FaultOf(column, channel, context_.state.InputMode, true)) {
            leftOut[*fault].push_back(channel);
            continue;
        }
        sendable.push_back(channel);
        mOutOfRange = mOutOfRange || Scaling::MOutOfRange(ShownNumber(column.m->text()));
        cOutOfRange = cOutOfRange || Scaling::COutOfRange(ShownNumber(column.c->text()));
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
    TellLeftOut(operatorInteraction, QStringLiteral("Not sent, "), leftOut);
    if (sent.empty() || context_.state.Closing) {
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
    context_.exchange.Send(*protocol::Question::Request(
        protocol::CalibrationRequest(channel, *column.typeCode, m, c)));
    column.holdsNewScaling = false;
    context_.pump.ProcessPending();
}

// Post is the reading after the new calibration: it comes only from a reading reply that
// arrived after the instrument had the settling time, never from the labels that stopped at
// Ready (which would record the calibration as checked when it never was).
void TfCalibrate::TakePostReadings(const std::vector<int>& channels) {
    context_.exchange.Send(protocol::Question::Poll(ReadingPoll()));
    context_.pump.ProcessPending();
    WaitForSettling();
    const bool readingCame =
        context_.exchange
            .Ask(protocol::Question::Poll(ReadingPoll()), SettleRule::kPostReadingBounds)
            .Answered();
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

// The instrument's settling time after the new calibration, with the main polling held as a
// blocked window would hold it; the program's close ends it at once.
void TfCalibrate::WaitForSettling() {
    const PollingPause quiet(context_.windows.main);
    context_.exchange.Settle(SettleRule::kSettlingAfterSendMs);
}

void TfCalibrate::bResetClick() {
    const std::vector<int> selected = ConfirmedChannels(QStringLiteral("Reset selected channel"));
    if (selected.empty()) {
        return;
    }
    const ControlsLock lock(*this);
    LeftOut leftOut;
    {
        // The channel polls go out before the next reading poll.
        const QScopedValueRollback pollsFirst(context_.state.PollCountdown, 10);
        for (const int channel : selected) {
            if (context_.state.Closing) {
                break;
            }
            const ChannelColumn& column = columns_[channel];
            if (const auto fault = FaultOf(column, channel, context_.state.InputMode, false)) {
                leftOut[*fault].push_back(channel);
                continue;
            }
            context_.exchange.Send(*protocol::Question::Request(
                protocol::CalibrationResetRequest(channel, *column.typeCode)));
            context_.exchange.Send(protocol::Question::Poll(protocol::Poll::Channel(channel)));
        }
    }
    TellLeftOut(context_.operatorInteraction, QStringLiteral("Not reset, "), leftOut);
}
