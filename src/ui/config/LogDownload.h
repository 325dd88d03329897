#pragma once

#include "instrument/LogJobs.h"
#include "ui/panel/PanelContext.h"

#include <QString>
#include <stop_token>

class QLabel;
class QProgressBar;
class QPushButton;
class RecordFile;

// The controls of the logging group that a download drives.
struct LogDownloadControls {
    QPushButton* download; // bDownload
    QPushButton* cancel;   // bCancel, in bDownload's place while a download runs
    QProgressBar* gauge;   // GDownload
    QLabel* fileName;      // lLogName
};

// The window's side of the logged-data download (jobs::DownloadRecords): the file model name +
// " " + stamp + ".csv", its lines in the locale's form as each record comes, the gauge, the
// diagnostic line and the cancel. The caller holds polling and every other exchange of the
// window for the whole run.
class LogDownload final : private jobs::DownloadSink {
public:
    LogDownload(const PanelContext& context, LogDownloadControls controls);

    // What the operator is to learn once the window is idle again: a file error, or the records
    // that are not in the file. Both empty when there is nothing to tell, and while the program
    // closes (then it goes to standard error).
    struct Report {
        QString error;
        QString notice;
    };

    // Records 1 to `recordCount` (those that can be addressed); returns when all are done, on a
    // confirmed cancel, on a file error or when the program closes. Ends idle in every case.
    Report Run(int recordCount);
    bool Running() const { return running_; }
    // The operator has confirmed the cancel: the wait for the current record ends, its line is
    // written when its reply has come, and nothing further is fetched.
    void Cancel() { cancel_.request_stop(); }

private:
    void ShowRunning(bool running);
    Report Download(int recordCount);
    void Fetching(int record) override;
    bool Take(const jobs::RecordResult& result) override;

    PanelContext context_;
    LogDownloadControls controls_;
    bool running_ = false;
    std::stop_source cancel_;
    // The file of the download that runs, and why a line could not be written to it.
    RecordFile* file_ = nullptr;
    QString fileError_;
};
