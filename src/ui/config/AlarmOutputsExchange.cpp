// Reading and writing the instrument's alarm outputs: the jobs, the rows they turn red while
// asked, and what the operator is told of the outputs not confirmed.
#include "AlarmOutputsTable.h"
#include "instrument/AlarmOutputJobs.h"

#include <QTableWidget>

using namespace AlarmOutputs;

namespace {

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

OutputsNotDone NotDone(const std::vector<jobs::OutputResult>& results) {
    OutputsNotDone notDone;
    for (const jobs::OutputResult& result : results) {
        switch (result.fate) {
        case jobs::OutputFate::Confirmed:
            break;
        case jobs::OutputFate::Refused:
            notDone.refused.push_back(result.output);
            break;
        case jobs::OutputFate::NotTried:
            notDone.notTried.push_back(result.output);
            break;
        case jobs::OutputFate::NotAnswered:
        case jobs::OutputFate::Differs:
            notDone.unconfirmed.push_back(result.output);
            break;
        }
    }
    return notDone;
}

} // namespace

void AlarmOutputsTable::bReadClick() {
    Read(AllOutputs(), true);
}

void AlarmOutputsTable::bWriteClick() {
    Write(AllOutputs());
}

void AlarmOutputsTable::Read1Click() {
    if (const int output = CurrentOutput()) {
        Read({output}, false);
    }
}

void AlarmOutputsTable::Write1Click() {
    if (const int output = CurrentOutput()) {
        Write({output});
    }
}

int AlarmOutputsTable::CurrentOutput() const {
    const int row = controls_.sgOP->currentRow();
    return row >= 1 && row <= kOutputs ? row : 0;
}

void AlarmOutputsTable::Read(const std::vector<int>& outputs, bool afterPolling) {
    Run(Operation::Read, [&] {
        if (afterPolling) {
            context_.clock.Sleep(jobs::kQuietAfterPollingMs);
        }
        return jobs::ReadAlarmOutputs(context_.Jobs(), outputs,
                                      [this](int output) { MarkAsked(output); });
    });
}

void AlarmOutputsTable::Write(const std::vector<int>& outputs) {
    Run(Operation::Write, [&] {
        std::vector<protocol::AlarmOutputSetting> settings;
        for (const int output : outputs) {
            settings.push_back(Setting(output));
        }
        return jobs::WriteAlarmOutputs(context_.Jobs(), settings,
                                       [this](int output) { MarkAsked(output); });
    });
}

void AlarmOutputsTable::Run(Operation operation,
                            const std::function<std::vector<jobs::OutputResult>()>& job) {
    if (gate_.running()) {
        return;
    }
    std::vector<jobs::OutputResult> results;
    {
        const HeldExchange hold(gate_);
        const PollingPause pause(context_.windows.main);
        results = job();
    }
    const OutputsNotDone notDone = NotDone(results);
    if (!notDone.Empty() && !context_.state.Closing) {
        context_.operatorInteraction.ReportError(UnconfirmedReport(operation, notDone));
    }
}

void AlarmOutputsTable::MarkAsked(int output) {
    // Red while asked for; the reply turns it lime, a silent or refused one leaves it red.
    records_[output - 1].sync = Sync::NotInSync;
    ShowRow(output);
}
