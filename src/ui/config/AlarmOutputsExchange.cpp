// Reading and writing the instrument's alarm outputs, one transaction at a time.
#include "AlarmOutputsTable.h"
#include "protocol/RequestBuilders.h"

#include <QTableWidget>

using namespace AlarmOutputs;

namespace {

// Lets a reply to the polling that was just paused land before the first read.
constexpr std::uint32_t kSettleBeforeReadAllMs = 500;
// Gives the instrument time to take a written output before it is read back.
constexpr std::uint32_t kSettleAfterWriteMs = 20;

// Holds the window's exchange for as long as it lives, so every way out releases it.
class HeldExchange {
public:
    explicit HeldExchange(const ExchangeGate& gate) : gate_(gate) { gate_.lock(true); }
    ~HeldExchange() { gate_.lock(false); }
    HeldExchange(const HeldExchange&) = delete;
    HeldExchange& operator=(const HeldExchange&) = delete;

private:
    const ExchangeGate& gate_;
};

std::vector<int> AllOutputs() {
    std::vector<int> outputs;
    for (int output = 1; output <= kOutputs; ++output) {
        outputs.push_back(output);
    }
    return outputs;
}

} // namespace

void AlarmOutputsTable::bReadClick() {
    Run(Operation::Read, AllOutputs(), kSettleBeforeReadAllMs);
}

void AlarmOutputsTable::bWriteClick() {
    Run(Operation::Write, AllOutputs(), 0);
}

void AlarmOutputsTable::Read1Click() {
    if (const int output = CurrentOutput()) {
        Run(Operation::Read, {output}, 0);
    }
}

void AlarmOutputsTable::Write1Click() {
    if (const int output = CurrentOutput()) {
        Run(Operation::Write, {output}, 0);
    }
}

int AlarmOutputsTable::CurrentOutput() const {
    const int row = controls_.sgOP->currentRow();
    return row >= 1 && row <= kOutputs ? row : 0;
}

// Goes on past an output the instrument did not confirm, so one lost reply costs only its own
// row; stops once the instrument has stopped answering, since it would otherwise hold the window
// for every remaining bounded wait.
void AlarmOutputsTable::Run(Operation operation, const std::vector<int>& outputs, int settleMs) {
    if (gate_.running()) {
        return;
    }
    OutputsNotDone notDone;
    {
        const HeldExchange hold(gate_);
        const PollingPause pause(context_.windows.main);
        if (settleMs > 0) {
            context_.clock.Sleep(static_cast<std::uint32_t>(settleMs));
        }
        SilenceWatch silence;
        for (const int output : outputs) {
            if (context_.state.Closing) {
                return;
            }
            if (silence.Silent()) {
                notDone.notTried.push_back(output);
                continue;
            }
            const Step step = operation == Operation::Read ? ReadOne(output) : WriteOne(output);
            silence.Note(step.outcome);
            if (step.outcome == Outcome::Refused) {
                notDone.refused.push_back(output);
            } else if (!step.confirmed) {
                notDone.unconfirmed.push_back(output);
            }
        }
    }
    if (!notDone.Empty() && !context_.state.Closing) {
        context_.operatorInteraction.ReportError(UnconfirmedReport(operation, notDone));
    }
}

AlarmOutputsTable::Step AlarmOutputsTable::ReadOne(int output) {
    // Red while asked for; the reply turns it lime, a silent or refused one leaves it red.
    records_[output - 1].sync = Sync::NotInSync;
    ShowRow(output);
    const Outcome outcome = context_.exchange.Ask(Question::AlarmOutput(output)).outcome;
    return {outcome, outcome == Outcome::Answered};
}

AlarmOutputsTable::Step AlarmOutputsTable::WriteOne(int output) {
    const AlarmOutputSetting written = Setting(output);
    // The pause runs while the acknowledge is on its way; the read back waits for it.
    context_.exchange.Send(*Question::Request(AlarmOutputRequest(written)));
    context_.clock.Sleep(kSettleAfterWriteMs);
    // The read back shows what the instrument holds; the write is confirmed when that is it.
    const Step readBack = ReadOne(output);
    return {readBack.outcome, readBack.confirmed && Setting(output) == written};
}
