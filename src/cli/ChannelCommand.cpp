// channel N: one channel's sensor type and scaling, shown and changed.
#include "Commands.h"
#include "ConnectionOptions.h"
#include "LineOutput.h"
#include "Messages.h"
#include "instrument/NumberText.h"
#include "instrument/ScalingLimits.h"
#include "instrument/SensorTypes.h"
#include "protocol/RequestBuilders.h"

#include <cmath>
#include <memory>

namespace {

// The instrument takes a changed channel within this pause, before it is read back.
constexpr std::uint32_t kSettlePauseMs = 100;

struct ChannelOptions {
    ConnectionOptions connection;
    int channel = 1;
    std::string type;
    std::string m;
    std::string c;

    bool Changes() const { return !type.empty() || !m.empty() || !c.empty(); }
};

// What a channel reply reports.
struct ChannelReport {
    std::optional<int> code;
    std::string m;
    std::string c;
};

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

ChannelReport ReadSetup(std::string_view reply) {
    return {ChannelConfigurationReply::SensorType(reply),
            Trimmed(ChannelConfigurationReply::ScalingM(reply)),
            Trimmed(ChannelConfigurationReply::ScalingC(reply))};
}

bool PrintSetup(int channel, const ChannelReport& setup, InputFamily inputs) {
    const std::string name = setup.code ? SensorTypeName(*setup.code, inputs, channel) : "";
    const std::string type = !name.empty()
                                 ? name
                                 : "code " + (setup.code ? std::to_string(*setup.code) : "?") +
                                       " (none of this instrument's)";
    StandardOutput output;
    return output.Write("channel: " + std::to_string(channel)) && output.Write("type: " + type) &&
           output.Write("m: " + setup.m) && output.Write("c: " + setup.c);
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
        Tell("the instrument's " + limit.name + " \"" + held + "\" cannot be sent back; give --" +
             limit.name + ". Nothing was sent.");
    }
    return text;
}

bool SameNumber(const std::string& sent, const std::string& held) {
    const std::optional<double> heldValue = ParseFloat(held);
    return heldValue && std::fabs(*heldValue - TextToFloat(sent)) < 1e-9;
}

ExitCode Change(Session& session, const ChannelOptions& options, const ChannelReport& now,
                InputFamily inputs) {
    const int channel = options.channel;
    const std::optional<int> code =
        options.type.empty() ? now.code : SensorTypeCode(options.type, inputs, channel);
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
    const ExchangeResult readBack =
        session.ChangeAndReadBack(ChannelRequest(channel, *code, *m, *c), kSettlePauseMs,
                                  Question::Poll(Poll::Channel(channel)), "the \"C\" request");
    if (!readBack.Answered()) {
        return ExitCode::NotDone;
    }
    const ChannelReport held = ReadSetup(readBack.reply);
    if (!PrintSetup(channel, held, inputs)) {
        return ExitCode::FileError;
    }
    if (held.code != code || !SameNumber(*m, held.m) || !SameNumber(*c, held.c)) {
        Tell("the instrument does not hold what was sent");
        return ExitCode::NotDone;
    }
    return ExitCode::Done;
}

ExitCode ShowOrChange(Session& session, const ChannelOptions& options) {
    const std::optional<InstrumentStatus> status = session.Status();
    if (!status) {
        return ExitCode::NotDone;
    }
    const ExchangeResult reply =
        session.Ask(Question::Poll(Poll::Channel(options.channel)), "the channel poll");
    if (!reply.Answered()) {
        return ExitCode::NotDone;
    }
    const ChannelReport now = ReadSetup(reply.reply);
    if (options.Changes()) {
        return Change(session, options, now, status->inputs);
    }
    return PrintSetup(options.channel, now, status->inputs) ? ExitCode::Done : ExitCode::FileError;
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

void AddChannelCommand(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<ChannelOptions>();
    CLI::App* command = app.add_subcommand(
        "channel", "Show channel N's sensor type and scaling (y = m x + c); with options, send "
                   "the change ('C'), read it back and show what the instrument holds");
    AddConnectionOptions(*command, options->connection);
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
    command->callback([options, &run] {
        run = [options] {
            if (!CheckScalings(*options)) {
                return ExitCode::Usage;
            }
            return RunSession(options->connection, [&options](Session& session) {
                return ShowOrChange(session, *options);
            });
        };
    });
}
