#include "ProtocolFakes.h"
#include "protocol/FrameLayer.h"

#include <gtest/gtest.h>

using namespace protocol;

namespace {

class FrameLayerTest : public ::testing::Test {
protected:
    FrameLayerTest() {
        frames.SetDispatcher([this](const std::string& payload) { dispatched.push_back(payload); });
    }

    // Delivers one cluster as the serial port's received-cluster event does.
    void Receive(const std::string& cluster) {
        link.Queue(cluster);
        frames.SerialPort1RxClusterEvent();
    }
    // Sends on a free link, as one transaction nobody waits for.
    bool Send(const std::optional<Question>& question) {
        return question && frames.Transmit(*question, kBound, false).has_value();
    }
    // Lets the open transaction's bound pass, which frees the link.
    void Free() { clock.Advance(kBound); }

    static constexpr std::uint32_t kBound = 3000;
    FakeLink link;
    FakeObserver observer;
    ManualClock clock;
    FrameLayer frames{link, observer, clock};
    std::vector<std::string> dispatched;
};

TEST_F(FrameLayerTest, PollsAndRequestsGoOutByteExact) {
    // 'A' ^ 'B' ^ ETX is 0: the zero check byte is still sent.
    for (const auto& question :
         {std::optional(Question::Poll('S')), std::optional(Question::Poll('3')),
          Question::Request("Z"), Question::Request("F"), Question::Request("AB"),
          std::optional(Question::AlarmOutput(2))}) {
        EXPECT_TRUE(Send(question));
        Free();
    }

    const std::vector<std::string> expected = {"\x04S\x05",
                                               "\x04\x33\x05",
                                               "\x04\x02Z\x03\x59",
                                               "\x04\x02\x46\x03\x45",
                                               std::string("\x04\x02\x41\x42\x03\x00", 6),
                                               "\x04\x41\x30\x32\x05"};
    EXPECT_EQ(link.sent, expected);
}

TEST_F(FrameLayerTest, TransmittingCountsShowsGreyAndWritesTheDiagnosticLine) {
    observer.online = true;
    Send(Question::Poll('T'));
    EXPECT_TRUE(frames.CommsBusy());
    EXPECT_EQ(frames.OutstandingCount(), 1);
    EXPECT_EQ(observer.commsCount, 1);
    EXPECT_FALSE(observer.online);
    EXPECT_EQ(observer.diagnosticLine, "comms: \x04T\x05");

    // The logged-record fetch is a transaction like any other.
    Free();
    Send(Question::LoggedRecord(7));
    EXPECT_TRUE(frames.CommsBusy());
    EXPECT_EQ(frames.OutstandingCount(), 2);
    EXPECT_EQ(observer.diagnosticLine, "comms: \x04"
                                       "D0007\x05");
}

TEST_F(FrameLayerTest, PayloadsThatDoNotFitTheBufferAreRefusedUntouched) {
    EXPECT_FALSE(Question::Request(std::string(FrameLayer::kMaxPayload + 1, 'X')));
    Question tooLong = Question::Poll('D');
    tooLong.frame.assign(FrameLayer::kTxBufferSize + 1, 'D');
    EXPECT_FALSE(Send(tooLong));
    EXPECT_TRUE(link.sent.empty());
    EXPECT_EQ(frames.OutstandingCount(), 0);
    EXPECT_FALSE(frames.CommsBusy());

    EXPECT_TRUE(Send(Question::Request(std::string(FrameLayer::kMaxPayload, 'X'))));
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.sent[0].size(), FrameLayer::kTxBufferSize);
}

// One transaction at a time: nothing goes out while one is open, and only the reply it expects,
// any cluster that answers nothing, or its bound ends it; a well-formed reply to something else
// (a late one) is dispatched but leaves it open.
TEST_F(FrameLayerTest, OneTransactionEndsOnlyByItsReplyAClusterOfNoUseOrItsBound) {
    Send(Question::AlarmOutput(4));
    EXPECT_FALSE(Send(Question::Poll('T')));
    Receive(FramedReply("A03,00,01,   20,    1,    1, 0"));
    EXPECT_TRUE(frames.CommsBusy());
    EXPECT_EQ(dispatched.size(), 1u);
    Receive(FramedReply("A04,00,01,   20,    1,    1, 0"));
    EXPECT_FALSE(frames.CommsBusy());

    Send(Question::Poll('T'));
    clock.Advance(kBound - 1);
    EXPECT_TRUE(frames.CommsBusy());
    clock.Advance(1);
    EXPECT_FALSE(frames.CommsBusy());
    EXPECT_EQ(link.sent.size(), 2u);
}

TEST(CheckBcc, TheByteAfterTheFirstEtxDecides) {
    struct Case {
        std::string cluster;
        bool passes;
    };
    const Case cases[] = {
        {"\x02"
         "F\x03\x45",
         true},
        {"\x02"
         "F\x03\x44",
         false},
        {"\x02"
         "F\x03\x45trailing",
         true}, // extra bytes ignored
        {"\x02"
         "F\x03\x45\x02Z\x03\x59",
         true}, // two replies: the first decides
        {"\x02"
         "F\x03\x44\x02Z\x03\x59",
         false},
        {"\x02", false},                    // STX alone
        {std::string("\x02\x00", 2), true}, // STX 0x00
        {std::string("\x02"
                     "AB\x03\x00",
                     5),
         true}, // zero check byte
        {"\x02"
         "AC\x02",
         true}, // no ETX: the last byte checks
        {"\x02"
         "AC\x01",
         false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FrameLayer::CheckBcc(c.cluster), c.passes) << ::testing::PrintToString(c.cluster);
    }
}

TEST(IsCompleteReply, OneWholeReplyAndNothingMore) {
    // Octal escapes: \2 STX, \3 ETX, \6 acknowledge; "\2F\3E" is the frame of "F".
    for (const std::string& reply : std::initializer_list<std::string>{
             "\6", "\2F\3E", "\2\3\3", "\2AA\3\3", "\2" + std::string(252, 'a') + "\3\3"}) {
        for (std::size_t arrived = 0; arrived <= reply.size(); ++arrived) { // fed in pieces
            EXPECT_EQ(FrameLayer::IsCompleteReply(reply.substr(0, arrived)),
                      arrived == reply.size());
        }
    }
    for (const std::string& received : std::initializer_list<std::string>{
             "\x15", "\6\6", "garbage", "\2F\3D", "\2AC\2", "\2F\3Ex", "x\2F\3E", "\2F\3E\2F\3E",
             "\2" + std::string(253, 'a') + "\3b"}) {
        EXPECT_FALSE(FrameLayer::IsCompleteReply(received)) << ::testing::PrintToString(received);
    }
}

TEST_F(FrameLayerTest, AGoodReplyIsDispatchedWithoutItsStx) {
    Send(Question::Poll('F'));
    Receive("\x02"
            "F\x03\x45\x02Z\x03\x59");
    EXPECT_EQ(dispatched, std::vector<std::string>{"F\x03\x45\x02Z\x03\x59"});
    EXPECT_FALSE(frames.CommsBusy());
    EXPECT_EQ(frames.BccErrorCount(), 0);
    // The reply's own bookkeeping belongs to the dispatcher.
    EXPECT_EQ(frames.OutstandingCount(), 1);
}

TEST_F(FrameLayerTest, ABadCheckByteCountsAndDropsTheReply) {
    Send(Question::Poll('F'));
    Receive("\x02"
            "F\x03\x44");
    Receive("\x02");
    EXPECT_TRUE(dispatched.empty());
    EXPECT_EQ(frames.BccErrorCount(), 2);
    EXPECT_EQ(observer.bccErrorCount, 2);
    EXPECT_EQ(frames.OutstandingCount(), 1);
    EXPECT_FALSE(observer.online);
    EXPECT_FALSE(frames.CommsBusy());
}

TEST_F(FrameLayerTest, AClusterNotStartingWithStxCountsAsAReply) {
    Send(Question::Poll('Z'));
    Free();
    Send(Question::Poll('Z'));
    Receive("\x06");
    EXPECT_TRUE(dispatched.empty());
    EXPECT_TRUE(observer.online);
    EXPECT_EQ(frames.OutstandingCount(), 1);
    EXPECT_EQ(observer.commsCount, 1);
    EXPECT_EQ(frames.BccErrorCount(), 0);
    EXPECT_FALSE(frames.CommsBusy());
    Receive("ack");
    Receive("ack"); // never below 0
    EXPECT_EQ(frames.OutstandingCount(), 0);
}

TEST_F(FrameLayerTest, EmptyOrMissingClustersOnlyFreeTheLink) {
    Send(Question::Poll('T'));
    frames.SerialPort1RxClusterEvent(); // nothing queued
    EXPECT_FALSE(frames.CommsBusy());
    Send(Question::Poll('T'));
    Receive("");
    EXPECT_FALSE(frames.CommsBusy());
    EXPECT_TRUE(dispatched.empty());
    EXPECT_EQ(frames.OutstandingCount(), 2);
    EXPECT_FALSE(observer.online);
    EXPECT_EQ(frames.BccErrorCount(), 0);
}

TEST_F(FrameLayerTest, OversizeFramedClustersAreCountedShownAndNotDispatched) {
    Send(Question::Poll('T'));
    const std::string longest = FramedReply(std::string(FrameLayer::kMaxCluster - 3, 'T'));
    ASSERT_EQ(longest.size(), FrameLayer::kMaxCluster);
    Receive(longest + "x");
    EXPECT_TRUE(dispatched.empty());
    EXPECT_EQ(frames.OversizeClusterCount(), 1);
    EXPECT_EQ(observer.diagnosticLine, "oversize cluster dropped: 256 characters");
    EXPECT_EQ(frames.OutstandingCount(), 1);
    EXPECT_EQ(frames.BccErrorCount(), 0);
    EXPECT_FALSE(frames.CommsBusy());

    Receive(longest);
    EXPECT_EQ(dispatched.size(), 1u);
    EXPECT_EQ(frames.OversizeClusterCount(), 1);

    // Without STX a long cluster (a burst of noise before a single-character answer) still
    // counts as the reply.
    Receive(std::string(FrameLayer::kMaxCluster + 45, '\x06'));
    EXPECT_TRUE(observer.online);
    EXPECT_EQ(frames.OutstandingCount(), 0);
    EXPECT_EQ(frames.OversizeClusterCount(), 1);
    EXPECT_EQ(dispatched.size(), 1u);
}

TEST_F(FrameLayerTest, ReceivedClustersAreLoggedAndEchoed) {
    observer.logActive = true;
    Receive("\x06");
    EXPECT_EQ(observer.logLines, std::vector<std::string>{"<dd.mm.yy hh:mm:ss\" :\">\x06"});
    EXPECT_EQ(observer.diagnosticLine, ""); // no echo unless asked

    frames.SetDiagnosticEcho(true);
    Receive("\x02"
            "F\x03\x45");
    EXPECT_EQ(observer.diagnosticLine, "<\"Rec  \" dd.mm.yy hh:mm:ss\" :\">\x02"
                                       "F\x03\x45");

    // RecX marks a cluster that came with line errors of its own, whatever follows it.
    link.Queue("first", 4);
    link.Queue("second");
    link.Queue("third", 2);
    frames.SerialPort1RxClusterEvent();
    EXPECT_EQ(observer.diagnosticLine, "<\"RecX \" dd.mm.yy hh:mm:ss\" :\">first");
    frames.SerialPort1RxClusterEvent();
    EXPECT_EQ(observer.diagnosticLine, "<\"Rec  \" dd.mm.yy hh:mm:ss\" :\">second");
    link.queue.clear();
    EXPECT_EQ(observer.logLines.size(), 4u);

    observer.logActive = false;
    Receive("\x06");
    EXPECT_EQ(observer.logLines.size(), 4u);
}

TEST_F(FrameLayerTest, NothingThrownWhileReceivingEscapes) {
    frames.SetDispatcher([](const std::string&) { throw std::runtime_error("bad field"); });
    Send(Question::Poll('T'));
    EXPECT_NO_THROW(Receive(FramedReply("T")));
    EXPECT_FALSE(frames.CommsBusy());
    EXPECT_EQ(frames.HandlerFailureCount(), 1);
    EXPECT_EQ(observer.diagnosticLine, "cluster handling failed: bad field");

    // A failing log write neither stops the reply nor escapes.
    frames.SetDispatcher([this](const std::string& payload) { dispatched.push_back(payload); });
    observer.logActive = true;
    observer.failLogWrite = true;
    Send(Question::Poll('S'));
    EXPECT_NO_THROW(Receive(FramedReply("S")));
    EXPECT_EQ(dispatched.size(), 1u);
    EXPECT_EQ(frames.HandlerFailureCount(), 2);
    EXPECT_FALSE(frames.CommsBusy());
}

TEST_F(FrameLayerTest, ResetsZeroTheShownCounts) {
    Send(Question::Poll('T'));
    Receive("\x02"
            "bad");
    frames.ResetOutstandingCount();
    frames.ResetBccErrorCount();
    EXPECT_EQ(frames.OutstandingCount(), 0);
    EXPECT_EQ(observer.commsCount, 0);
    EXPECT_EQ(frames.BccErrorCount(), 0);
    EXPECT_EQ(observer.bccErrorCount, 0);
}

} // namespace
