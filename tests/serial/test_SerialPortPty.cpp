// The port and its worker against real pseudo-terminals, in real time: the margins are wide
// because the machine may be busy and the build may run under a sanitizer.

#include "PortMessages.h"
#include "UiPump.h"
#include "serial/SerialPort.h"
#include "support/PseudoTerminal.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <sys/resource.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using Clocked = std::chrono::steady_clock;

namespace {

struct ReceivedCluster {
    std::string text;
    std::int32_t errors;
    Clocked::time_point at;
};

// A port on a pseudo-terminal at the application's speed, with a receive handler that takes
// each cluster as it is signalled.
class PortOnPty : public ::testing::Test {
protected:
    PortOnPty() {
        port.SetBaudRate(38400);
        port.OnRxClusterEvent = [this](TSerialPort& sender) {
            ++signals;
            if (takeClusters) {
                clusters.push_back({sender.TakeClusterText(), 0, Clocked::now()});
            }
        };
    }

    void Open(const PseudoTerminal& device) {
        port.SetCommPort(device.SlavePath());
        port.SetActive(true);
        ASSERT_TRUE(port.Active());
        // The worker leaves its idle sleep at most two sleeps after the port opens.
        pump.RunFor(450ms);
    }

    bool WaitForClusters(std::size_t count, std::chrono::milliseconds limit = 3s) {
        return pump.RunUntil([&] { return clusters.size() >= count; }, limit);
    }

    static double CpuSeconds() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }

    PseudoTerminal pty;
    UiPump pump;
    TSerialPort port{pump.Queue()};
    PortMessages messages{port};
    bool takeClusters = true;
    int signals = 0;
    std::vector<ReceivedCluster> clusters;
};

// Ticks from the real clock, moved so that the 32-bit counter wraps when asked.
class WrappingClock final : public Clock {
public:
    std::uint32_t TickCount() override {
        const std::uint32_t tick = SystemClock().TickCount() + offset_;
        ++reads_;
        return tick;
    }
    void Sleep(std::uint32_t milliseconds) override { SystemClock().Sleep(milliseconds); }
    std::chrono::system_clock::time_point Now() override { return SystemClock().Now(); }
    void WrapIn(std::uint32_t milliseconds) {
        offset_ = 0u - milliseconds - SystemClock().TickCount();
        reads_ = 0;
    }
    // Ticks read since the last WrapIn; from the second on they are surely on the new base.
    int Reads() const { return reads_; }

private:
    std::atomic<std::uint32_t> offset_{0};
    std::atomic<int> reads_{0};
};

} // namespace

TEST_F(PortOnPty, AMissingDeviceLeavesThePortClosed) {
    port.SetCommPort("no-such-serial-device");
    port.SetActive(true);
    EXPECT_FALSE(port.Active());
    EXPECT_EQ(port.ComHandle(), 0xFFFFFFFFu);
    EXPECT_EQ(messages.all, (std::vector<PortMessage>{{110, 0, "Msg start reactivating Port", 2},
                                                      {112, ENOENT, "Error reopening Port", 0}}));
}

TEST_F(PortOnPty, OpensClosesAndMovesToAnotherDevice) {
    Open(pty);
    EXPECT_NE(port.ComHandle(), 0xFFFFFFFFu);
    EXPECT_TRUE(port.RTSState());
    EXPECT_TRUE(port.DTRState());
    // A pseudo-terminal has no modem lines or error counters: that is no error at all.
    EXPECT_EQ(messages.Places(), (std::vector<std::uint32_t>{110}));

    messages.all.clear();
    port.SetCommPort(pty.SlavePath());
    EXPECT_TRUE(messages.all.empty());
    EXPECT_TRUE(port.Active());

    PseudoTerminal other;
    port.SetCommPort(other.SlavePath());
    EXPECT_TRUE(port.Active());
    EXPECT_EQ(messages.Places(), (std::vector<std::uint32_t>{100, 110}));
    pump.RunFor(450ms);
    other.Write("on the other device");
    ASSERT_TRUE(WaitForClusters(1));
    EXPECT_EQ(clusters[0].text, "on the other device");

    port.SetActive(false);
    EXPECT_EQ(port.ComHandle(), 0xFFFFFFFFu);
    EXPECT_FALSE(port.RTSState());
    EXPECT_FALSE(port.DTRState());
    EXPECT_EQ(messages.CountOf(104), 0u);

    // Closed, the device is no longer held exclusively: it opens again.
    port.SetActive(true);
    EXPECT_TRUE(port.Active());
}

TEST_F(PortOnPty, TheOpenDeviceCarriesTheLineSettingsAndNothingElse) {
    // Flags that a previous user of the device left behind.
    termios left = pty.TerminalSettings();
    left.c_iflag |= IXOFF | INPCK | IGNPAR | IXANY | IMAXBEL;
    left.c_oflag |= ONLCR;
    left.c_lflag |= ECHOE | ECHOK | ECHOCTL;
    left.c_cflag |= CRTSCTS | HUPCL;
    pty.SetTerminalSettings(left);
    Open(pty);
    port.SetBaudRate(19200);
    port.SetStopBits(2);
    const termios seen = pty.TerminalSettings();
    // (A pseudo-terminal keeps eight data bits and no parity whatever it is asked.)
    EXPECT_EQ(cfgetospeed(&seen), B19200);
    EXPECT_EQ(seen.c_cflag & (CSTOPB | CRTSCTS | HUPCL), tcflag_t{CSTOPB});
    EXPECT_EQ(seen.c_iflag | seen.c_oflag | seen.c_lflag, 0u); // no parity check or flow control
    EXPECT_EQ(messages.Places(), (std::vector<std::uint32_t>{110}));

    // A speed the device does not know is refused, and said so.
    port.SetBaudRate(14400);
    ASSERT_GE(messages.all.size(), 2u);
    EXPECT_EQ(messages.all.back(),
              (PortMessage{802, EINVAL,
                           "Error setting CommState, 87 indicate that Parms are incorrect", 0}));
}

TEST_F(PortOnPty, ABurstBecomesOneClusterWithinItsAllowance) {
    Open(pty);
    const std::string burst(40, 'r');
    const auto written = Clocked::now();
    pty.Write(burst);
    ASSERT_TRUE(WaitForClusters(1));
    pump.RunFor(600ms);
    ASSERT_EQ(clusters.size(), 1u);
    EXPECT_EQ(clusters[0].text, burst);
    // 261.6 ms after the queue was last seen empty, which is at most 75 ms before the burst.
    const auto after = clusters[0].at - written;
    EXPECT_GE(after, 150ms);
    EXPECT_LE(after, 1000ms);
    EXPECT_EQ(signals, 1);
}

TEST(PortOnPtyWrap, ABurstAcrossTheTickWrapClosesOnTime) {
    PseudoTerminal pty;
    UiPump pump;
    WrappingClock clock;
    TSerialPort port(pump.Queue(), clock);
    port.SetBaudRate(38400);
    // A long allowance keeps "on time" well apart from "at the wrap".
    port.SetRTOExtraDelayTime(1000);
    std::vector<std::string> clusters;
    Clocked::time_point arrived;
    port.OnRxClusterEvent = [&](TSerialPort& sender) {
        clusters.push_back(sender.TakeClusterText());
        arrived = Clocked::now();
    };
    port.SetCommPort(pty.SlavePath());
    port.SetActive(true);
    pump.RunFor(450ms);

    // The worker sees the empty queue on the new base, then the bytes arrive well before the
    // wrap; they are due 1004.35 ms after that look, past the wrap.
    clock.WrapIn(600);
    ASSERT_TRUE(pump.RunUntil([&] { return clock.Reads() >= 2; }, 1s));
    ASSERT_GE(clock.TickCount(), 0x80000000u)
        << "the machine was too slow to write before the wrap";
    const auto written = Clocked::now();
    pty.Write("across the wrap");
    ASSERT_TRUE(pump.RunUntil([&] { return !clusters.empty(); }, 4s));
    // The last empty look came at most one 75 ms wait before the bytes.
    EXPECT_GE(arrived - written, 800ms);
    EXPECT_LE(arrived - written, 2500ms);
    EXPECT_EQ(clusters[0], "across the wrap");
}

TEST_F(PortOnPty, AStreamThatNeverPausesStillYieldsClusters) {
    Open(pty);
    std::string sent;
    for (int i = 0; i < 250; ++i) {
        sent += static_cast<char>('a' + i % 26);
    }
    std::thread writer([&] {
        for (char c : sent) {
            pty.Write(std::string(1, c));
            std::this_thread::sleep_for(10ms);
        }
    });
    const auto started = Clocked::now();
    pump.RunFor(1500ms);
    // Clusters came while the stream was still flowing.
    const std::size_t whileStreaming = clusters.size();
    writer.join();
    EXPECT_LT(Clocked::now() - started, 5s);
    pump.RunUntil(
        [&] {
            std::string got;
            for (const auto& c : clusters) {
                got += c.text;
            }
            return got.size() == sent.size();
        },
        3s);
    EXPECT_GE(whileStreaming, 2u);
    std::string received;
    for (const auto& c : clusters) {
        received += c.text;
    }
    EXPECT_EQ(received, sent);
}

TEST_F(PortOnPty, ClusterSizeZeroOrReachedReadsAtOnce) {
    port.SetRTOExtraDelayTime(5000); // the time rule alone would wait five seconds
    Open(pty);

    port.SetClusterSize(0);
    auto written = Clocked::now();
    pty.Write("now");
    ASSERT_TRUE(WaitForClusters(1, 4s));
    EXPECT_LT(clusters[0].at - written, 2s);
    EXPECT_EQ(clusters[0].text, "now");

    port.SetClusterSize(32);
    written = Clocked::now();
    pty.Write(std::string(100, 'z'));
    ASSERT_TRUE(WaitForClusters(2, 4s));
    EXPECT_LT(clusters[1].at - written, 2s);
    EXPECT_EQ(clusters[1].text, std::string(100, 'z'));
}

TEST_F(PortOnPty, AWholeReplyEndsItsClusterAtItsLastByte) {
    port.SetRTOExtraDelayTime(1000); // the time rule alone waits a second
    port.SetCompleteReplyRule([](std::string_view bytes) { return bytes == "<reply>"; });
    Open(pty);
    const std::tuple<std::string, std::string, bool, bool> cases[] = {
        {"<re", "ply>", true, true},
        {"<reply>t", "ail", true, false},
        {"<re", "ply>", false, false}};
    for (const auto& [head, tail, clusterOnFrame, endsAtLastByte] : cases) {
        port.SetClusterOnFrame(clusterOnFrame);
        clusters.clear();
        const auto first = Clocked::now();
        pty.Write(head);
        pump.RunFor(100ms);
        pty.Write(tail);
        ASSERT_TRUE(WaitForClusters(1, 4s));
        pump.RunFor(endsAtLastByte ? 300ms : 0ms);
        ASSERT_EQ(clusters.size(), 1u) << head;
        EXPECT_EQ(clusters[0].text, head + tail);
        const auto after = clusters[0].at - first;
        EXPECT_TRUE(endsAtLastByte ? after < 600ms : after > 800ms && after < 2500ms) << head;
    }
}

TEST_F(PortOnPty, AReadRequestWaitsForBytesThenReadsThemAtOnce) {
    port.SetRTOExtraDelayTime(5000);
    Open(pty);
    port.SetReadRequest(true);
    pump.RunFor(400ms);
    EXPECT_TRUE(port.ReadRequest());
    EXPECT_TRUE(clusters.empty());

    const auto written = Clocked::now();
    pty.Write("asked for");
    ASSERT_TRUE(WaitForClusters(1, 4s));
    EXPECT_LT(clusters[0].at - written, 2s);
    EXPECT_EQ(clusters[0].text, "asked for");
    EXPECT_FALSE(port.ReadRequest());
}

TEST_F(PortOnPty, ClustersArriveInOrderAndOneAtATime) {
    Open(pty);
    bool queueEmptyAfterFirst = false;
    port.OnRxClusterEvent = [&](TSerialPort& sender) {
        const bool first = clusters.empty();
        if (first) {
            // While this handler runs, two more bursts arrive; no cluster may be made meanwhile.
            std::thread writer([&] {
                pty.Write("BBBB");
                std::this_thread::sleep_for(500ms);
                pty.Write("CCCC");
            });
            std::this_thread::sleep_for(1200ms);
            writer.join();
        }
        clusters.push_back({sender.TakeClusterText(), 0, Clocked::now()});
        if (first) {
            queueEmptyAfterFirst = sender.PeekClusterSize() == -1;
        }
    };
    pty.Write("AAAA");
    ASSERT_TRUE(WaitForClusters(2, 5s));
    pump.RunFor(500ms);
    EXPECT_TRUE(queueEmptyAfterFirst);
    ASSERT_EQ(clusters.size(), 2u);
    EXPECT_EQ(clusters[0].text, "AAAA");
    EXPECT_EQ(clusters[1].text, "BBBBCCCC");
}

TEST_F(PortOnPty, QuietModeQueuesClustersWithoutSignals) {
    Open(pty);
    port.SetThreadQuietMode(true);
    pty.Write("first");
    pump.RunFor(900ms);
    pty.Write("second");
    pump.RunFor(900ms);
    EXPECT_EQ(signals, 0);
    EXPECT_EQ(port.PeekClusterSize(), 5);
    EXPECT_EQ(port.PeekClusterError(), 0);
    EXPECT_EQ(port.TakeClusterText(), "first");
    EXPECT_EQ(port.TakeClusterText(), "second");
    EXPECT_EQ(port.PeekClusterSize(), -1);
}

TEST_F(PortOnPty, NullBytesAreKeptOrStripped) {
    Open(pty);
    pty.Write(std::string("a\0b", 3));
    ASSERT_TRUE(WaitForClusters(1));
    EXPECT_EQ(clusters[0].text, std::string("a\0b", 3));

    // A cluster left with no bytes is still a cluster.
    port.SetStripNullChars(true);
    takeClusters = false;
    pty.Write(std::string(3, '\0'));
    ASSERT_TRUE(pump.RunUntil([&] { return signals == 2; }, 3s));
    EXPECT_EQ(port.PeekClusterSize(), 0);
    EXPECT_EQ(port.PeekClusterError(), 0);
    EXPECT_EQ(port.TakeClusterText(), "");
    EXPECT_EQ(port.PeekClusterSize(), -1);
}

TEST_F(PortOnPty, AFailingHandlerDoesNotStopTheLink) {
    Open(pty);
    port.OnRxClusterEvent = [&](TSerialPort& sender) {
        clusters.push_back({sender.TakeClusterText(), 0, Clocked::now()});
        if (clusters.size() == 1) {
            throw std::runtime_error("handler failed");
        }
    };
    pty.Write("one");
    ASSERT_TRUE(WaitForClusters(1));
    pump.RunFor(300ms);
    pty.Write("two");
    ASSERT_TRUE(WaitForClusters(2));
    EXPECT_EQ(clusters[1].text, "two");
}

TEST_F(PortOnPty, ASendThatCompletesAtOnceIsDoneOnTheCallersThread) {
    Open(pty);
    int done = 0;
    port.OnWriteDone = [&](TSerialPort&) { ++done; };
    port.SendText("EOT");
    EXPECT_EQ(done, 1);
    EXPECT_FALSE(port.SendInProgress());
    EXPECT_EQ(port.WrittenBytes(), 3u);
    EXPECT_EQ(pty.ReadUntilQuiet(200ms), "EOT");
}

TEST_F(PortOnPty, APendingSendDropsTheNextAndTimesOut) {
    port.SetXTOAuto(false);
    port.SetWTOCharDelayTime(0);
    port.SetWTOExtraDelayTime(400);
    Open(pty);
    int done = 0;
    port.OnWriteDone = [&](TSerialPort&) { ++done; };

    // Nobody reads the other side, so the device's buffer fills and the send stays pending.
    const std::string big(256 * 1024, 'x');
    port.SendText(big);
    ASSERT_TRUE(port.SendInProgress());
    port.SendText("dropped");
    EXPECT_EQ(messages.all.back(),
              (PortMessage{901, 0, "Msg, dont enter SendData while SendInProgress is set", 2}));

    ASSERT_TRUE(pump.RunUntil([&] { return !port.SendInProgress(); }, 5s));
    pump.RunFor(100ms);
    EXPECT_EQ(messages.CountOf(9701), 1u);
    EXPECT_EQ(messages.all.back().msg, "Error write TimeOut");
    EXPECT_EQ(done, 1);
    const std::uint32_t written = port.WrittenBytes();
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, big.size());
    // What was handed over arrives; the dropped bytes never do.
    EXPECT_EQ(pty.ReadUntilQuiet(300ms), std::string(written, 'x'));

    port.SendText("next");
    EXPECT_EQ(done, 2);
    EXPECT_EQ(pty.ReadUntilQuiet(200ms), "next");
}

TEST_F(PortOnPty, APendingSendFinishesWhenTheOtherSideReads) {
    port.SetWTOExtraDelayTime(20000);
    Open(pty);
    int done = 0;
    port.OnWriteDone = [&](TSerialPort&) { ++done; };
    const std::string big(64 * 1024, 'y');
    port.SendText(big);
    ASSERT_TRUE(port.SendInProgress());

    std::string received;
    ASSERT_TRUE(pump.RunUntil(
        [&] {
            received += pty.ReadAvailable();
            return !port.SendInProgress();
        },
        10s));
    EXPECT_TRUE(pump.RunUntil([&] { return done == 1; }, 2s));
    received += pty.ReadUntilQuiet(300ms);
    EXPECT_EQ(received.size(), big.size());
    EXPECT_EQ(port.WrittenBytes(), big.size());
    EXPECT_EQ(done, 1);
    EXPECT_EQ(messages.CountOf(9701), 0u);
}

// The close waits for the worker to end the send, at most 15 x 75 ms. The worker blocks only
// in a hand-over that has a handler, which the closing UI thread does not run meanwhile.
TEST_F(PortOnPty, ClosingWithASendPendingEndsItAsAborted) {
    port.SetWTOExtraDelayTime(20000);
    Open(pty);
    port.SendText(std::string(256 * 1024, 'w'));
    ASSERT_TRUE(port.SendInProgress());
    auto start = Clocked::now();
    port.SetActive(false);
    auto closing = Clocked::now() - start;
    EXPECT_GE(closing, 1000ms); // the message for OnProcessError held the worker
    EXPECT_LT(closing, 3s);
    EXPECT_EQ(messages.CountOf(104), 1u);
    pump.RunUntil([&] { return !port.SendInProgress(); }, 3s);
    EXPECT_FALSE(port.SendInProgress());
    EXPECT_EQ(messages.CountOf(9702), 1u);

    // Without a handler for the messages nothing holds the worker.
    port.OnProcessError = nullptr;
    port.SetActive(true);
    pump.RunFor(450ms);
    port.SendText(std::string(256 * 1024, 'w'));
    ASSERT_TRUE(port.SendInProgress());
    start = Clocked::now();
    port.SetActive(false);
    closing = Clocked::now() - start;
    EXPECT_LT(closing, 700ms);
    EXPECT_FALSE(port.SendInProgress()); // still ended before the device was closed
}

TEST_F(PortOnPty, ASendLeftShortIsATimeOutNotDone) {
    port.SetWTOExtraDelayTime(20000);
    Open(pty);
    const std::string big(256 * 1024, 'v');
    port.SendText(big);
    ASSERT_TRUE(port.SendInProgress());

    // The worker blocks handing over a cluster while the port closes, so it next meets the
    // send only after the device has dropped the unwritten bytes.
    pty.Write("x");
    ASSERT_TRUE(pump.WaitForBlockedHandOver(3s));
    port.SetActive(false);

    EXPECT_TRUE(pump.RunUntil([&] { return messages.CountOf(9701) == 1; }, 3s));
    EXPECT_FALSE(port.SendInProgress());
    EXPECT_LT(port.WrittenBytes(), big.size());
}

// Behind a link, as the system's stable name leads to an adapter pulled out and plugged in again;
// those names run to 120 characters and more, and a path opens whole.
TEST_F(PortOnPty, AVanishedDeviceIsReportedOnceAndOpenedAgainWhenItIsBack) {
    std::string link = testing::TempDir() + "usb-Vendor_Serial_Adapter_" + std::to_string(getpid());
    link.resize(120, '_');
    const auto pointLinkAt = [&](const PseudoTerminal& device) {
        std::filesystem::remove(link);
        std::filesystem::create_symlink(device.SlavePath(), link);
    };
    pointLinkAt(pty);
    port.SetCommPort(link);
    port.SetActive(true);
    pump.RunFor(450ms);
    messages.all.clear();
    const double cpuBefore = CpuSeconds();
    const auto wallBefore = Clocked::now();
    pty.CloseMaster();
    std::filesystem::remove(link); // as the system's name goes with the adapter
    port.SendText("dropped");
    pump.RunFor(2500ms);
    const double cpuUsed = CpuSeconds() - cpuBefore;
    const double wall = std::chrono::duration<double>(Clocked::now() - wallBefore).count();

    // One report, not a stream; no core kept busy.
    EXPECT_EQ(messages.all, (std::vector<PortMessage>{{120, EIO, "Error device lost", 0}}));
    EXPECT_LT(cpuUsed, 0.3 * wall);
    EXPECT_TRUE(port.Active() && port.DeviceLost());

    // Opened again about a second after it is back; closed while away, it is waited for no more.
    PseudoTerminal back;
    pointLinkAt(back);
    ASSERT_TRUE(pump.RunUntil([&] { return !port.DeviceLost(); }, 2s));
    back.Write("back again");
    ASSERT_TRUE(WaitForClusters(1));
    EXPECT_EQ(clusters[0].text, "back again");
    back.CloseMaster();
    ASSERT_TRUE(pump.RunUntil([&] { return port.DeviceLost(); }, 3s));
    port.SetActive(false);
    EXPECT_FALSE(port.Active() || port.DeviceLost());
    EXPECT_EQ(messages.Places(), (std::vector<std::uint32_t>{120, 121, 120}));
    std::filesystem::remove(link);
}

// The name of a terminal that hung up goes to the next terminal any program opens: that one is
// never opened, set raw or written to, and why is said once.
TEST_F(PortOnPty, AHungUpTerminalsNameTakenByAnotherIsNotOpened) {
    Open(pty);
    const std::string name = pty.SlavePath();
    pty.CloseMaster();
    ASSERT_TRUE(pump.RunUntil([&] { return port.DeviceLost(); }, 3s));
    // The system gives the lowest free number; a terminal opened meanwhile elsewhere may take it
    // first, so terminals are made until one has the name.
    std::vector<std::unique_ptr<PseudoTerminal>> others;
    while (others.size() < 64 && (others.empty() || others.back()->SlavePath() != name)) {
        others.push_back(std::make_unique<PseudoTerminal>());
    }
    PseudoTerminal& taker = *others.back();
    ASSERT_EQ(taker.SlavePath(), name);
    const termios before = taker.TerminalSettings();
    port.SendText("T");
    pump.RunFor(2500ms);

    EXPECT_TRUE(port.Active() && port.DeviceLost());
    EXPECT_EQ(taker.ReadAvailable(), "");
    EXPECT_EQ(taker.TerminalSettings().c_lflag, before.c_lflag); // not made raw
    EXPECT_EQ(messages.CountOf(121), 0u);
    ASSERT_EQ(messages.CountOf(122), 1u);
    EXPECT_EQ(messages.all.back().msg, "Error device not taken: a new terminal has the name " +
                                           name + "; one that hung up is not opened again");
}

TEST(PortOnPtyLifetime, DestroyingWhileBlockedInAHandOverFinishesSoon) {
    PseudoTerminal pty;
    UiPump pump;
    bool handled = false;
    auto port = std::make_unique<TSerialPort>(pump.Queue());
    port->OnRxClusterEvent = [&](TSerialPort&) { handled = true; };
    port->SetCommPort(pty.SlavePath());
    port->SetActive(true);
    pump.RunFor(450ms);

    // The UI side stops running hand-overs; the worker blocks in the next one.
    pty.Write("never handled");
    ASSERT_TRUE(pump.WaitForBlockedHandOver(3s));

    const auto start = Clocked::now();
    port.reset();
    EXPECT_LT(Clocked::now() - start, 1200ms);
    EXPECT_EQ(pump.Queue().ProcessPending(), 0u);
    EXPECT_FALSE(handled);
}
