// The port on the system's own serial device, against vxxx-sim serving on the port that
// VXXX_TEST_SIMULATOR_PORT names, started with --hangup-after 8 --return-after 1. On Windows
// this is the COM port device; scripts/test-windows.sh runs it under Wine on COM5, the
// simulator's pseudo-terminal. Without the variable it is skipped.
#include "PortMessages.h"
#include "UiPump.h"
#include "serial/SerialPort.h"

#include <cerrno>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(PortOnSimulator, AnswersLetsGoWhenTheLineHangsUpAndTakesItBack) {
    const char* name = std::getenv("VXXX_TEST_SIMULATOR_PORT");
    if (name == nullptr) {
        GTEST_SKIP() << "no VXXX_TEST_SIMULATOR_PORT";
    }
    UiPump pump;
    TSerialPort port(pump.Queue());
    PortMessages messages(port);
    std::vector<std::string> clusters;
    port.OnRxClusterEvent = [&](TSerialPort& sender) {
        clusters.push_back(sender.TakeClusterText());
    };
    const auto statusAnswered = [&] {
        clusters.clear();
        port.SendText("\x04S\x05");
        return pump.RunUntil([&] { return !clusters.empty(); }, 3s) &&
               clusters.front().starts_with("\x02S") && clusters.front().size() > 20;
    };

    port.SetBaudRate(38400);
    port.SetCommPort(name);
    port.SetActive(true);
    ASSERT_TRUE(port.Active()) << ::testing::PrintToString(messages.all);
    EXPECT_TRUE(statusAnswered());

    ASSERT_TRUE(pump.RunUntil([&] { return port.DeviceLost(); }, 20s));
    EXPECT_EQ(messages.CountOf(120), 1u);
    EXPECT_EQ(messages.all.back(), (PortMessage{120, EIO, "Error device lost", 0}));
    ASSERT_TRUE(pump.RunUntil([&] { return !port.DeviceLost(); }, 20s));
    EXPECT_EQ(messages.all.back(), (PortMessage{121, 0, "Msg device reopened", 2}));
    EXPECT_TRUE(statusAnswered());
}
