#include "ProtocolFakes.h"
#include "protocol/MessageCatalogue.h"
#include "protocol/ReplyDispatcher.h"

#include <gtest/gtest.h>

using namespace protocol;

namespace {

class ReplyDispatcherTest : public ::testing::Test {
protected:
    // A 'T' reply whose unit flags (positions 74-75) hold `flags`.
    static std::string TemperatureReply(const std::string& flags) {
        return "T" + std::string(72, '1') + flags +
               "\x03"
               "x";
    }

    std::vector<std::string> Dispatch(const std::string& payload) {
        handler.calls.clear();
        dispatcher.DispatchReply(payload);
        return handler.calls;
    }

    // Sends on the link as one transaction, after letting any earlier one's bound pass.
    void Send(char letter) {
        clock.Advance(3000);
        frames.Transmit(Question::Poll(letter), 3000, false);
    }

    FakeLink link;
    FakeObserver observer;
    ManualClock clock;
    FrameLayer frames{link, observer, clock};
    RecordingHandler handler;
    ReplyDispatcher dispatcher{frames, handler};
};

TEST_F(ReplyDispatcherTest, RoutesEachReplyByItsFirstCharacter) {
    struct Case {
        std::string payload;
        std::string handler;
    };
    const Case cases[] = {
        {"0", "Channel"},     {"5", "Channel"},      {"8", "Channel"},
        {"A", "AlarmOutput"}, {"O", "OutputStates"}, {"S", "Status"},
        {"X", "Registers"},   {"Z", "Serial"},       {"f", "Filter"},
    };
    for (const auto& c : cases) {
        const std::string payload = c.payload + "12\x03\x31";
        EXPECT_EQ(Dispatch(payload), std::vector<std::string>{c.handler + ":" + payload});
    }
    for (const std::string& ignored :
         std::vector<std::string>{"9", "a", "F", "C", "D", "z", "\x03", std::string(1, '\0')}) {
        EXPECT_TRUE(Dispatch(ignored + "\x03\x31").empty()) << ignored;
    }
}

TEST_F(ReplyDispatcherTest, ReadingRepliesGoToTheirHandlerWithTheirUnit) {
    EXPECT_EQ(Dispatch("M1"), std::vector<std::string>{"Readings:M1"});
    EXPECT_EQ(Dispatch("R1"), std::vector<std::string>{"Resistance:R1"});
    EXPECT_EQ(Dispatch("r1"), std::vector<std::string>{"Resistance:r1"});
    EXPECT_EQ(ReadingsReply::Unit("M1"), ReadingUnit::Millivolts);
    EXPECT_EQ(ReadingsReply::Unit("r1"), ReadingUnit::Ohms);

    // The 'T' unit flags: bit 0 means Fahrenheit; flags that are not a number give no unit.
    struct Case {
        std::string flags;
        std::optional<ReadingUnit> unit;
    };
    constexpr auto kF = ReadingUnit::Fahrenheit;
    constexpr auto kC = ReadingUnit::Celsius;
    for (const Case& c :
         {Case{"01", kF}, Case{"00", kC}, Case{"02", kC}, Case{"03", kF}, Case{" 1", kF},
          Case{"-1", kF}, Case{"0x", {}}, Case{"  ", {}}, Case{"1 ", {}}, Case{"+", {}}}) {
        const std::string payload = TemperatureReply(c.flags);
        EXPECT_EQ(ReadingsReply::Unit(payload), c.unit) << c.flags;
        EXPECT_EQ(Dispatch(payload), std::vector<std::string>{"Readings:" + payload});
    }
    // A reply too short to reach its unit flags.
    EXPECT_EQ(ReadingsReply::Unit("T  21.5\x03\x31"), std::nullopt);
}

TEST_F(ReplyDispatcherTest, EveryNonEmptyReplyTurnsTheIndicatorGreenAndLowersTheCount) {
    Send('T');
    Send('T');
    Dispatch("?");
    EXPECT_TRUE(observer.online);
    EXPECT_EQ(frames.OutstandingCount(), 1);
    EXPECT_EQ(observer.commsCount, 1);
    Dispatch("S");
    Dispatch("S");
    EXPECT_EQ(frames.OutstandingCount(), 0);

    observer.online = false;
    Send('T');
    Dispatch("");
    EXPECT_FALSE(observer.online);
    EXPECT_EQ(frames.OutstandingCount(), 1);
}

TEST_F(ReplyDispatcherTest, FramedClustersReachTheHandlersThroughTheFrameLayer) {
    Send('0');
    link.Queue(std::string("\x02\x00", 2)); // passes the check, matches no handler
    frames.SerialPort1RxClusterEvent();
    EXPECT_TRUE(handler.calls.empty());
    EXPECT_EQ(frames.OutstandingCount(), 0);
    EXPECT_TRUE(observer.online);

    Send('3');
    link.Queue(FramedReply("301  1.0000  0.0000"));
    frames.SerialPort1RxClusterEvent();
    EXPECT_EQ(handler.calls,
              std::vector<std::string>{"Channel:" + FramedReply("301  1.0000  0.0000").substr(1)});
    EXPECT_EQ(frames.OutstandingCount(), 0);

    // A handler that throws ends that reply only; the next one is handled.
    handler.throwInHandler = true;
    link.Queue(FramedReply("S"));
    Send('S');
    EXPECT_NO_THROW(frames.SerialPort1RxClusterEvent());
    EXPECT_FALSE(frames.CommsBusy());
    EXPECT_EQ(frames.HandlerFailureCount(), 1);
    handler.throwInHandler = false;
    handler.calls.clear();
    link.Queue(FramedReply("f0501"));
    frames.SerialPort1RxClusterEvent();
    EXPECT_EQ(handler.calls.size(), 1u);
}

} // namespace
