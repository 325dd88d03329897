#include "LogDownload.h"

#include "LogDownloadText.h"
#include "instrument/LoggedRecords.h"
#include "protocol/RequestBuilders.h"
#include "ui/panel/LocaleText.h"
#include "ui/panel/RecordFile.h"
#include "ui/panel/Windows1252.h"

#include <QDebug>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <string>

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
    cancel_ = std::stop_source();
    silence_ = SilenceWatch();
    controls_.cancel->setVisible(running);
    controls_.download->setVisible(!running);
}

LogDownload::Outcome LogDownload::Download(int recordCount) {
    const QString name = FromWindows1252(LoggedRecords::FileNameBase(
        ToWindows1252(context_.state.ModelName),
        ToWindows1252(DateTimeStamp(ToLocalDateTime(context_.clock.Now())))));
    RecordFile file;
    QString error;
    if (!file.Open(name + QStringLiteral(".csv"), RecordFile::Mode::Replace, &error)) {
        return {error + QStringLiteral("\nNothing was downloaded."), {}};
    }
    controls_.fileName->setText(QStringLiteral("to: ") + name);
    const int last = std::clamp(recordCount, 0, LoggedRecords::kLastAddressableRecord);
    // A range of 0 to 0 would show a busy bar instead of an empty one.
    controls_.gauge->setRange(0, std::max(last, 1));
    controls_.gauge->setValue(0);
    DownloadGaps gaps{{}, {}, 0, last, recordCount, false};
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
    gaps.instrumentSilent = silence_.Silent();
    return {{}, Shortfall(gaps)};
}

LogDownload::Fetched LogDownload::Fetch(int record) {
    controls_.gauge->setValue(record);
    const ExchangeResult result = context_.exchange.Ask(Question::LoggedRecord(record),
                                                        {kWaitMs, kAttempts}, cancel_.get_token());
    ShowFetched(record);
    silence_.Note(result.outcome);
    switch (result.outcome) {
    case ::Outcome::Answered:
        line_ = RecordLine(result.reply, record);
        return line_ ? Fetched::Line : Fetched::Unreadable;
    case ::Outcome::Refused:
        return Fetched::Unreadable;
    case ::Outcome::Cancelled:
    case ::Outcome::Closing:
        return Fetched::Stopped;
    case ::Outcome::NotAnswered:
    case ::Outcome::NotSent:
        break;
    }
    return Fetched::NotAnswered;
}

void LogDownload::ShowFetched(int record) {
    if (context_.windows.main != nullptr) {
        // The letter and the four digits, without the frame's control characters.
        const std::string poll = LoggedRecordPoll(record);
        context_.windows.main->ShowDiagnosticLine(QStringLiteral("comms: ") +
                                                  QString::fromLatin1(poll.substr(1, 5)));
    }
}

bool LogDownload::Stopped() const {
    return cancel_.stop_requested() || context_.state.Closing || silence_.Silent();
}
