// channel N: one channel's sensor type and scaling, shown and changed.
#include "Commands.h"
#include "LineOutput.h"
#include "Messages.h"
#include "Session.h"
#include "instrument/ChannelJobs.h"
#include "instrument/NumberText.h"
#include "instrument/ScalingLimits.h"
#include "instrument/SensorTypes.h"

#include <memory>

namespace {

struct ChannelOptions {
    int channel = 1;
    std::string type;
    std::string m;
    std::string c;

    bool Changes() const { return !type.empty() || !m.empty() || !c.empty(); }
};

// The instrument pads its scaling fields with blanks.
std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

bool PrintSetup(int channel, const jobs::ChannelSetup& setup, protocol::InputFamily inputs) {
    const std::string name = setup.typeCode ? SensorTypeName(*setup.typeCode, inputs, channel) : "";
    const std::string type =
        !name.empty() ? name
                      : "code " + (setup.typeCode ? std::to_string(*setup.typeCode) : "?") +
                            " (none of this instrument's)";
    StandardOutput output;
    return output.Write("channel: " + std::to_string(channel)) && output.Write("type: " + type) &&
           output.Write("m: " + Trimmed(setup.m)) && output.Write("c: " + Trimmed(setup.c));
}

// The scaling text to send: the one given (already checked), else the instrument's own.
std::optional<std::string> ScalingToSend(const std::string& given, const std::string& held,
                                         const ScalingLimit& limit) {
    if (!given.empty()) {
        return given;
    }
    const std::optional<double> value = ParseFloat(held);
    std::optional<std::string> text = value ? ScalingText(*value) : std::nullopt;
    if (!text) {
        Tell("the instrument's " + limit.name + " \"" + Trimmed(held) +
             "\" cannot be sent back; give --" + limit.name + ". Nothing was sent.");
    }
    return text;
}

ExitCode Change(Session& session, const ChannelOptions& options, const jobs::ChannelSetup& now,
                protocol::InputFamily inputs) {
    const int channel = options.channel;
    const std::optional<int> code =
        options.type.empty() ? now.typeCode : SensorTypeCode(options.type, inputs, channel);
    if (!code || !IsSensorTypeCode(*code, inputs, channel)) {
        Tell(options.type.empty() ? "the instrument reports no sensor type of its own; give --type"
                                  : "--type " + options.type + " is not a sensor type of channel " +
                                        std::to_string(channel) + " on this instrument");
        return ExitCode::Usage;
    }
    const auto m = ScalingToSend(options.m, now.m, SlopeLimit());
    const auto c = ScalingToSend(options.c, now.c, InterceptLimit());
    if (!m || !c) {
        return ExitCode::Usage;
    }
    const jobs::ChannelSetting setting{channel, *code, *m, *c};
    const jobs::ChannelChanged changed =
        jobs::ChangeChannel(session.Jobs(), setting, protocol::ReadBack::Awaited);
    TellUnanswered(changed.request, "the \"C\" request");
    if (!changed.held.Answered()) {
        TellUnanswered(changed.held.outcome, "the \"C\" request read back");
        return ExitCode::NotDone;
    }
    if (!PrintSetup(channel, *changed.held.value, inputs)) {
        return ExitCode::FileError;
    }
    if (!jobs::Holds(*changed.held.value, setting)) {
        Tell("the instrument does not hold what was sent");
        return ExitCode::NotDone;
    }
    return changed.request == protocol::Outcome::Answered ? ExitCode::Done : ExitCode::NotDone;
}

ExitCode ShowOrChange(Session& session, const ChannelOptions& options) {
    const std::optional<protocol::InstrumentStatus> status = ReadStatus(session);
    if (!status) {
        return ExitCode::NotDone;
    }
    const jobs::Result<jobs::ChannelSetup> now = jobs::ReadChannel(session.Jobs(), options.channel);
    if (!now.Answered()) {
        TellUnanswered(now.outcome, "the channel poll");
        return ExitCode::NotDone;
    }
    if (options.Changes()) {
        return Change(session, options, *now.value, status->inputs);
    }
    return PrintSetup(options.channel, *now.value, status->inputs) ? ExitCode::Done
                                                                   : ExitCode::FileError;
}

// The m and c given, checked before anything is sent.
bool CheckScalings(ChannelOptions& options) {
    for (auto [text, limit] :
         {std::pair{&options.m, &SlopeLimit()}, std::pair{&options.c, &InterceptLimit()}}) {
        if (text->empty()) {
            continue;
        }
        const Checked<std::string> checked = CheckScaling(*limit, *text);
        if (!checked) {
            Tell(checked.refusal);
            return false;
        }
        *text = *checked.value;
    }
    return true;
}

} // namespace

void AddChannelCommand(CLI::App& app, CommandRun& run, ConnectionOptions& connection) {
    auto options = std::make_shared<ChannelOptions>();
    CLI::App* command = AddInstrumentCommand(
        app, "channel",
        "Show channel N's sensor type and scaling (y = m x + c); with options, send the change "
        "('C'), read it back and show what the instrument holds",
        connection);
    command->add_option("N", options->channel, "The channel, 0 (cold junction) to 8")
        ->required()
        ->check(CLI::Range(0, 8));
    command
        ->add_option("--type", options->type,
                     "Sensor type: J, K, T, E, N, R, S or B on a thermocouple instrument, "
                     "PT100 on a resistance one and on channel 0")
        ->type_name("NAME");
    command->add_option("--m", options->m, "Slope m, 1.0 +/- 0.1 (or 0), with '.'")->type_name("M");
    command->add_option("--c", options->c, "Offset c, 0.0 +/- 2, with '.'")->type_name("C");
    command->callback([options, &run, &connection] {
        run = [options, &connection] {
            if (!CheckScalings(*options)) {
                return ExitCode::Usage;
            }
            return RunSession(connection, [&options](Session& session) {
                return ShowOrChange(session, *options);
            });
        };
    });
}
