#include "LogDownload.h"

#include "LogDownloadText.h"
#include "protocol/RequestBuilders.h"
#include "ui/panel/LocaleText.h"
#include "ui/panel/RecordFile.h"

#include <QDebug>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

using namespace LogDownloadText;

LogDownload::LogDownload(const PanelContext& context, LogDownloadControls controls)
    : context_(context), controls_(controls) {}

LogDownload::Outcome LogDownload::Run(int recordCount) {
    if (running_) {
        return {};
    }
    ShowRunning(true);
    Outcome outcome = Download(recordCount);
    ShowRunning(false);
    if (context_.state.Closing) {
        // Nobody is there to answer a message box.
        for (const QString& told : {outcome.error, outcome.notice}) {
            if (!told.isEmpty()) {
                qWarning().noquote() << told;
            }
        }
        return {};
    }
    return outcome;
}

void LogDownload::ShowRunning(bool running) {
    running_ = running;
    cancel_ = false;
    controls_.cancel->setVisible(running);
    controls_.download->setVisible(!running);
}

LogDownload::Outcome LogDownload::Download(int recordCount) {
    const QString name = FileNameBase(context_.state.ModelName,
                                      DateTimeStamp(ToLocalDateTime(context_.clock.Now())));
    RecordFile file;
    QString error;
    if (!file.Open(name + QStringLiteral(".csv"), RecordFile::Mode::Replace, &error)) {
        return {error + QStringLiteral("\nNothing was downloaded."), {}};
    }
    controls_.fileName->setText(QStringLiteral("to: ") + name);
    const int last = std::clamp(recordCount, 0, kLastAddressableRecord);
    // A range of 0 to 0 would show a busy bar instead of an empty one.
    controls_.gauge->setRange(0, std::max(last, 1));
    controls_.gauge->setValue(0);
    DownloadGaps gaps{{}, {}, 0, last, recordCount};
    for (int record = 1; record <= last && !Stopped(); ++record) {
        const Fetched fetched = Fetch(record);
        if (fetched == Fetched::Stopped) {
            break;
        }
        gaps.handled = record;
        if (fetched == Fetched::NotAnswered) {
            gaps.notAnswered.push_back(record);
        } else if (fetched == Fetched::Unreadable) {
            gaps.unreadable.push_back(record);
        } else if (!file.Write(*line_ + QStringLiteral("\r\n"), &error)) {
            return {error + QStringLiteral("\nThe download stopped at record %1; the lines "
                                           "written before it are kept.")
                                .arg(record),
                    {}};
        }
    }
    file.Close();
    return {{}, Shortfall(gaps)};
}

LogDownload::Fetched LogDownload::Fetch(int record) {
    awaited_ = record;
    line_.reset();
    unreadableReplies_ = 0;
    for (int attempt = 0; attempt < kAttempts && !line_ && !Stopped(); ++attempt) {
        Send(record);
        WaitForReply();
    }
    awaited_.reset();
    if (line_) {
        return Fetched::Line;
    }
    if (unreadableReplies_ > 0) {
        return Fetched::Unreadable;
    }
    return Stopped() ? Fetched::Stopped : Fetched::NotAnswered;
}

void LogDownload::Send(int record) {
    const std::string poll = LoggedRecordPoll(record);
    context_.frames.TransmitExtendedPoll(poll);
    if (context_.windows.main != nullptr) {
        // The letter and the four digits, without the frame's control characters.
        context_.windows.main->ShowDiagnosticLine(QStringLiteral("comms: ") +
                                                  QString::fromLatin1(poll.substr(1, 5)));
    }
    controls_.gauge->setValue(record);
}

// At most ten steps of 100 ms, handling the reply, the operator's cancel and everything else
// as it comes, and ending as soon as a reply of the record has been handled.
void LogDownload::WaitForReply() {
    const int unreadableBefore = unreadableReplies_;
    const std::uint32_t start = context_.clock.TickCount();
    while (!line_ && unreadableReplies_ == unreadableBefore && !Stopped() &&
           context_.clock.TickCount() - start < kWaitSteps * kStepMs) {
        context_.pump.WaitAndProcess();
    }
}

bool LogDownload::Stopped() const {
    return cancel_ || context_.state.Closing;
}

void LogDownload::Accept(const std::string& payload) {
    if (!awaited_ || line_ || !IsReplyOf(payload, *awaited_)) {
        return;
    }
    line_ = RecordLine(payload, *awaited_);
    unreadableReplies_ += line_ ? 0 : 1;
}
