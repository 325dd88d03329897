#include "ProtocolFakes.h"
#include "protocol/Exchange.h"

#include <gtest/gtest.h>
#include <map>

using namespace protocol;

namespace {

std::string Output(int output, int type = 0) {
    return FramedReply("A0" + std::to_string(output) + ",0" + std::to_string(type) +
                       ",01,   20,    1,    1, 0");
}

// The exchange over a real frame layer on a manual clock. The instrument's answers are scripted
// by the time (since the start) at which they arrive.
class ExchangeTest : public ::testing::Test {
protected:
    ExchangeTest() {
        wait.step = [this] {
            while (!script.empty() && script.begin()->first <= clock.TickCount()) {
                link.Queue(script.begin()->second);
                script.erase(script.begin());
                frames.SerialPort1RxClusterEvent();
            }
        };
    }
    void At(std::uint32_t ms, std::string cluster) { script.emplace(ms, std::move(cluster)); }

    FakeLink link;
    FakeObserver observer;
    ManualClock clock;
    FrameLayer frames{link, observer, clock};
    StepWait wait{clock};
    Exchange exchange{frames, clock, wait};
    std::multimap<std::uint32_t, std::string> script;
};

TEST_F(ExchangeTest, TheReplyThatAnswersEndsTheWaitAndIsGivenBack) {
    At(50, "\x06");
    EXPECT_EQ(exchange.Ask(*Question::Request("Z")).outcome, Outcome::Answered);

    // Another record's reply and a late one of an earlier output are not the answer.
    At(100, FramedReply("D0006" + std::string(76, '0')));
    At(200, FramedReply("D0007" + std::string(76, '1')));
    const ExchangeResult record = exchange.Ask(Question::LoggedRecord(7));
    EXPECT_EQ(record.outcome, Outcome::Answered);
    EXPECT_EQ(record.reply.substr(0, 5), "D0007");
    EXPECT_EQ(clock.TickCount(), 200u);

    // A reply whose fields are out of range is refused and asked for again; when no usable one
    // comes, the exchange says it was refused.
    At(300, Output(2, 9));
    const ExchangeResult refused = exchange.Ask(Question::AlarmOutput(2), {1000, 3});
    EXPECT_EQ(refused.outcome, Outcome::Refused);
    EXPECT_EQ(refused.reply.substr(0, 6), "A02,09");
    EXPECT_EQ(link.sent.size(), 5u);
}

// A reply that comes after its transaction stopped waiting must not end the next one's wait.
TEST_F(ExchangeTest, ALateReplyDoesNotEndTheNextWait) {
    At(3500, Output(3));
    At(3900, Output(4));
    EXPECT_EQ(exchange.Ask(Question::AlarmOutput(3)).outcome, Outcome::NotAnswered);
    EXPECT_EQ(clock.TickCount(), 3000u);
    const ExchangeResult four = exchange.Ask(Question::AlarmOutput(4));
    EXPECT_EQ(four.outcome, Outcome::Answered);
    EXPECT_EQ(four.reply.substr(0, 3), "A04");
}

// Each attempt waits its bound; a cluster that answers nothing ends an attempt at once.
TEST_F(ExchangeTest, UnansweredAttemptsAreAskedAgainWithinTheirBounds) {
    At(1000 + 30, "\x02garbled");
    At(1000 + 60, FramedReply("D0005" + std::string(76, '0')));
    const ExchangeResult answered = exchange.Ask(Question::LoggedRecord(5), {1000, 3});
    EXPECT_EQ(answered.outcome, Outcome::Answered);
    EXPECT_EQ(link.sent.size(), 3u);
    EXPECT_EQ(clock.TickCount(), 1060u);

    const ExchangeResult silent = exchange.Ask(Question::LoggedRecord(6), {1000, 3});
    EXPECT_EQ(silent.outcome, Outcome::NotAnswered);
    EXPECT_EQ(link.sent.size(), 6u);
    EXPECT_EQ(clock.TickCount(), 1060u + 3000u);
}

// A request's pause runs once its frame has gone: an answer that comes meanwhile is taken after
// it, and the answer's own bound starts only then.
TEST_F(ExchangeTest, ARequestsPauseTravelsWithIt) {
    At(50, "\x06");
    EXPECT_EQ(exchange.Ask(*Question::Request("T"), {1000, 1}).outcome, Outcome::Answered);
    EXPECT_EQ(clock.TickCount(), 5000u + wait.stepMs);
    At(5100, "\x06");
    EXPECT_TRUE(exchange.Send(*Question::Request("A01,00,01,   20,    1,    1,00")));
    EXPECT_EQ(clock.TickCount(), 5000u + wait.stepMs + 20u);
    EXPECT_EQ(Question::Poll('S').pauseMs, 0u);
}

TEST_F(ExchangeTest, ThreeUnansweredInARowMeanTheInstrumentIsSilent) {
    SilenceWatch watch;
    for (const Outcome outcome : {Outcome::NotAnswered, Outcome::NotAnswered, Outcome::Refused,
                                  Outcome::NotAnswered, Outcome::NotAnswered}) {
        watch.Note(outcome);
        EXPECT_FALSE(watch.Silent());
    }
    watch.Note(Outcome::NotAnswered);
    EXPECT_TRUE(watch.Silent());
}

// A cancel or the close ends the wait at its next step; the transaction stays on the line
// until its reply or bound, so nothing else meets that reply.
TEST_F(ExchangeTest, CancelAndCloseEndTheWaitButNotTheTransaction) {
    std::stop_source cancel;
    wait.step = [&] {
        if (clock.TickCount() >= 500) {
            cancel.request_stop();
        }
    };
    EXPECT_EQ(exchange.Ask(Question::Poll('S'), {}, cancel.get_token()).outcome,
              Outcome::Cancelled);
    EXPECT_EQ(clock.TickCount(), 500u);
    EXPECT_TRUE(frames.CommsBusy());
    link.Queue(FramedReply("S"));
    frames.SerialPort1RxClusterEvent();
    EXPECT_FALSE(frames.CommsBusy());

    wait.closing = true;
    EXPECT_EQ(exchange.Ask(Question::Poll('S')).outcome, Outcome::Closing);
    EXPECT_EQ(link.sent.size(), 1u);
    const std::uint32_t before = clock.TickCount();
    exchange.Settle(5000);
    EXPECT_EQ(clock.TickCount(), before);
}

// An exchange that starts inside another's wait (a click handled meanwhile) sends once the
// link is free, before the outer one's next frame; each gets its own reply.
TEST_F(ExchangeTest, NestedExchangesEachGetTheirOwnReply) {
    ExchangeResult inner;
    wait.step = [&] {
        if (link.sent.size() == 1 && wait.steps == 1) {
            inner = exchange.Ask(Question::Poll('X'));
        } else if (link.sent.back() == "\x04O\x05") {
            link.Queue(FramedReply("O00"));
            frames.SerialPort1RxClusterEvent();
        } else if (link.sent.back() == "\x04X\x05") {
            link.Queue(FramedReply("X" + std::string(64, '0')));
            frames.SerialPort1RxClusterEvent();
        }
    };
    const ExchangeResult outer = exchange.Ask(Question::Poll('O'));
    EXPECT_EQ(link.sent, (std::vector<std::string>{"\x04O\x05", "\x04X\x05"}));
    EXPECT_EQ(outer.reply.substr(0, 3), "O00");
    EXPECT_EQ(inner.reply.front(), 'X');
}

} // namespace
