#include "AlarmOutputJobs.h"

#include "protocol/RequestBuilders.h"

namespace jobs {

namespace {

// How an output fared by the reply that reports it, against what was written, if anything.
OutputResult Judged(int output, const protocol::ExchangeResult& report,
                    const protocol::AlarmOutputSetting* written) {
    OutputResult result{output, OutputFate::NotAnswered, std::nullopt};
    switch (report.outcome) {
    case protocol::Outcome::Answered:
        result.held = protocol::AlarmOutputReply::Setting(report.reply);
        result.fate = written != nullptr && *result.held != *written ? OutputFate::Differs
                                                                     : OutputFate::Confirmed;
        break;
    case protocol::Outcome::Refused:
        result.fate = OutputFate::Refused;
        break;
    case protocol::Outcome::Cancelled:
    case protocol::Outcome::Closing:
        result.fate = OutputFate::NotTried;
        break;
    case protocol::Outcome::NotAnswered:
    case protocol::Outcome::NotSent:
        break;
    }
    return result;
}

// Runs `report` (the exchanges of output n, ending with the reply that reports it) for each
// output in turn, until the job is stopped or the instrument has stopped answering.
template <typename Report>
std::vector<OutputResult> EachOutput(const JobLink& link, const std::vector<int>& outputs,
                                     const OutputAsking& asking, Report report) {
    std::vector<OutputResult> results;
    protocol::SilenceWatch silence;
    bool stopped = false;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (stopped || silence.Silent() || link.stop.stop_requested()) {
            results.push_back({outputs[i], OutputFate::NotTried, std::nullopt});
            continue;
        }
        if (asking) {
            asking(outputs[i]);
        }
        results.push_back(report(i));
        const protocol::Outcome outcome = results.back().fate == OutputFate::NotAnswered
                                              ? protocol::Outcome::NotAnswered
                                              : protocol::Outcome::Answered;
        silence.Note(outcome);
        stopped = results.back().fate == OutputFate::NotTried;
    }
    return results;
}

} // namespace

std::vector<OutputResult> ReadAlarmOutputs(const JobLink& link, const std::vector<int>& outputs,
                                           const OutputAsking& asking) {
    return EachOutput(link, outputs, asking, [&](std::size_t i) {
        return Judged(outputs[i], link.Ask(protocol::Question::AlarmOutput(outputs[i])), nullptr);
    });
}

std::vector<OutputResult>
WriteAlarmOutputs(const JobLink& link, const std::vector<protocol::AlarmOutputSetting>& settings,
                  const OutputAsking& asking) {
    std::vector<int> outputs;
    for (const protocol::AlarmOutputSetting& setting : settings) {
        outputs.push_back(setting.output);
    }
    return EachOutput(link, outputs, asking, [&](std::size_t i) {
        const protocol::AlarmOutputSetting& setting = settings[i];
        const protocol::ChangeResult written = link.exchange.ChangeAndReadBack(
            *protocol::Question::Request(protocol::AlarmOutputRequest(setting)),
            protocol::Question::AlarmOutput(setting.output), protocol::ReadBack::Awaited,
            link.bounds, link.stop);
        return Judged(setting.output, written.readBack, &setting);
    });
}

} // namespace jobs
