// The instrument's log memory in the logging group: the download and the two memory commands.
#include "Config.h"
#include "LogDownloadText.h"
#include "instrument/LogJobs.h"
#include "ui_Config.h"

void TForm3::bDownloadClick() {
    if (exchangeRunning_) {
        return;
    }
    const QString countText = ui->lLogMaxCount->text();
    const std::optional<int> count = LogDownloadText::RecordCount(countText);
    if (!count) {
        context_.operatorInteraction.ReportError(
            QStringLiteral("Max Count: \"%1\" is not a number of records. Nothing was downloaded.")
                .arg(countText));
        return;
    }
    LogDownload::Report report;
    {
        const PollingPause pause(context_.windows.main);
        if (!context_.operatorInteraction.Ask(QStringLiteral("Download all logged data?"))) {
            return;
        }
        LockForExchange(true);
        report = download_->Run(*count);
        LockForExchange(false);
    }
    // Told once the window is idle and polling runs again.
    if (!report.error.isEmpty()) {
        context_.operatorInteraction.ReportError(report.error);
    } else if (!report.notice.isEmpty()) {
        context_.operatorInteraction.Notify(report.notice);
    }
}

void TForm3::bCancelClick() {
    if (download_->Running() &&
        context_.operatorInteraction.Ask(QStringLiteral("Cancel further download?"))) {
        download_->Cancel();
    }
}

void TForm3::bZeroLogClick() {
    if (exchangeRunning_ ||
        !context_.operatorInteraction.Ask(QStringLiteral("Reset Logged data pointer?"))) {
        return;
    }
    LockForExchange(true);
    jobs::ResetLogPointer(context_.Jobs());
    LockForExchange(false);
}

void TForm3::bTestExMClick() {
    if (exchangeRunning_ || !context_.operatorInteraction.Ask(
                                QStringLiteral("Overwrite all external memory locations?"))) {
        return;
    }
    LockForExchange(true);
    // The instrument overwrites its memory in the request's pause; the window does nothing else.
    jobs::TestLogMemory(context_.Jobs());
    LockForExchange(false);
}
