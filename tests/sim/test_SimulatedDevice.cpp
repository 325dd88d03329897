// The simulated instrument as the port's device, in the test's own process: what the port
// sends reaches it, its answers come back on the line's time.
#include "ReplyText.h"
#include "serial/HandOverQueue.h"
#include "serial/SerialPort.h"
#include "sim/SimulatedSerialDevice.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

const std::string kStatusPoll = "\x04S\x05";

milliseconds Since(steady_clock::time_point start) {
    return duration_cast<milliseconds>(steady_clock::now() - start);
}

// The device on its own, as the port's worker drives it: waits, queue counts and reads.
class Device : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(device->Open("anything"), 0); }

    void SetBaud(std::uint32_t baud) {
        LineSettings line;
        ASSERT_EQ(device->GetLineSettings(line), 0);
        line.baudRate = baud;
        ASSERT_EQ(device->SetLineSettings(line), 0);
    }

    // What arrives until the queue has stayed empty for a quiet spell.
    std::string Collect(milliseconds quiet = 300ms) {
        std::string received;
        auto lastByte = steady_clock::now();
        while (Since(lastByte) < quiet) {
            device->Wait(true, false, 20);
            DeviceStatus status;
            EXPECT_EQ(device->ClearErrors(status), 0);
            if (status.inQueue > 0) {
                std::string bytes(status.inQueue, '\0');
                std::uint32_t got = 0;
                EXPECT_EQ(device->Read(bytes.data(), status.inQueue, got), 0);
                received += bytes.substr(0, got);
                lastByte = steady_clock::now();
            }
        }
        return received;
    }

    std::unique_ptr<SerialDevice> device = sim::MakeSimulatedSerialDevice({});
};

// A port at its side of the device, the test's thread playing the UI thread.
class PortOnDevice : public ::testing::Test {
protected:
    std::string Ask(const std::string& frame) {
        const std::size_t before = clusters.size();
        port.SendText(frame);
        for (int pass = 0; pass < 300 && clusters.size() == before; ++pass) {
            handOver.ProcessPending();
            std::this_thread::sleep_for(10ms);
        }
        return clusters.size() > before ? clusters.back() : "";
    }

    HandOverQueue handOver;
    TSerialPort port{handOver, SystemClock(), sim::MakeSimulatedSerialDevice({})};
    std::vector<std::string> clusters;
};

} // namespace

TEST_F(Device, AnswersNoSoonerThanTheLineCarriesRequestAndReply) {
    SetBaud(1200); // 8.3 ms a byte
    const auto sent = steady_clock::now();
    ASSERT_EQ(device->StartWrite(kStatusPoll.data(), 3).state, WriteProgress::State::Completed);
    std::string reply;
    while (reply.empty() && Since(sent) < 5s) {
        reply = Collect(20ms);
    }
    const auto took = Since(sent);
    ASSERT_TRUE(PanelPayload(reply)) << reply;
    EXPECT_EQ(reply[1], 'S');
    const auto lineTime = milliseconds((3 + reply.size()) * 10 * 1000 / 1200);
    EXPECT_GE(took, lineTime);
    EXPECT_LT(took, lineTime + 1500ms);
}

TEST_F(Device, AnAnswerDueWhileClosedIsLostAndTheNextOneComes) {
    SetBaud(1200);
    ASSERT_EQ(device->StartWrite(kStatusPoll.data(), 3).state, WriteProgress::State::Completed);
    ASSERT_EQ(device->Close(), 0);
    EXPECT_EQ(device->Close(), EBADF);
    std::this_thread::sleep_for(600ms); // the answer's time passes
    ASSERT_EQ(device->Open("anything"), 0);
    EXPECT_EQ(device->Open("anything"), EBUSY);
    EXPECT_EQ(Collect(), "");
    device->StartWrite(kStatusPoll.data(), 3);
    EXPECT_TRUE(PanelPayload(Collect(700ms)));
}

TEST_F(Device, AWaitEndsAtItsTimeOrAtOnceWhenTheEventMaskGoesToNone) {
    auto start = steady_clock::now();
    EXPECT_EQ(device->Wait(true, false, 300).state, WaitOutcome::State::TimedOut);
    EXPECT_GE(Since(start), 300ms);
    EXPECT_LT(Since(start), 1300ms);

    std::thread clearer([this] {
        std::this_thread::sleep_for(200ms);
        device->SetEventMask(0);
    });
    start = steady_clock::now();
    const WaitOutcome outcome = device->Wait(true, false, 5000);
    clearer.join();
    EXPECT_TRUE(outcome.woken);
    EXPECT_GE(Since(start), 200ms);
    EXPECT_LT(Since(start), 1200ms);
}

TEST_F(PortOnDevice, ThePortOpensItByAnyNameAndItsWorkerBringsTheReplies) {
    port.OnRxClusterEvent = [this](TSerialPort& sender) {
        clusters.push_back(sender.TakeClusterText());
    };
    port.SetBaudRate(38400);
    port.SetCommPort("simulator");
    port.SetActive(true);
    ASSERT_TRUE(port.Active());

    const auto status = PanelPayload(Ask(kStatusPoll));
    ASSERT_TRUE(status);
    EXPECT_EQ(Field(*status, 1, 1), "S");
    EXPECT_EQ(Ask(protocol::RequestFrame("Z")), "\x06"); // a request is acknowledged

    port.SetActive(false);
    port.SetActive(true);
    EXPECT_TRUE(PanelPayload(Ask(kStatusPoll)));
}
