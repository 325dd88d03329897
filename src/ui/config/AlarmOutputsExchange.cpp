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
// Unanswered outputs in a row after which the instrument is taken to be silent.
constexpr int kSilentAfter = 2;

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
    Run(Exchange::Read, AllOutputs(), kSettleBeforeReadAllMs);
}

void AlarmOutputsTable::bWriteClick() {
    Run(Exchange::Write, AllOutputs(), 0);
}

void AlarmOutputsTable::Read1Click() {
    if (const int output = CurrentOutput()) {
        Run(Exchange::Read, {output}, 0);
    }
}

void AlarmOutputsTable::Write1Click() {
    if (const int output = CurrentOutput()) {
        Run(Exchange::Write, {output}, 0);
    }
}

int AlarmOutputsTable::CurrentOutput() const {
    const int row = controls_.sgOP->currentRow();
    return row >= 1 && row <= kOutputs ? row : 0;
}

// Goes on past an output the instrument did not confirm, so one lost reply costs only its own
// row; stops after kSilentAfter unanswered in a row, since a silent instrument would otherwise
// hold the window for every remaining bounded wait.
void AlarmOutputsTable::Run(Exchange exchange, const std::vector<int>& outputs, int settleMs) {
    if (gate_.running()) {
        return;
    }
    std::vector<int> unconfirmed;
    std::vector<int> notTried;
    {
        const HeldExchange hold(gate_);
        const PollingPause pause(context_.windows.main);
        if (settleMs > 0) {
            context_.clock.Sleep(static_cast<std::uint32_t>(settleMs));
        }
        int unansweredInRow = 0;
        for (const int output : outputs) {
            if (context_.state.Closing) {
                return;
            }
            if (unansweredInRow >= kSilentAfter) {
                notTried.push_back(output);
                continue;
            }
            const StepResult result =
                exchange == Exchange::Read ? ReadOne(output) : WriteOne(output);
            unansweredInRow = result.answered ? 0 : unansweredInRow + 1;
            if (!result.confirmed) {
                unconfirmed.push_back(output);
            }
        }
    }
    if (!unconfirmed.empty() && !context_.state.Closing) {
        context_.operatorInteraction.ReportError(
            UnconfirmedReport(exchange, unconfirmed, notTried));
    }
}

AlarmOutputsTable::StepResult AlarmOutputsTable::ReadOne(int output) {
    FrameLayer& frames = context_.frames;
    frames.WaitWhileBusy();
    records_[output - 1].sync = Sync::NotInSync;
    ShowRow(output);
    frames.TransmitExtendedPoll(AlarmOutputPoll(output));
    frames.SetCommsBusy(true);
    // Bounded while polling is paused: an unanswered read frees the link and leaves the row red.
    frames.WaitWhileBusy();
    const bool answered = Record(output).sync == Sync::InSync;
    return {answered, answered};
}

AlarmOutputsTable::StepResult AlarmOutputsTable::WriteOne(int output) {
    const AlarmOutputSetting written = Setting(output);
    context_.frames.SendRequest(AlarmOutputRequest(written));
    context_.clock.Sleep(kSettleAfterWriteMs);
    // The read back shows what the instrument holds; the write is confirmed when that is it.
    const StepResult readBack = ReadOne(output);
    return {readBack.answered, readBack.answered && Setting(output) == written};
}
