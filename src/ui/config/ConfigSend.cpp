// Writing the configuration to the instrument.
#include "Config.h"
#include "instrument/StatusJobs.h"
#include "protocol/RequestBuilders.h"
#include "ui/panel/LocaleText.h"
#include "ui/panel/Windows1252.h"
#include "ui_Config.h"

ConfigurationTexts TForm3::TextsToSend() const {
    ConfigurationTexts texts{ui->eDate->text(), ui->eTime->text(), ui->eSystemFlag->text(),
                             ui->eAutoScan->text(), ui->eLogInterval->text()};
    if (ui->cbPCTime->isChecked()) {
        const QDateTime now = ToLocalDateTime(context_.clock.Now());
        texts.date = now.toString(QStringLiteral("dd/MM/yy"));
        texts.time = now.toString(QStringLiteral("HH:mm:ss"));
    }
    return texts;
}

void TForm3::bSendClick() {
    if (exchangeRunning_) {
        return;
    }
    if (!statusApplied_) {
        context_.operatorInteraction.ReportError(
            QStringLiteral("The instrument has not reported its configuration yet: click Refresh "
                           "and wait for it. Nothing was sent."));
        return;
    }
    const ConfigurationTexts checked = TextsToSend();
    if (const auto refusal = CheckBeforeSending(checked)) {
        context_.operatorInteraction.ReportError(refusal->message);
        FocusRefusedField(refusal->field);
        return;
    }
    if (!context_.operatorInteraction.Ask(QStringLiteral("Send configuration data?"))) {
        return;
    }
    // The PC's clock as it is when the operator has said Yes; the status reply refreshes the
    // window.
    const ConfigurationTexts texts = TextsToSend();
    jobs::WriteStatus(context_.Jobs(),
                      protocol::StatusRequest({
                          ToWindows1252(texts.date),
                          ToWindows1252(texts.time),
                          ToWindows1252(texts.systemFlag.toUpper()),
                          ToWindows1252(texts.autoScanInterval),
                          ToWindows1252(texts.loggingInterval),
                      }),
                      protocol::ReadBack::ToHandlers);
}

void TForm3::FocusRefusedField(ConfigurationField field) {
    QLineEdit* edit = nullptr;
    switch (field) {
    case ConfigurationField::Date:
        edit = ui->eDate;
        break;
    case ConfigurationField::Time:
        edit = ui->eTime;
        break;
    case ConfigurationField::SystemFlag:
        edit = ui->eSystemFlag;
        break;
    case ConfigurationField::AutoScanInterval:
        edit = ui->eAutoScan;
        break;
    case ConfigurationField::LoggingInterval:
        edit = ui->eLogInterval;
        break;
    }
    if (edit->isVisibleTo(this)) {
        edit->setFocus();
        edit->selectAll();
    }
}
