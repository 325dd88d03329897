#pragma once

#include "ui/panel/PanelContext.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

// The controls of the logging group that a download drives.
struct LogDownloadControls {
    QPushButton* download; // bDownload
    QPushButton* cancel;   // bCancel, in bDownload's place while a download runs
    QProgressBar* gauge;   // GDownload
    QLabel* fileName;      // lLogName
};

// Fetches the instrument's logged records one by one into model name + " " + stamp + ".csv".
// Each fetch is the seven-byte extended poll, one transaction on the link; the caller holds
// polling and every other exchange of the window for the whole run.
//
// A line is only ever written from its own record's reply, and reaches the disk as it is
// written. A record whose reply does not come within a second, or comes but cannot be read, is
// asked for again, twice at most; then it is left out of the file. Three records in a row
// without a reply mean the instrument has stopped answering, and the download ends. The
// operator learns at the end which records were not answered, which were answered unreadably,
// which were left unfetched and why, and which could not be addressed.
class LogDownload {
public:
    static constexpr std::uint32_t kWaitMs = 1000;
    static constexpr int kAttempts = 3;

    LogDownload(const PanelContext& context, LogDownloadControls controls);

    // What the operator is to learn once the window is idle again: a file error, or the records
    // that are not in the file. Both empty when there is nothing to tell, and while the program
    // closes (then it goes to standard error).
    struct Outcome {
        QString error;
        QString notice;
    };

    // Records 1 to `recordCount` (those that can be addressed); returns when all are done, on a
    // confirmed cancel, on a file error or when the program closes. Ends idle in every case.
    Outcome Run(int recordCount);
    bool Running() const { return running_; }
    // The operator has confirmed the cancel: the wait for the current record ends, its line is
    // written when its reply has come, and nothing further is fetched.
    void Cancel() { cancel_.request_stop(); }

private:
    enum class Fetched { Line, NotAnswered, Unreadable, Stopped };

    void ShowRunning(bool running);
    Outcome Download(int recordCount);
    // How the record's fetch ended; its line, when it came, is in line_.
    Fetched Fetch(int record);
    void ShowFetched(int record);
    // Cancelled, closing, or the instrument has stopped answering.
    bool Stopped() const;

    PanelContext context_;
    LogDownloadControls controls_;
    bool running_ = false;
    std::stop_source cancel_;
    SilenceWatch silence_;
    std::optional<QString> line_;
};
