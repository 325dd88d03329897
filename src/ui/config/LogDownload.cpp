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

LogDownload::Report LogDownload::Run(int recordCount) {
    if (running_) {
        return {};
    }
    ShowRunning(true);
    Report report = Download(recordCount);
    ShowRunning(false);
    if (context_.state.Closing) {
        // Nobody is there to answer a message box.
        for (const QString& told : {report.error, report.notice}) {
            if (!told.isEmpty()) {
                qWarning().noquote() << told;
            }
        }
        return {};
    }
    return report;
}

void LogDownload::ShowRunning(bool running) {
    running_ = running;
    cancel_ = std::stop_source();
    controls_.cancel->setVisible(running);
    controls_.download->setVisible(!running);
}

LogDownload::Report LogDownload::Download(int recordCount) {
    const QString name = FromWindows1252(LoggedRecords::FileNameBase(
        ToWindows1252(context_.state.ModelName),
        ToWindows1252(DateTimeStamp(ToLocalDateTime(context_.clock.Now())))));
    RecordFile file;
    QString error;
    if (!file.Open(name + QStringLiteral(".csv"), RecordFile::Mode::Replace, &error)) {
        return {error + QStringLiteral("\nNothing was downloaded."), {}};
    }
    controls_.fileName->setText(QStringLiteral("to: ") + name);
    // A range of 0 to 0 would show a busy bar instead of an empty one.
    controls_.gauge->setRange(0, std::clamp(recordCount, 1, LoggedRecords::kLastAddressableRecord));
    controls_.gauge->setValue(0);
    file_ = &file;
    fileError_.clear();
    const jobs::DownloadReport report = jobs::DownloadRecords(
        {context_.exchange, jobs::kRecordBounds, cancel_.get_token()}, 1, recordCount, *this);
    file_ = nullptr;
    if (!fileError_.isEmpty()) {
        return {fileError_ + QStringLiteral("\nThe download stopped at record %1; the lines "
                                            "written before it are kept.")
                                 .arg(report.handled),
                {}};
    }
    file.Close();
    return {{}, Shortfall(report)};
}

void LogDownload::Fetching(int record) {
    controls_.gauge->setValue(record);
}

bool LogDownload::Take(const jobs::RecordResult& result) {
    if (context_.windows.main != nullptr) {
        // The letter and the four digits, without the frame's control characters.
        const std::string poll = protocol::LoggedRecordPoll(result.record);
        context_.windows.main->ShowDiagnosticLine(QStringLiteral("comms: ") +
                                                  QString::fromLatin1(poll.substr(1, 5)));
    }
    if (result.fate != jobs::RecordFate::Fetched) {
        return true;
    }
    return file_->Write(*RecordLine(result.reply, result.record) + QStringLiteral("\r\n"),
                        &fileError_);
}
