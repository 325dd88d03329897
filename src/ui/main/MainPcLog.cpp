// PC data logging: the main window's Start and Stop, and the line the polling timer writes.
#include "Main.h"
#include "ui/panel/LocaleText.h"
#include "ui_Main.h"

void TForm1::StartButtonClick() {
    if (PcLogging()) {
        return;
    }
    QString error;
    const auto name = log_.Open(DateTimeStamp(ToLocalDateTime(clock_.Now())), &error);
    if (!name) {
        operator_.ReportError(error);
        return;
    }
    ui->lLogName->setText(QStringLiteral("To: ") + *name);
}

void TForm1::StopButtonClick() {
    log_.Close();
    ui->lLogName->clear();
}

void TForm1::WriteLogLine() {
    QString error;
    if (!log_.WriteLine(PcLogLine(logTimeStamp_, displays_.ReadingTexts()), &error)) {
        operator_.ReportError(error);
    }
}
