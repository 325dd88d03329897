// read: readings polled at an interval, one line per reading, to every sink of the run.
#include "Commands.h"
#include "Messages.h"
#include "MqttOptions.h"
#include "MqttSink.h"
#include "ReadingSinks.h"
#include "Session.h"
#include "instrument/FileLineEnd.h"
#include "instrument/StatusJobs.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

// How soon a sink that failed between readings ends a long wait for the next.
constexpr std::uint32_t kSinkCheckMs = 500;

struct ReadOptions {
    int count = 1;
    double intervalSeconds = 2.0;
    bool rawSignals = false;
    bool json = false;
    std::string file;
    MqttOptions mqtt;
};

ExitCode Ended(const SinkFailure& failure) {
    if (!failure.problem.empty()) {
        Tell(failure.problem);
    }
    return failure.code;
}

// Polls the readings until `count` have been taken (0: until a stop signal) and hands each to
// every sink. A silent instrument ends a counted run; a run without end keeps polling, so that
// it carries on once the instrument answers again; while the port's device is away it asks
// nothing, the session telling the loss and the return.
class ReadLoop {
public:
    ReadLoop(Session& session, const ReadOptions& options, std::vector<ReadingSink*> sinks)
        : session_(session), options_(options), sinks_(std::move(sinks)) {}

    ExitCode Run(char poll) {
        const auto intervalMs =
            static_cast<std::uint32_t>(std::lround(options_.intervalSeconds * 1000));
        std::uint32_t next = session_.Time().TickCount();
        while (!session_.Stopping()) {
            if (const std::optional<ExitCode> end = PollOnce(poll)) {
                return *end;
            }
            next += intervalMs;
            const std::uint32_t now = session_.Time().TickCount();
            // A poll that took longer than the interval moves the schedule on.
            if (static_cast<std::int32_t>(next - now) <= 0) {
                next = now;
            } else if (const std::optional<ExitCode> end = WaitUntil(next)) {
                return *end;
            }
        }
        return ExitCode::Done;
    }

private:
    // Settles until the tick `due`; a sink that fails meanwhile ends the run.
    std::optional<ExitCode> WaitUntil(std::uint32_t due) {
        while (!session_.Stopping()) {
            const auto left = static_cast<std::int32_t>(due - session_.Time().TickCount());
            if (left <= 0) {
                break;
            }
            session_.Link().Settle(std::min(static_cast<std::uint32_t>(left), kSinkCheckMs));
            for (ReadingSink* sink : sinks_) {
                if (const std::optional<SinkFailure> failure = sink->Failure()) {
                    return Ended(*failure);
                }
            }
        }
        return std::nullopt;
    }

    // The end of the run, if this poll brings it.
    std::optional<ExitCode> PollOnce(char poll) {
        if (options_.count == 0 && session_.DeviceLost()) {
            return std::nullopt;
        }
        const LocalTime asked = ToLocalTime(session_.Time().Now());
        const jobs::Result<protocol::Readings> readings =
            jobs::ReadReadings(session_.Jobs(jobs::kReadingPollBounds), poll);
        silence_.Note(readings.outcome);
        if (readings.outcome == protocol::Outcome::Closing) {
            return ExitCode::Done;
        }
        if (readings.outcome == protocol::Outcome::Refused) {
            Tell("a reading reply that cannot be read is left out");
            return std::nullopt;
        }
        if (!readings.Answered()) {
            return Unanswered();
        }
        if (toldSilent_) {
            Tell("the instrument answers again");
            toldSilent_ = false;
        }
        for (ReadingSink* sink : sinks_) {
            if (const std::optional<SinkFailure> failure = sink->Take({asked, *readings.value})) {
                return Ended(*failure);
            }
        }
        return ++taken_ == options_.count ? std::optional(ExitCode::Done) : std::nullopt;
    }

    std::optional<ExitCode> Unanswered() {
        if (!silence_.Silent() || toldSilent_) {
            return std::nullopt;
        }
        Tell("the instrument stopped answering the reading poll");
        toldSilent_ = true;
        return options_.count > 0 ? std::optional(ExitCode::NotDone) : std::nullopt;
    }

    Session& session_;
    const ReadOptions& options_;
    std::vector<ReadingSink*> sinks_;
    protocol::SilenceWatch silence_;
    bool toldSilent_ = false;
    int taken_ = 0;
};

// Polls the readings into the lines and, with --mqtt, the broker. The status is asked for first
// when the run needs it: the instrument's inputs for --mv, its model and more for the broker.
ExitCode ReadOnSession(Session& session, const ReadOptions& options,
                       const ConnectionOptions& connection, LineSink& lines,
                       mqtt::PublisherOptions publishing) {
    const bool toBroker = !options.mqtt.url.empty();
    std::optional<protocol::InstrumentStatus> status;
    if ((options.rawSignals || toBroker) && !(status = ReadStatus(session))) {
        return ExitCode::NotDone;
    }
    // 'T', or with --mv the signal poll of the instrument's inputs.
    const char poll =
        *ReadingPoll(options.rawSignals ? ReadingKind::RawSignal : ReadingKind::Temperature,
                     status ? std::optional(status->inputs) : std::nullopt);
    if (!toBroker) {
        return ReadLoop(session, options, {&lines}).Run(poll);
    }
    const mqtt::InstrumentInfo info = mqtt::InstrumentInfoOf(*status);
    publishing.id =
        MqttId(options.mqtt, info.model, connection.simulate.empty() ? session.PortName() : "sim");
    std::optional<MqttSink> broker;
    try {
        broker.emplace(std::move(publishing), info);
    } catch (const std::invalid_argument& error) {
        Tell(error.what());
        return ExitCode::Usage;
    }
    const ExitCode end = ReadLoop(session, options, {&lines, &*broker}).Run(poll);
    const ExitCode published = broker->Finish();
    return end == ExitCode::Done ? published : end;
}

ExitCode RunRead(const ReadOptions& options, const ConnectionOptions& connection) {
    mqtt::PublisherOptions publishing;
    if (!options.mqtt.url.empty()) {
        if (const ExitCode checked = CheckMqttOptions(options.mqtt, publishing);
            checked != ExitCode::Done) {
            return checked;
        }
    }
    StandardOutput standardOutput;
    std::unique_ptr<LineFile> file;
    LineOutput* output = &standardOutput;
    if (!options.file.empty()) {
        // Appended: a logger started again never loses what it wrote before.
        file = std::make_unique<LineFile>(options.file, LineFile::Mode::Append,
                                          options.json ? "\n" : kFileLineEnd);
        if (!file->IsOpen()) {
            Tell(file->Problem());
            return ExitCode::FileError;
        }
        output = file.get();
    }
    LineSink lines(options.json ? &JsonText : &PcLogText, *output);
    return RunSession(connection, [&](Session& session) {
        return ReadOnSession(session, options, connection, lines, std::move(publishing));
    });
}

} // namespace

void AddReadCommand(CLI::App& app, CommandRun& run, ConnectionOptions& connection) {
    auto options = std::make_shared<ReadOptions>();
    CLI::App* command = AddInstrumentCommand(
        app, "read",
        "Poll the readings every S seconds and print one line per reading: the PC log's line "
        "(time stamp, then the cold junction and channels 1 to 8, \";\" separated, four "
        "decimals) or a JSON object",
        connection);
    command
        ->add_option("--count", options->count,
                     "Readings to take; 0 runs until SIGINT or "
                     "SIGTERM (default 1)")
        ->check(CLI::NonNegativeNumber)
        ->type_name("N");
    command
        ->add_option("--interval", options->intervalSeconds,
                     "Seconds from one poll to the next (default 2)")
        ->check(CLI::Range(0.1, 86400.0))
        ->type_name("S");
    command->add_flag("--mv", options->rawSignals,
                      "Millivolts ('M') on a thermocouple instrument, ohms ('R') on a "
                      "resistance one, instead of temperatures ('T')");
    command->add_flag("--json", options->json,
                      "One JSON object per line: time, unit, cold_junction, channels");
    command
        ->add_option("-o,--output", options->file,
                     "Append the lines to FILE, each on the disk as soon as it is written")
        ->type_name("FILE");
    AddMqttOptions(*command, options->mqtt);
    command->callback([options, &run, &connection] {
        run = [options, &connection] { return RunRead(*options, connection); };
    });
}
