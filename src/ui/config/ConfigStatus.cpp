// What the status reply places in the configuration window, and the four flag bit groups.
#include "Config.h"
#include "SystemFlag.h"
#include "protocol/MessageCatalogue.h"
#include "ui/panel/Windows1252.h"
#include "ui_Config.h"

#include <QSignalBlocker>

void TForm3::ApplyStatus(const protocol::InstrumentStatus& status) {
    ui->eDate->setText(FromWindows1252(status.date));
    ui->eTime->setText(FromWindows1252(status.time));
    ui->eSystemFlag->setText(FromWindows1252(status.systemFlagText));
    const struct {
        QRadioButton* first;
        QRadioButton* second;
        int mask;
    } groups[] = {
        {ui->gUnit0, ui->gUnit1, protocol::SystemFlag::kFahrenheit},
        {ui->gAudible0, ui->gAudible1, protocol::SystemFlag::kAudible},
        {ui->gAutoscan0, ui->gAutoscan1, protocol::SystemFlag::kAutoscan},
        {ui->gLogging0, ui->gLogging1, protocol::SystemFlag::kLogging},
    };
    for (const auto& group : groups) {
        {
            const QSignalBlocker holdFirst(group.first);
            const QSignalBlocker holdSecond(group.second);
            (status.Flag(group.mask) ? group.second : group.first)->setChecked(true);
        }
        // As a choice made here would: the bit the reply carries, and the text in upper case.
        UpdateFlagBit(group.first, group.second, group.mask, Report::Silent);
    }
    ui->eAutoScan->setText(QString::number(status.autoscanInterval));
    ui->lLogMaxCount->setText(QString::number(status.recordCount));
    ui->eLogInterval->setText(QString::number(status.loggingInterval));
    statusApplied_ = true;
    // An answer means the port is open.
    ShowPortState();
}

void TForm3::gUnitClick() {
    UpdateFlagBit(ui->gUnit0, ui->gUnit1, protocol::SystemFlag::kFahrenheit, Report::Operator);
}

void TForm3::gAudibleClick() {
    UpdateFlagBit(ui->gAudible0, ui->gAudible1, protocol::SystemFlag::kAudible, Report::Operator);
}

void TForm3::gAutoscanClick() {
    UpdateFlagBit(ui->gAutoscan0, ui->gAutoscan1, protocol::SystemFlag::kAutoscan,
                  Report::Operator);
}

void TForm3::gLoggingClick() {
    UpdateFlagBit(ui->gLogging0, ui->gLogging1, protocol::SystemFlag::kLogging, Report::Operator);
}

void TForm3::UpdateFlagBit(QRadioButton* firstItem, QRadioButton* secondItem, int mask,
                           Report report) {
    if (!firstItem->isChecked() && !secondItem->isChecked()) {
        return;
    }
    const QString flag = ui->eSystemFlag->text();
    if (const auto updated = SystemFlagText::WithBit(flag, mask, secondItem->isChecked())) {
        ui->eSystemFlag->setText(*updated);
    } else if (report == Report::Operator) {
        context_.operatorInteraction.ReportError(
            QStringLiteral("System Flag: \"%1\" is not a hexadecimal number; the flag is left "
                           "unchanged.")
                .arg(flag));
    }
}
