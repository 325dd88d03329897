// outputs read, outputs write: the alarm table of a V630 in the table file's layout.
#include "Commands.h"
#include "LineOutput.h"
#include "Messages.h"
#include "Session.h"
#include "base/BoundedFile.h"
#include "instrument/AlarmOutputJobs.h"
#include "instrument/AlarmTable.h"
#include "instrument/FileLineEnd.h"
#include "instrument/LoggedRecords.h"

#include <memory>
#include <vector>

namespace {

// Whether the instrument has alarm outputs: a V420 drives none.
bool HasAlarmOutputs(Session& session) {
    const std::optional<protocol::InstrumentStatus> status = ReadStatus(session);
    if (status && status->model == protocol::Model::V420) {
        Tell("the " + status->modelName + " drives no alarm outputs");
        return false;
    }
    return status.has_value();
}

// The outputs of a run that were not done, told by kind; false when there are any.
bool TellUndone(const std::string& what, const std::vector<jobs::OutputResult>& results) {
    std::vector<int> undone;
    std::vector<int> notTried;
    for (const jobs::OutputResult& result : results) {
        if (result.fate == jobs::OutputFate::Differs) {
            Tell("the instrument holds other values for output " + std::to_string(result.output) +
                 " than were sent");
        }
        if (result.fate == jobs::OutputFate::NotTried) {
            notTried.push_back(result.output);
        } else if (result.fate != jobs::OutputFate::Confirmed) {
            undone.push_back(result.output);
        }
    }
    if (!undone.empty()) {
        Tell("outputs " + what + ": " + LoggedRecords::NumberRuns(undone));
    }
    if (!notTried.empty()) {
        Tell("outputs not tried: " + LoggedRecords::NumberRuns(notTried));
    }
    return undone.empty() && notTried.empty();
}

ExitCode ReadOutputs(Session& session, LineOutput& output) {
    if (!HasAlarmOutputs(session)) {
        return ExitCode::NotDone;
    }
    std::vector<int> outputs;
    for (int number = 1; number <= protocol::kAlarmOutputs; ++number) {
        outputs.push_back(number);
    }
    const std::vector<jobs::OutputResult> results = jobs::ReadAlarmOutputs(session.Jobs(), outputs);
    for (const jobs::OutputResult& result : results) {
        if (result.held && !output.Write(AlarmTable::FileLine(*result.held))) {
            Tell(output.Problem());
            return ExitCode::FileError;
        }
    }
    return TellUndone("not read", results) ? ExitCode::Done : ExitCode::NotDone;
}

ExitCode WriteOutputs(Session& session, const std::vector<protocol::AlarmOutputSetting>& settings) {
    if (!HasAlarmOutputs(session)) {
        return ExitCode::NotDone;
    }
    return TellUndone("not confirmed", jobs::WriteAlarmOutputs(session.Jobs(), settings))
               ? ExitCode::Done
               : ExitCode::NotDone;
}

// The table file's settings; a file that cannot be read, or a line that holds no output of the
// table, refuses it whole.
std::optional<std::vector<protocol::AlarmOutputSetting>> ReadTableFile(const std::string& path,
                                                                       ExitCode& refused) {
    const BoundedFile file = ReadBoundedFile(path, AlarmTable::kLargestFile);
    if (!file.error.empty()) {
        Tell("cannot read " + path + ": " + file.error + ". Nothing was sent.");
        refused = ExitCode::FileError;
        return std::nullopt;
    }
    const AlarmTable::FileContent content = AlarmTable::ParseFile(file.bytes);
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

void AddRead(CLI::App& outputs, CommandRun& run, ConnectionOptions& connection) {
    auto file = std::make_shared<std::string>();
    CLI::App* command = AddInstrumentCommand(
        outputs, "read",
        "Read the eight alarm outputs and print them as the lines of the panel's table file "
        "(\"OC\" layout); outputs not read are named on standard error",
        connection);
    command->add_option("-o,--output", *file, "Write the table to FILE instead")->type_name("FILE");
    command->callback([file, &run, &connection] {
        run = [file, &connection] {
            StandardOutput standardOutput;
            std::unique_ptr<LineFile> table;
            if (!file->empty()) {
                table = std::make_unique<LineFile>(*file, LineFile::Mode::Replace, kFileLineEnd);
                if (!table->IsOpen()) {
                    Tell(table->Problem());
                    return ExitCode::FileError;
                }
            }
            LineOutput& output = table ? static_cast<LineOutput&>(*table) : standardOutput;
            const ExitCode read = RunSession(
                connection, [&output](Session& session) { return ReadOutputs(session, output); });
            // The outputs read replace the earlier table; none read leaves it as it was.
            if (table && table->Wrote() && !table->PutInPlace()) {
                Tell(table->Problem());
                return ExitCode::FileError;
            }
            return read;
        };
    });
}

void AddWrite(CLI::App& outputs, CommandRun& run, ConnectionOptions& connection) {
    auto file = std::make_shared<std::string>();
    CLI::App* command = AddInstrumentCommand(
        outputs, "write",
        "Write every output of a table file (\"OC\" layout) and read each back; outputs not "
        "confirmed are named on standard error",
        connection);
    command->add_option("FILE", *file, "The table file")->required();
    command->callback([file, &run, &connection] {
        run = [file, &connection] {
            ExitCode refused = ExitCode::Usage;
            const auto settings = ReadTableFile(*file, refused);
            if (!settings) {
                return refused;
            }
            return RunSession(connection, [&settings](Session& session) {
                return WriteOutputs(session, *settings);
            });
        };
    });
}

} // namespace

void AddOutputsCommands(CLI::App& app, CommandRun& run, ConnectionOptions& connection) {
    CLI::App* outputs = app.add_subcommand("outputs", "The alarm outputs of a V630");
    outputs->require_subcommand(1);
    AddRead(*outputs, run, connection);
    AddWrite(*outputs, run, connection);
}
