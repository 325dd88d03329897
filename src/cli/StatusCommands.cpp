// status, clock set, config set: the instrument-wide settings of the status reply.
#include "Commands.h"
#include "LineOutput.h"
#include "Messages.h"
#include "Session.h"
#include "instrument/SendChecks.h"
#include "instrument/StatusJobs.h"
#include "instrument/TextEncoding.h"

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>

namespace {

nlohmann::ordered_json StatusObject(const protocol::InstrumentStatus& status) {
    return {
        {"model", Utf8FromWindows1252(status.modelName)},
        {"firmware", Utf8FromWindows1252(status.firmware)},
        {"date", Utf8FromWindows1252(status.date)},
        {"time", Utf8FromWindows1252(status.time)},
        {"unit", status.Flag(protocol::SystemFlag::kFahrenheit) ? "F" : "C"},
        {"inputs",
         status.inputs == protocol::InputFamily::Resistance ? "resistance" : "thermocouple"},
        {"beep", status.Flag(protocol::SystemFlag::kAudible)},
        {"autoscan", status.Flag(protocol::SystemFlag::kAutoscan)},
        {"scan_interval", status.autoscanInterval},
        {"logging", status.Flag(protocol::SystemFlag::kLogging)},
        {"log_interval", status.loggingInterval},
        {"records", status.recordCount},
    };
}

// One object on one line, or one "name: value" line per setting.
bool PrintStatus(const protocol::InstrumentStatus& status, bool json) {
    StandardOutput output;
    const nlohmann::ordered_json object = StatusObject(status);
    if (json) {
        return output.Write(object.dump());
    }
    for (const auto& [key, value] : object.items()) {
        std::string name = key;
        std::replace(name.begin(), name.end(), '_', ' ');
        const std::string text = value.is_boolean()  ? (value.get<bool>() ? "on" : "off")
                                 : value.is_string() ? value.get<std::string>()
                                                     : value.dump();
        if (!output.Write(name + ": " + text)) {
            return false;
        }
    }
    return true;
}

ExitCode Printed(bool printed) {
    return printed ? ExitCode::Done : ExitCode::FileError;
}

// The status read back after a change, printed, and the changes it does not show told.
ExitCode Changed(const jobs::StatusChanged& changed) {
    if (!changed.before.Answered()) {
        TellUnanswered(changed.before.outcome, "the status poll");
        return ExitCode::NotDone;
    }
    TellUnanswered(changed.written.request, "the \"S\" request");
    const jobs::Result<protocol::InstrumentStatus>& held = changed.written.held;
    if (!held.Answered()) {
        TellUnanswered(held.outcome, "the \"S\" request read back");
        return ExitCode::NotDone;
    }
    if (!PrintStatus(*held.value, false)) {
        return ExitCode::FileError;
    }
    if (!changed.notTaken.empty()) {
        std::string names;
        for (const std::string& name : changed.notTaken) {
            names += (names.empty() ? "" : ", ") + name;
        }
        Tell("the instrument does not hold what was sent: " + names);
    }
    return changed.Done() && changed.written.request == protocol::Outcome::Answered
               ? ExitCode::Done
               : ExitCode::NotDone;
}

void AddStatus(CLI::App& app, CommandRun& run, ConnectionOptions& connection) {
    auto json = std::make_shared<bool>(false);
    CLI::App* command = AddInstrumentCommand(
        app, "status",
        "Poll the status once and print model, firmware, clock, unit, inputs, beep, autoscan "
        "and its interval, logging and its interval, records in memory",
        connection);
    command->add_flag("--json", *json, "One JSON object instead of name: value lines");
    command->callback([json, &run, &connection] {
        run = [json, &connection] {
            return RunSession(connection, [&json](Session& session) {
                const std::optional<protocol::InstrumentStatus> status = ReadStatus(session);
                return status ? Printed(PrintStatus(*status, *json)) : ExitCode::NotDone;
            });
        };
    });
}

struct ClockOptions {
    bool pcTime = false;
    std::string date;
    std::string time;
};

void AddClockSet(CLI::App& app, CommandRun& run, ConnectionOptions& connection) {
    auto options = std::make_shared<ClockOptions>();
    CLI::App* clock = app.add_subcommand("clock", "The instrument's clock");
    clock->require_subcommand(1);
    CLI::App* command = AddInstrumentCommand(
        *clock, "set",
        "Set the instrument's clock (to the PC's time unless --date and --time are given), "
        "read it back and print the status it now holds",
        connection);
    CLI::Option* pcTime =
        command->add_flag("--pc-time", options->pcTime, "The PC's local date and time (default)");
    CLI::Option* date = command->add_option("--date", options->date, "The date as DD/MM/YY");
    CLI::Option* time = command->add_option("--time", options->time, "The time as HH:MM:SS");
    date->needs(time)->excludes(pcTime);
    time->needs(date)->excludes(pcTime);
    command->callback([options, &run, &connection] {
        run = [options, &connection] {
            std::optional<LocalTime> time;
            if (!options->date.empty()) {
                const Checked<std::string> date = CheckDate(options->date);
                const Checked<std::string> checkedTime = CheckTime(options->time);
                if (!date || !checkedTime) {
                    Tell(!date ? date.refusal : checkedTime.refusal);
                    return ExitCode::Usage;
                }
                time = ReadInstrumentClock(*date.value, *checkedTime.value);
            }
            return RunSession(connection, [&time](Session& session) {
                return Changed(jobs::SetClock(session.Jobs(), session.Time(), time));
            });
        };
    });
}

struct ConfigOptions {
    std::string unit;
    std::string beep;
    std::string autoscan;
    std::string logging;
    std::string scanInterval;
    std::string logInterval;
};

std::optional<bool> OnOff(const std::string& text, const char* on) {
    if (text.empty()) {
        return std::nullopt;
    }
    return text == on;
}

// The change the options name; a refused interval leaves the message in `refusal`.
std::optional<StatusChange> ConfigChange(const ConfigOptions& options, std::string& refusal) {
    StatusChange change{std::nullopt,
                        OnOff(options.unit, "F"),
                        OnOff(options.beep, "on"),
                        OnOff(options.autoscan, "on"),
                        OnOff(options.logging, "on"),
                        std::nullopt,
                        std::nullopt};
    if (!options.scanInterval.empty()) {
        const Checked<int> interval = CheckAutoscanInterval(options.scanInterval);
        change.autoscanInterval = interval.value;
        refusal = interval.refusal;
    }
    if (refusal.empty() && !options.logInterval.empty()) {
        const Checked<int> interval = CheckLoggingInterval(options.logInterval);
        change.loggingInterval = interval.value;
        refusal = interval.refusal;
    }
    return refusal.empty() ? std::optional(change) : std::nullopt;
}

void AddConfigSet(CLI::App& app, CommandRun& run, ConnectionOptions& connection) {
    auto options = std::make_shared<ConfigOptions>();
    CLI::App* config = app.add_subcommand("config", "The instrument-wide settings");
    config->require_subcommand(1);
    CLI::App* command = AddInstrumentCommand(
        *config, "set",
        "Change the named settings only (the others stay as the instrument holds them), read "
        "them back and print the status it now holds",
        connection);
    const auto onOff = CLI::IsMember({"on", "off"});
    command->add_option("--unit", options->unit, "Temperature unit")
        ->check(CLI::IsMember({"C", "F"}));
    command->add_option("--beep", options->beep, "Key beep on or off")->check(onOff);
    command->add_option("--autoscan", options->autoscan, "Autoscan on or off")->check(onOff);
    command->add_option("--scan-interval", options->scanInterval, "Autoscan interval, 2 to 10 s")
        ->type_name("S");
    command->add_option("--logging", options->logging, "Instrument logging on or off")
        ->check(onOff);
    command->add_option("--log-interval", options->logInterval, "Logging interval, 5 to 3600 s")
        ->type_name("S");
    command->callback([options, &run, &connection] {
        if (options->unit.empty() && options->beep.empty() && options->autoscan.empty() &&
            options->logging.empty() && options->scanInterval.empty() &&
            options->logInterval.empty()) {
            throw CLI::ValidationError("config set", "name at least one setting to change");
        }
        run = [options, &connection] {
            std::string refusal;
            const std::optional<StatusChange> change = ConfigChange(*options, refusal);
            if (!change) {
                Tell(refusal);
                return ExitCode::Usage;
            }
            return RunSession(connection, [&change](Session& session) {
                return Changed(jobs::ChangeStatus(session.Jobs(), session.Time(), *change));
            });
        };
    });
}

} // namespace

void AddStatusCommands(CLI::App& app, CommandRun& run, ConnectionOptions& connection) {
    AddStatus(app, run, connection);
    AddClockSet(app, run, connection);
    AddConfigSet(app, run, connection);
}
