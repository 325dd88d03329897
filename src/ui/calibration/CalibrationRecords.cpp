// Record keeping around the procedure: the local copy of m and c, the record file, the
// factory calibration and the serial number.
#include "Calibration.h"
#include "TestRecord.h"
#include "protocol/RequestBuilders.h"
#include "ui/panel/LocaleText.h"
#include "ui/panel/Windows1252.h"
#include "ui_Calibration.h"

#include <QFile>

namespace {

// A serial travels inside a frame: a control character would end or garble it, and a
// character outside Windows-1252 would arrive as '?'.
bool SerialFitsFrame(const QString& serial) {
    for (const QChar character : serial) {
        if (character.unicode() < 0x20 || character.unicode() == 0x7F) {
            return false;
        }
    }
    return FromWindows1252(ToWindows1252(serial)) == serial;
}

} // namespace

void TfCalibrate::bRememberClick() {
    for (const int channel : ConfirmedChannels(ui->bRemember->toolTip())) {
        memory_.channels[channel].m = columns_[channel].m->text();
        memory_.channels[channel].c = columns_[channel].c->text();
    }
}

void TfCalibrate::bRecallClick() {
    if (!Confirm(ui->bRecall->toolTip())) {
        return;
    }
    for (const int channel : CheckedChannels()) {
        columns_[channel].m->setText(memory_.channels[channel].m);
        columns_[channel].c->setText(memory_.channels[channel].c);
    }
}

void TfCalibrate::bRecordClick() {
    if (!Confirm(ui->bRecord->toolTip() + QStringLiteral(" to ") + TestRecord::kFileName)) {
        return;
    }
    OperatorInteraction& operatorInteraction = context_.operatorInteraction;
    const auto inputs = context_.state.InputMode;
    const TestRecord::Heading heading{
        context_.state.ModelName,
        inputs ? QString(QLatin1Char(protocol::InputFamilyLetter(*inputs))) : QString(),
        ui->eSerial->text(),
        context_.windows.main != nullptr ? context_.windows.main->ClockText() : QString(),
        ui->e_span->text(),
    };
    if (const auto field = TestRecord::UnsafeField(heading, memory_)) {
        operatorInteraction.Notify(
            QStringLiteral("Not recorded: the %1 holds a comma or a line break").arg(*field));
        return;
    }
    const bool create = !QFile::exists(TestRecord::kFileName);
    if (create && !operatorInteraction.Ask(TestRecord::kFileName +
                                           QStringLiteral(" not found, create a new one?"))) {
        return;
    }
    const QString error = TestRecord::Append(TestRecord::RecordLine(heading, memory_), create);
    if (!error.isEmpty()) {
        operatorInteraction.ReportError(error);
    }
}

void TfCalibrate::bSaveClick() {
    if (Confirm(ui->bSave->toolTip())) {
        context_.exchange.Send(*protocol::Question::Request(protocol::FactorySaveRequest()));
    }
}

void TfCalibrate::bRestoreClick() {
    if (Confirm(ui->bRestore->toolTip())) {
        context_.exchange.Send(*protocol::Question::Request(protocol::FactoryRestoreRequest()));
    }
}

void TfCalibrate::mNew1Click() {
    if (Confirm(mNew1->toolTip())) {
        ui->eSerial->setText(DateTimeStamp(ToLocalDateTime(context_.clock.Now())));
    }
}

void TfCalibrate::mStore1Click() {
    OperatorInteraction& operatorInteraction = context_.operatorInteraction;
    const QString serial = ui->eSerial->text();
    // "Z" alone would reset the instrument's log pointer.
    const auto request = protocol::SerialNumberRequest(ToWindows1252(serial));
    if (!request) {
        operatorInteraction.Notify(QStringLiteral("No serial to store: the serial is empty"));
        return;
    }
    if (!SerialFitsFrame(serial)) {
        operatorInteraction.Notify(
            QStringLiteral("Serial not stored: it holds characters the instrument cannot take"));
        return;
    }
    if (!operatorInteraction.Ask(QStringLiteral("Store Serial \"") + serial +
                                 QStringLiteral("\" to instrument?"))) {
        return;
    }
    const std::optional<protocol::Question> store = protocol::Question::Request(*request);
    if (!store) {
        operatorInteraction.Notify(QStringLiteral("Serial not stored: it is too long to send"));
        return;
    }
    context_.exchange.Send(*store);
}

void TfCalibrate::mRetrieve1Click() {
    if (Confirm(mRetrieve1->toolTip())) {
        context_.exchange.Send(protocol::Question::Poll(protocol::Poll::kSerialNumber));
    }
}
