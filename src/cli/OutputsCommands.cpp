// outputs read, outputs write: the alarm table of a V630 in the table file's layout.
#include "Commands.h"
#include "ConnectionOptions.h"
#include "LineOutput.h"
#include "Messages.h"
#include "instrument/AlarmTable.h"
#include "instrument/FileLineEnd.h"
#include "instrument/LoggedRecords.h"
#include "protocol/RequestBuilders.h"

#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

namespace {

// The instrument takes a written output within this pause, before it is read back.
constexpr std::uint32_t kWritePauseMs = 20;

std::string OutputName(int output) {
    return "output " + std::to_string(output);
}

// The outputs of a run that were not done, told by kind; false when there are any.
bool TellUndone(const std::string& what, const std::vector<int>& undone,
                const std::vector<int>& notTried) {
    if (!undone.empty()) {
        Tell("outputs " + what + ": " + LoggedRecords::NumberRuns(undone));
    }
    if (!notTried.empty()) {
        Tell("outputs not tried: " + LoggedRecords::NumberRuns(notTried));
    }
    return undone.empty() && notTried.empty();
}

// Whether the instrument has alarm outputs: a V420 drives none.
bool HasAlarmOutputs(Session& session) {
    const std::optional<InstrumentStatus> status = session.Status();
    if (status && status->model == Model::V420) {
        Tell("the " + status->modelName + " drives no alarm outputs");
        return false;
    }
    return status.has_value();
}

// The outputs from `output` on, once the run ended early.
std::vector<int> From(int output) {
    std::vector<int> rest;
    for (int next = output; next <= kAlarmOutputs; ++next) {
        rest.push_back(next);
    }
    return rest;
}

ExitCode ReadOutputs(Session& session, LineOutput& output) {
    if (!HasAlarmOutputs(session)) {
        return ExitCode::NotDone;
    }
    SilenceWatch silence;
    std::vector<int> unread;
    for (int number = 1; number <= kAlarmOutputs; ++number) {
        const ExchangeResult result =
            session.Ask(Question::AlarmOutput(number), OutputName(number));
        silence.Note(result.outcome);
        if (result.outcome == Outcome::Closing || silence.Silent()) {
            unread.push_back(number);
            TellUndone("not read", unread, From(number + 1));
            return ExitCode::NotDone;
        }
        if (!result.Answered()) {
            unread.push_back(number);
        } else if (!output.Write(AlarmTable::FileLine(AlarmOutputReply::Setting(result.reply)))) {
            Tell(output.Problem());
            return ExitCode::FileError;
        }
    }
    return TellUndone("not read", unread, {}) ? ExitCode::Done : ExitCode::NotDone;
}

// Writes one output and reads it back: whether the instrument now holds it.
bool WriteConfirmed(Session& session, const AlarmOutputSetting& setting, Outcome& outcome) {
    const std::string what = OutputName(setting.output);
    const ExchangeResult written =
        session.Ask(*Question::Request(AlarmOutputRequest(setting)), what);
    outcome = written.outcome;
    if (!written.Answered()) {
        return false;
    }
    session.Link().Settle(kWritePauseMs);
    const ExchangeResult readBack =
        session.Ask(Question::AlarmOutput(setting.output), what + " read back");
    outcome = readBack.outcome;
    if (!readBack.Answered()) {
        return false;
    }
    if (AlarmOutputReply::Setting(readBack.reply) != setting) {
        Tell("the instrument holds other values for " + what + " than were sent");
        return false;
    }
    return true;
}

ExitCode WriteOutputs(Session& session, const std::vector<AlarmOutputSetting>& settings) {
    if (!HasAlarmOutputs(session)) {
        return ExitCode::NotDone;
    }
    SilenceWatch silence;
    std::vector<int> unconfirmed;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        Outcome outcome = Outcome::Answered;
        if (!WriteConfirmed(session, settings[i], outcome)) {
            unconfirmed.push_back(settings[i].output);
        }
        silence.Note(outcome);
        if (outcome == Outcome::Closing || silence.Silent()) {
            std::vector<int> notTried;
            for (std::size_t rest = i + 1; rest < settings.size(); ++rest) {
                notTried.push_back(settings[rest].output);
            }
            TellUndone("not confirmed", unconfirmed, notTried);
            return ExitCode::NotDone;
        }
    }
    return TellUndone("not confirmed", unconfirmed, {}) ? ExitCode::Done : ExitCode::NotDone;
}

// The table file's settings; a file that cannot be read, or a line that holds no output of the
// table, refuses it whole.
std::optional<std::vector<AlarmOutputSetting>> ReadTableFile(const std::string& path,
                                                             ExitCode& refused) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    if (!file || !(bytes << file.rdbuf())) {
        Tell("cannot read " + path);
        refused = ExitCode::FileError;
        return std::nullopt;
    }
    const AlarmTable::FileContent content = AlarmTable::ParseFile(bytes.str());
    refused = ExitCode::Usage;
    if (!content.skippedLines.empty()) {
        Tell(path + ": lines " + LoggedRecords::NumberRuns(content.skippedLines) +
             " hold no output of the table. Nothing was sent.");
        return std::nullopt;
    }
    if (content.settings.empty()) {
        Tell(path + " holds no outputs. Nothing was sent.");
        return std::nullopt;
    }
    return content.settings;
}

struct OutputsOptions {
    ConnectionOptions connection;
    std::string file;
};

void AddRead(CLI::App& outputs, CommandRun& run) {
    auto options = std::make_shared<OutputsOptions>();
    CLI::App* command = outputs.add_subcommand(
        "read", "Read the eight alarm outputs and print them as the lines of the panel's "
                "table file (\"OC\" layout); outputs not read are named on standard error");
    AddConnectionOptions(*command, options->connection);
    command->add_option("-o,--output", options->file, "Write the table to FILE instead")
        ->type_name("FILE");
    command->callback([options, &run] {
        run = [options] {
            StandardOutput standardOutput;
            std::unique_ptr<LineFile> file;
            if (!options->file.empty()) {
                file = std::make_unique<LineFile>(options->file, LineFile::Mode::Replace,
                                                  kFileLineEnd);
                if (!file->IsOpen()) {
                    Tell(file->Problem());
                    return ExitCode::FileError;
                }
            }
            LineOutput& output = file ? static_cast<LineOutput&>(*file) : standardOutput;
            return RunSession(options->connection,
                              [&output](Session& session) { return ReadOutputs(session, output); });
        };
    });
}

void AddWrite(CLI::App& outputs, CommandRun& run) {
    auto options = std::make_shared<OutputsOptions>();
    CLI::App* command = outputs.add_subcommand(
        "write", "Write every output of a table file (\"OC\" layout) and read each back; "
                 "outputs not confirmed are named on standard error");
    AddConnectionOptions(*command, options->connection);
    command->add_option("FILE", options->file, "The table file")->required();
    command->callback([options, &run] {
        run = [options] {
            ExitCode refused = ExitCode::Usage;
            const auto settings = ReadTableFile(options->file, refused);
            if (!settings) {
                return refused;
            }
            return RunSession(options->connection, [&settings](Session& session) {
                return WriteOutputs(session, *settings);
            });
        };
    });
}

} // namespace

void AddOutputsCommands(CLI::App& app, CommandRun& run) {
    CLI::App* outputs = app.add_subcommand("outputs", "The alarm outputs of a V630");
    outputs->require_subcommand(1);
    AddRead(*outputs, run);
    AddWrite(*outputs, run);
}
