// status, clock set, config set: the instrument-wide settings of the status reply.
#include "Commands.h"
#include "ConnectionOptions.h"
#include "LineOutput.h"
#include "Messages.h"
#include "instrument/SendChecks.h"
#include "protocol/MessageCatalogue.h"
#include "protocol/RequestBuilders.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <nlohmann/json.hpp>

namespace {

// The instrument takes a changed setting within this pause, before it is read back.
constexpr std::uint32_t kSettlePauseMs = 100;
// A clock set counts as taken when the instrument reads at most this much later than was sent.
constexpr int kClockSlackSeconds = 10;

nlohmann::ordered_json StatusObject(const InstrumentStatus& status) {
    return {
        {"model", status.modelName},
        {"firmware", status.firmware},
        {"date", status.date},
        {"time", status.time},
        {"unit", status.Flag(SystemFlag::kFahrenheit) ? "F" : "C"},
        {"inputs", status.inputs == InputFamily::Resistance ? "resistance" : "thermocouple"},
        {"beep", status.Flag(SystemFlag::kAudible)},
        {"autoscan", status.Flag(SystemFlag::kAutoscan)},
        {"scan_interval", status.autoscanInterval},
        {"logging", status.Flag(SystemFlag::kLogging)},
        {"log_interval", status.loggingInterval},
        {"records", status.recordCount},
    };
}

// One object on one line, or one "name: value" line per setting.
bool PrintStatus(const InstrumentStatus& status, bool json) {
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

// Reads the status, sends it back with only the change, reads it back and prints it.
ExitCode ChangeStatus(Session& session, StatusChange change, bool pcTime) {
    const std::optional<InstrumentStatus> status = session.Status();
    if (!status) {
        return ExitCode::NotDone;
    }
    const std::uint32_t readAt = session.Time().TickCount();
    if (pcTime) {
        change.clock = ToLocalTime(session.Time().Now());
    }
    const int secondsSinceRead =
        static_cast<int>(std::lround((session.Time().TickCount() - readAt) / 1000.0));
    const ExchangeResult readBack = session.ChangeAndReadBack(
        StatusRequestFor(*status, change, secondsSinceRead), kSettlePauseMs,
        Question::Poll(Poll::kStatus), "the \"S\" request");
    if (!readBack.Answered()) {
        return ExitCode::NotDone;
    }
    const InstrumentStatus held = ReadStatus(readBack.reply);
    if (!PrintStatus(held, false)) {
        return ExitCode::FileError;
    }
    const std::vector<std::string> missed = NotTaken(change, held, kClockSlackSeconds);
    if (!missed.empty()) {
        std::string names;
        for (const std::string& name : missed) {
            names += (names.empty() ? "" : ", ") + name;
        }
        Tell("the instrument does not hold what was sent: " + names);
        return ExitCode::NotDone;
    }
    return ExitCode::Done;
}

struct StatusOptions {
    ConnectionOptions connection;
    bool json = false;
};

void AddStatus(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<StatusOptions>();
    CLI::App* command = app.add_subcommand(
        "status", "Poll the status once and print model, firmware, clock, unit, inputs, beep, "
                  "autoscan and its interval, logging and its interval, records in memory");
    AddConnectionOptions(*command, options->connection);
    command->add_flag("--json", options->json, "One JSON object instead of name: value lines");
    command->callback([options, &run] {
        run = [options] {
            return RunSession(options->connection, [&options](Session& session) {
                const std::optional<InstrumentStatus> status = session.Status();
                return status ? Printed(PrintStatus(*status, options->json)) : ExitCode::NotDone;
            });
        };
    });
}

struct ClockOptions {
    ConnectionOptions connection;
    bool pcTime = false;
    std::string date;
    std::string time;
};

void AddClockSet(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<ClockOptions>();
    CLI::App* clock = app.add_subcommand("clock", "The instrument's clock");
    clock->require_subcommand(1);
    CLI::App* command = clock->add_subcommand(
        "set", "Set the instrument's clock (to the PC's time unless --date and --time are "
               "given), read it back and print the status it now holds");
    AddConnectionOptions(*command, options->connection);
    CLI::Option* pcTime =
        command->add_flag("--pc-time", options->pcTime, "The PC's local date and time (default)");
    CLI::Option* date = command->add_option("--date", options->date, "The date as DD/MM/YY");
    CLI::Option* time = command->add_option("--time", options->time, "The time as HH:MM:SS");
    date->needs(time)->excludes(pcTime);
    time->needs(date)->excludes(pcTime);
    command->callback([options, &run] {
        run = [options] {
            StatusChange change;
            if (!options->date.empty()) {
                const Checked<std::string> date = CheckDate(options->date);
                const Checked<std::string> time = CheckTime(options->time);
                if (!date || !time) {
                    Tell(!date ? date.refusal : time.refusal);
                    return ExitCode::Usage;
                }
                change.clock = ReadInstrumentClock(*date.value, *time.value);
            }
            return RunSession(options->connection, [&](Session& session) {
                return ChangeStatus(session, change, !change.clock);
            });
        };
    });
}

struct ConfigOptions {
    ConnectionOptions connection;
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

void AddConfigSet(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<ConfigOptions>();
    CLI::App* config = app.add_subcommand("config", "The instrument-wide settings");
    config->require_subcommand(1);
    CLI::App* command = config->add_subcommand(
        "set", "Change the named settings only (the others stay as the instrument holds them), "
               "read them back and print the status it now holds");
    AddConnectionOptions(*command, options->connection);
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
    command->callback([command, options, &run] {
        if (options->unit.empty() && options->beep.empty() && options->autoscan.empty() &&
            options->logging.empty() && options->scanInterval.empty() &&
            options->logInterval.empty()) {
            throw CLI::ValidationError("config set", "name at least one setting to change");
        }
        run = [options] {
            std::string refusal;
            const std::optional<StatusChange> change = ConfigChange(*options, refusal);
            if (!change) {
                Tell(refusal);
                return ExitCode::Usage;
            }
            return RunSession(options->connection, [&change](Session& session) {
                return ChangeStatus(session, *change, false);
            });
        };
    });
}

} // namespace

void AddStatusCommands(CLI::App& app, CommandRun& run) {
    AddStatus(app, run);
    AddClockSet(app, run);
    AddConfigSet(app, run);
}
