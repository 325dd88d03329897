// log download, log reset: the instrument's log memory.
#include "Commands.h"
#include "ConnectionOptions.h"
#include "DownloadProgress.h"
#include "LineOutput.h"
#include "Messages.h"
#include "instrument/FileLineEnd.h"
#include "instrument/LoggedRecords.h"
#include "protocol/RequestBuilders.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace LoggedRecords;

namespace {

// A record's reply is waited for a second and asked for three times, as the panel does.
constexpr Bounds kRecordBounds{1000, 3};
constexpr std::uint32_t kResetPauseMs = 100;

struct DownloadOptions {
    ConnectionOptions connection;
    std::string file;
    int first = 1;
    int last = 0; // 0: the last record the instrument holds
};

// How the records of a download fared that are not in its file.
struct Gaps {
    std::vector<int> notAnswered;
    std::vector<int> unreadable;
    int notFetchedFrom = 0; // records from this one on were not fetched (0: none)
};

void TellGaps(const Gaps& gaps, int last, int wanted) {
    if (!gaps.notAnswered.empty()) {
        Tell("records not answered, not in the file: " + NumberRuns(gaps.notAnswered));
    }
    if (!gaps.unreadable.empty()) {
        Tell("records whose reply could not be read, not in the file: " +
             NumberRuns(gaps.unreadable));
    }
    if (gaps.notFetchedFrom > 0) {
        Tell("records not fetched: " + NumberRuns({gaps.notFetchedFrom, last}));
    }
    if (wanted > kLastAddressableRecord) {
        Tell("records " + std::to_string(kLastAddressableRecord + 1) + " to " +
             std::to_string(wanted) +
             " cannot be fetched: a record is asked for by a four-digit number");
    }
}

// Fetches records first..last into the file; what is not in it goes into `gaps`.
ExitCode FetchRecords(Session& session, int first, int last, LineFile& file, Gaps& gaps) {
    DownloadProgress progress(session.Time(), last - first + 1);
    SilenceWatch silence;
    for (int record = first; record <= last; ++record) {
        const ExchangeResult result =
            session.Link().Ask(Question::LoggedRecord(record), session.BoundsOr(kRecordBounds));
        silence.Note(result.outcome);
        if (result.outcome == Outcome::Closing) {
            gaps.notFetchedFrom = record;
            return ExitCode::NotDone;
        }
        if (!result.Answered()) {
            gaps.notAnswered.push_back(record);
        } else if (const auto line = RecordLine(result.reply, record, '.')) {
            if (!file.Write(*line)) {
                Tell(file.Problem() + "; the download stopped at record " + std::to_string(record) +
                     ", the lines before it are kept");
                return ExitCode::FileError;
            }
        } else {
            gaps.unreadable.push_back(record);
        }
        progress.Show(record - first + 1);
        if (silence.Silent()) {
            Tell("the instrument stopped answering");
            gaps.notFetchedFrom = record < last ? record + 1 : 0;
            return ExitCode::NotDone;
        }
    }
    return ExitCode::Done;
}

ExitCode Download(Session& session, const DownloadOptions& options) {
    const std::optional<InstrumentStatus> status = session.Status();
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
    const int last = std::min(wanted, kLastAddressableRecord);
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
    Gaps gaps;
    const ExitCode fetched = FetchRecords(session, options.first, last, file, gaps);
    StandardOutput().Write(name);
    TellGaps(gaps, last, wanted);
    const bool whole = gaps.notAnswered.empty() && gaps.unreadable.empty() &&
                       gaps.notFetchedFrom == 0 && wanted <= kLastAddressableRecord;
    return fetched != ExitCode::Done ? fetched : whole ? ExitCode::Done : ExitCode::NotDone;
}

void AddDownload(CLI::App& log, CommandRun& run) {
    auto options = std::make_shared<DownloadOptions>();
    CLI::App* command = log.add_subcommand(
        "download", "Fetch the logged records into \"<model> <stamp>.csv\" (the panel's file "
                    "and lines) and print the file's name; records that are missing are named "
                    "on standard error");
    AddConnectionOptions(*command, options->connection);
    command->add_option("-o,--output", options->file, "Write to FILE instead")->type_name("FILE");
    command->add_option("--first", options->first, "The first record to fetch (default 1)")
        ->check(CLI::PositiveNumber)
        ->type_name("N");
    command->add_option("--last", options->last, "The last record to fetch (default: all)")
        ->check(CLI::PositiveNumber)
        ->type_name("M");
    command->callback([options, &run] {
        run = [options] {
            return RunSession(options->connection,
                              [&options](Session& session) { return Download(session, *options); });
        };
    });
}

struct ResetOptions {
    ConnectionOptions connection;
    bool yes = false;
};

// The operator's Yes on the terminal.
bool Confirmed(const std::string& question) {
    if (isatty(STDIN_FILENO) == 0) {
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
    const ExchangeResult readBack =
        session.ChangeAndReadBack(LogPointerResetRequest(), kResetPauseMs,
                                  Question::Poll(Poll::kStatus), "the \"Z\" request");
    if (!readBack.Answered()) {
        return ExitCode::NotDone;
    }
    const bool printed = StandardOutput().Write(
        "records: " + std::to_string(ReadStatus(readBack.reply).recordCount));
    return printed ? ExitCode::Done : ExitCode::FileError;
}

void AddReset(CLI::App& log, CommandRun& run) {
    auto options = std::make_shared<ResetOptions>();
    CLI::App* command = log.add_subcommand(
        "reset", "Reset the logged-data pointer ('Z'), asking on the terminal first, and print "
                 "the record count the instrument then reports");
    AddConnectionOptions(*command, options->connection);
    command->add_flag("-y,--yes", options->yes, "Do not ask");
    command->callback([options, &run] {
        run = [options] {
            if (!options->yes && !Confirmed("Reset Logged data pointer?")) {
                return ExitCode::NotDone;
            }
            return RunSession(options->connection, Reset);
        };
    });
}

} // namespace

void AddLogCommands(CLI::App& app, CommandRun& run) {
    CLI::App* log = app.add_subcommand("log", "The instrument's log memory");
    log->require_subcommand(1);
    AddDownload(*log, run);
    AddReset(*log, run);
}
