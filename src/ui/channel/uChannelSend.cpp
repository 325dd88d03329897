// The "C" request of the channel window: the checks every value passes before it leaves.
#include "instrument/ChannelJobs.h"
#include "instrument/ScalingLimits.h"
#include "protocol/RequestBuilders.h"
#include "uChannel.h"
#include "ui/panel/LocaleText.h"
#include "ui_uChannel.h"

namespace {

QString Refusal(const QString& reason) {
    return reason + QStringLiteral(" Nothing was sent.");
}

} // namespace

void TfChannel::bSendClick() {
    if (!filled_ || shownChannel_ != context_.state.SelectedChannel) {
        context_.operatorInteraction.ReportError(Refusal(
            QStringLiteral("Channel %1 has not reported its set-up yet: click Refresh and wait "
                           "for the controls to turn green.")
                .arg(context_.state.SelectedChannel)));
        return;
    }
    const std::optional<double> m = OperatorTextToFloat(ui->eCal_m->text());
    if (!m) {
        context_.operatorInteraction.ReportError(
            Refusal(QStringLiteral("m is not a number: \"%1\".").arg(ui->eCal_m->text())));
        return;
    }
    const std::optional<double> c = OperatorTextToFloat(ui->eCal_c->text());
    if (!c) {
        context_.operatorInteraction.ReportError(
            Refusal(QStringLiteral("c is not a number: \"%1\".").arg(ui->eCal_c->text())));
        return;
    }
    const int sensorType = ui->cbTCType->currentIndex();
    if (sensorType < 0) {
        context_.operatorInteraction.ReportError(
            Refusal(QStringLiteral("No sensor type is selected.")));
        return;
    }
    const auto mText = CheckedScaling(*ui->eCal_m, QStringLiteral("m"), *m, SlopeLimit());
    if (!mText) {
        return;
    }
    const auto cText = CheckedScaling(*ui->eCal_c, QStringLiteral("c"), *c, InterceptLimit());
    if (!cText) {
        return;
    }
    syncState_ = SyncState::Sent;
    edited_ = false;
    Repaint();
    // The channel's reply to the read back turns the controls green.
    const jobs::ChannelChanged changed =
        jobs::ChangeChannel(context_.Jobs(), {shownChannel_, sensorType, *mText, *cText},
                            protocol::ReadBack::ToHandlers);
    if (changed.held.outcome == protocol::Outcome::Answered) {
        NotePollSent(shownChannel_);
    }
}

std::optional<std::string> TfChannel::CheckedScaling(QLineEdit& edit, const QString& name,
                                                     double value, const ScalingLimit& limit) {
    if (limit.OutOfRange(value) &&
        context_.operatorInteraction.Acknowledge(QString::fromStdString(limit.message))) {
        value = limit.NearerLimit(value);
    }
    std::optional<std::string> text = ScalingText(value);
    if (!text) {
        context_.operatorInteraction.ReportError(
            Refusal(QStringLiteral("%1 = %2 does not fit the instrument's eight characters.")
                        .arg(name, LocaleFixed(value, 4))));
        return std::nullopt;
    }
    edit.setText(WithLocalePoint(QString::fromStdString(protocol::ScalingField(*text))));
    return text;
}
