// The instrument's log memory in the logging group: the download and the two memory commands.
#include "Config.h"
#include "LogDownloadText.h"
#include "protocol/RequestBuilders.h"
#include "ui_Config.h"

namespace {

constexpr std::uint32_t kPointerResetPauseMs = 100;
constexpr std::uint32_t kMemoryTestPauseMs = 5000;

} // namespace

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
    LogDownload::Outcome outcome;
    {
        const PollingPause pause(context_.windows.main);
        if (!context_.operatorInteraction.Ask(QStringLiteral("Download all logged data?"))) {
            return;
        }
        LockForExchange(true);
        outcome = download_->Run(*count);
        LockForExchange(false);
    }
    // Told once the window is idle and polling runs again.
    if (!outcome.error.isEmpty()) {
        context_.operatorInteraction.ReportError(outcome.error);
    } else if (!outcome.notice.isEmpty()) {
        context_.operatorInteraction.Notify(outcome.notice);
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
    context_.exchange.Send(*Question::Request(LogPointerResetRequest()));
    context_.clock.Sleep(kPointerResetPauseMs);
    LockForExchange(false);
}

void TForm3::bTestExMClick() {
    if (exchangeRunning_ || !context_.operatorInteraction.Ask(
                                QStringLiteral("Overwrite all external memory locations?"))) {
        return;
    }
    LockForExchange(true);
    context_.exchange.Send(*Question::Request(MemoryTestRequest()));
    // The instrument overwrites its memory meanwhile; the window does nothing else.
    context_.clock.Sleep(kMemoryTestPauseMs);
    LockForExchange(false);
}
