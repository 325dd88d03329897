// The jobs on the real exchange path and frame layer, over an instrument scripted frame by frame,
// on the manual clock: what each record of a download and each output of a write comes to.
#include "instrument/AlarmOutputJobs.h"
#include "instrument/LogJobs.h"
#include "protocol/ProtocolFakes.h"
#include "protocol/RequestBuilders.h"

#include <gtest/gtest.h>
#include <map>

namespace {

// An answer: after how long, and what.
struct Answer {
    std::uint32_t afterMs;
    std::string cluster;
};

class JobsTest : public ::testing::Test {
protected:
    JobsTest() {
        wait.step = [this] { Deliver(); };
    }

    // Hands over every answer that is due by now to the frames sent so far.
    void Deliver() {
        for (; seen < link.sent.size(); ++seen) {
            if (const std::optional<Answer> answer = instrument(link.sent[seen])) {
                due.emplace(clock.TickCount() + answer->afterMs, answer->cluster);
            }
        }
        while (!due.empty() && due.begin()->first <= clock.TickCount()) {
            link.Queue(due.begin()->second);
            due.erase(due.begin());
            frames.SerialPort1RxClusterEvent();
        }
    }

    std::function<std::optional<Answer>(const std::string& frame)> instrument;
    FakeLink link;
    FakeObserver observer;
    ManualClock clock;
    protocol::FrameLayer frames{link, observer, clock};
    StepWait wait{clock};
    protocol::Exchange exchange{frames, clock, wait};
    std::multimap<std::uint32_t, std::string> due;
    std::size_t seen = 0;
};

std::string Record(int n, char fill = '0') {
    return FramedReply(
        protocol::LastCharacters("D000" + std::to_string(n), 5) +
        (fill == 'F' ? std::string(76, 'F') : "261207140509" + std::string(64, fill)));
}

// The records as the sink takes them.
class Taken final : public jobs::DownloadSink {
public:
    bool Take(const jobs::RecordResult& result) override {
        fates[result.record] = result.fate;
        if (result.fate == jobs::RecordFate::Fetched) {
            replies[result.record] = result.reply.substr(0, 5);
        }
        return true;
    }
    std::map<int, jobs::RecordFate> fates;
    std::map<int, std::string> replies;
};

TEST_F(JobsTest, EachRecordOfADownloadComesToItsOwnResult) {
    enum class Behaviour { Answers, Silent, Erased, LateOnItsLastAsk, StopsTheJob };
    using enum Behaviour;
    using enum jobs::RecordFate;
    struct Run {
        std::map<int, Behaviour> instrument; // records not named answer
        std::map<int, jobs::RecordFate> fates;
        int handled;
        bool silent;
    };
    const Run runs[] = {
        // Record 4's reply comes after its last ask gave up, in record 5's wait, which it does not
        // end; the stop in record 7's wait leaves 7 and 8 unfetched.
        {{{2, Silent}, {3, Erased}, {4, LateOnItsLastAsk}, {7, StopsTheJob}},
         {{1, Fetched},
          {2, NotAnswered},
          {3, Unreadable},
          {4, NotAnswered},
          {5, Fetched},
          {6, Fetched}},
         6,
         false},
        // Three records in a row without a reply: the instrument has stopped answering.
        {{{2, Silent}, {3, Silent}, {4, Silent}, {5, Silent}},
         {{1, Fetched}, {2, NotAnswered}, {3, NotAnswered}, {4, NotAnswered}},
         4,
         true},
    };
    for (const Run& run : runs) {
        std::stop_source stop;
        std::map<int, int> asked;
        instrument = [&](const std::string& frame) -> std::optional<Answer> {
            const int record = std::stoi(frame.substr(2, 4));
            const int attempt = ++asked[record];
            const auto behaviour = run.instrument.find(record);
            switch (behaviour == run.instrument.end() ? Answers : behaviour->second) {
            case Answers:
                return Answer{30, Record(record)};
            case Silent:
                return std::nullopt;
            case Erased:
                return Answer{30, Record(record, 'F')};
            case LateOnItsLastAsk:
                return attempt == 3 ? std::optional(Answer{1200, Record(record)}) : std::nullopt;
            case StopsTheJob:
                stop.request_stop();
                return Answer{30, Record(record)};
            }
            return std::nullopt;
        };
        Taken taken;
        const jobs::DownloadReport report =
            jobs::DownloadRecords({exchange, jobs::kRecordBounds, stop.get_token()}, 1, 8, taken);
        EXPECT_EQ(taken.fates, run.fates);
        EXPECT_EQ(report.handled, run.handled);
        EXPECT_EQ(report.last, 8);
        EXPECT_EQ(report.instrumentSilent, run.silent);
        for (const auto& [record, reply] : taken.replies) {
            EXPECT_EQ(reply, protocol::LastCharacters("D000" + std::to_string(record), 5));
        }
        EXPECT_FALSE(report.Whole());
        Deliver();
    }
}

TEST_F(JobsTest, EachWrittenOutputIsConfirmedByItsReadBackOrToldApart) {
    enum class Behaviour { Takes, Deaf, ReportsOutOfRange, Silent };
    using enum Behaviour;
    using enum jobs::OutputFate;
    struct Run {
        std::map<int, Behaviour> instrument; // outputs not named take what is written
        std::vector<jobs::OutputFate> fates; // outputs 1 to 6
    };
    const Run runs[] = {
        {{{2, ReportsOutOfRange}, {3, Deaf}, {4, Silent}},
         {Confirmed, Refused, Differs, NotAnswered, Confirmed, Confirmed}},
        {{{2, Silent}, {3, Silent}, {4, Silent}, {5, Silent}},
         {Confirmed, NotAnswered, NotAnswered, NotAnswered, NotTried, NotTried}},
    };
    std::vector<protocol::AlarmOutputSetting> settings;
    for (int output = 1; output <= 6; ++output) {
        settings.push_back({output, 2, output, 100 + output, 0, 1, 0});
    }
    for (const Run& run : runs) {
        std::map<int, protocol::AlarmOutputSetting> held;
        instrument = [&](const std::string& frame) -> std::optional<Answer> {
            const bool request = frame[1] == '\x02';
            const std::string payload = request ? frame.substr(2, frame.size() - 4) : frame;
            const int output = std::stoi(payload.substr(request ? 1 : 2, 2));
            const auto behaviour = run.instrument.find(output);
            switch (behaviour == run.instrument.end() ? Takes : behaviour->second) {
            case Silent:
                return std::nullopt;
            case Takes:
                if (request) {
                    held[output] = protocol::AlarmOutputReply::Setting(payload);
                }
                break;
            case Deaf:
                held.try_emplace(output, protocol::AlarmOutputSetting{output});
                break;
            case ReportsOutOfRange:
                held[output] = {output, 9};
                break;
            }
            return Answer{20, request ? "\x06"
                                      : FramedReply(protocol::AlarmOutputRequest(held[output]))};
        };
        const std::vector<jobs::OutputResult> results =
            jobs::WriteAlarmOutputs({exchange, {1000, 2}, {}}, settings);
        ASSERT_EQ(results.size(), run.fates.size());
        for (std::size_t i = 0; i < results.size(); ++i) {
            EXPECT_EQ(results[i].output, static_cast<int>(i) + 1);
            EXPECT_EQ(results[i].fate, run.fates[i]) << "output " << i + 1;
            EXPECT_EQ(results[i].held.has_value(),
                      results[i].fate == Confirmed || results[i].fate == Differs);
        }
        Deliver();
    }
}

} // namespace
