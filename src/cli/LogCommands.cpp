// log download, log reset: the instrument's log memory.
#include "Commands.h"
#include "DownloadProgress.h"
#include "LineOutput.h"
#include "Messages.h"
#include "Session.h"
#include "base/Terminal.h"
#include "instrument/ClockText.h"
#include "instrument/FileLineEnd.h"
#include "instrument/LogJobs.h"
#include "instrument/LoggedRecords.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <vector>

using namespace LoggedRecords;

namespace {

struct DownloadOptions {
    std::string file;
    int first = 1;
    int last = 0; // 0: the last record the instrument holds
};

// Each record's line into the file as it comes, and the progress while standard error is a
// terminal.
class FileSink final : public jobs::DownloadSink {
public:
    FileSink(LineFile& file, DownloadProgress& progress, int first)
        : file_(file), progress_(progress), first_(first) {}

    bool Take(const jobs::RecordResult& result) override {
        if (result.fate == jobs::RecordFate::Fetched &&
            !file_.Write(*RecordLine(result.reply, result.record, '.'))) {
            Tell(file_.Problem() + "; the download stopped at record " +
                 std::to_string(result.record) + ", the lines before it are kept");
            failed_ = true;
            return false;
        }
        progress_.Show(result.record - first_ + 1);
        return true;
    }
    bool Failed() const { return failed_; }

private:
    LineFile& file_;
    DownloadProgress& progress_;
    int first_;
    bool failed_ = false;
};

// The records of a download that are not in its file, by why.
void TellGaps(const jobs::DownloadReport& report) {
    if (!report.notAnswered.empty()) {
        Tell("records not answered, not in the file: " + NumberRuns(report.notAnswered));
    }
    if (!report.unreadable.empty()) {
        Tell("records whose reply could not be read, not in the file: " +
             NumberRuns(report.unreadable));
    }
    if (report.instrumentSilent) {
        Tell("the instrument stopped answering");
    }
    if (report.handled < report.last) {
        const int from = report.handled + 1;
        Tell("records not fetched: " + std::to_string(from) +
             (from < report.last ? "-" + std::to_string(report.last) : ""));
    }
    if (report.wanted > kLastAddressableRecord) {
        Tell("records " + std::to_string(kLastAddressableRecord + 1) + " to " +
             std::to_string(report.wanted) +
             " cannot be fetched: a record is asked for by a four-digit number");
    }
}

ExitCode Download(Session& session, const DownloadOptions& options) {
    const std::optional<protocol::InstrumentStatus> status = ReadStatus(session);
    if (!status) {
        return ExitCode::NotDone;
    }
    const int count = status->recordCount;
    const int wanted = options.last > 0 ? options.last : count;
    if (options.last > count || (options.first > 1 && options.first > wanted)) {
        Tell("the instrument holds " + std::to_string(count) +
             " records: --first and --last must lie within 1 to that");
        return ExitCode::Usage;
    }
    const std::string name =
        !options.file.empty()
            ? options.file
            : FileNameBase(status->modelName, DateTimeStamp(ToLocalTime(session.Time().Now()))) +
                  ".csv";
    LineFile file(name, LineFile::Mode::Replace, kFileLineEnd);
    if (!file.IsOpen()) {
        Tell(file.Problem());
        return ExitCode::FileError;
    }
    DownloadProgress progress(session.Time(),
                              std::min(wanted, kLastAddressableRecord) - options.first + 1);
    FileSink sink(file, progress, options.first);
    const jobs::DownloadReport report =
        jobs::DownloadRecords(session.Jobs(jobs::kRecordBounds), options.first, wanted, sink);
    StandardOutput().Write(name);
    TellGaps(report);
    if (sink.Failed()) {
        return ExitCode::FileError;
    }
    return report.Whole() ? ExitCode::Done : ExitCode::NotDone;
}

void AddDownload(CLI::App& log, CommandRun& run, ConnectionOptions& connection) {
    auto options = std::make_shared<DownloadOptions>();
    CLI::App* command = AddInstrumentCommand(
        log, "download",
        "Fetch the logged records into \"<model> <stamp>.csv\" (the panel's file and lines) and "
        "print the file's name; records that are missing are named on standard error",
        connection);
    command->add_option("-o,--output", options->file, "Write to FILE instead")->type_name("FILE");
    command->add_option("--first", options->first, "The first record to fetch (default 1)")
        ->check(CLI::PositiveNumber)
        ->type_name("N");
    command->add_option("--last", options->last, "The last record to fetch (default: all)")
        ->check(CLI::PositiveNumber)
        ->type_name("M");
    command->callback([options, &run, &connection] {
        run = [options, &connection] {
            return RunSession(connection,
                              [&options](Session& session) { return Download(session, *options); });
        };
    });
}

// The operator's Yes on the terminal.
bool Confirmed(const std::string& question) {
    if (!StandardInputIsTerminal()) {
        Tell("nothing was sent: there is no terminal to ask on; give --yes to go ahead");
        return false;
    }
    std::cerr << question << " [y/N] " << std::flush;
    std::string answer;
    const bool yes = std::getline(std::cin, answer) && (answer == "y" || answer == "yes");
    if (!yes) {
        Tell("nothing was sent");
    }
    return yes;
}

ExitCode Reset(Session& session) {
    const protocol::Outcome reset = jobs::ResetLogPointer(session.Jobs());
    TellUnanswered(reset, "the \"Z\" request");
    if (reset != protocol::Outcome::Answered) {
        return ExitCode::NotDone;
    }
    const std::optional<protocol::InstrumentStatus> status = ReadStatus(session);
    if (!status) {
        return ExitCode::NotDone;
    }
    const bool printed = StandardOutput().Write("records: " + std::to_string(status->recordCount));
    return printed ? ExitCode::Done : ExitCode::FileError;
}

void AddReset(CLI::App& log, CommandRun& run, ConnectionOptions& connection) {
    auto yes = std::make_shared<bool>(false);
    CLI::App* command = AddInstrumentCommand(
        log, "reset",
        "Reset the logged-data pointer ('Z'), asking on the terminal first, and print the "
        "record count the instrument then reports",
        connection);
    command->add_flag("-y,--yes", *yes, "Do not ask");
    command->callback([yes, &run, &connection] {
        run = [yes, &connection] {
            if (!*yes && !Confirmed("Reset Logged data pointer?")) {
                return ExitCode::NotDone;
            }
            return RunSession(connection, Reset);
        };
    });
}

} // namespace

void AddLogCommands(CLI::App& app, CommandRun& run, ConnectionOptions& connection) {
    CLI::App* log = app.add_subcommand("log", "The instrument's log memory");
    log->require_subcommand(1);
    AddDownload(*log, run, connection);
    AddReset(*log, run, connection);
}
