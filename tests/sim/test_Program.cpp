// Talks to vxxx-sim started as a separate process, as the end-to-end tests and the panel do.
#include "PanelPort.h"
#include "ReplyText.h"
#include "SimulatorProcess.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

fs::path LinkPath() {
    return fs::temp_directory_path() / ("vxxx-sim-test-" + std::to_string(getpid()));
}

} // namespace

TEST(SimProgram, AnswersThroughItsPseudoTerminalAndCleansUpOnTerm) {
    const fs::path link = LinkPath();
    SimulatorProcess simulator(VXXX_SIM_PROGRAM,
                               {"--model", "V420", "--inputs", "pt100", "--unit", "F", "--records",
                                "2", "--link", link.string(), "--split", "1@2"});
    const std::string path = simulator.Line();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(fs::read_symlink(link).string(), path);

    PanelPort port(link.string());
    ASSERT_TRUE(port.IsOpen());
    const auto status = PanelPayload(port.Ask(PollFrame("S")));
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(Field(*status, 14, 15), "81");
    EXPECT_EQ(Field(*status, 18, 21), "0002");
    EXPECT_EQ(Field(*status, 26, 29), "V420");

    // The second reply is split: its halves arrive 600 ms apart, in different clusters.
    const std::string first_half = port.Ask(PollFrame("T"), 250);
    const std::string second_half = port.Receive(250);
    EXPECT_FALSE(first_half.empty());
    EXPECT_FALSE(second_half.empty());
    const auto readings = PanelPayload(first_half + second_half);
    ASSERT_TRUE(readings.has_value());
    EXPECT_EQ(Field(*readings, 74, 75), "01");

    port.Send(std::string(300, '\x04') + "\x02\x03\x03\x03"); // rubbish never stops it
    port.Close();
    PanelPort again(path);
    EXPECT_EQ(again.Ask(protocol::RequestFrame("Z")), "\x06");
    EXPECT_EQ(Field(*PanelPayload(again.Ask(PollFrame("S"))), 18, 21), "0000");

    EXPECT_EQ(simulator.End(SIGTERM), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(SimProgram, RefusesUnknownOptions) {
    SimulatorProcess simulator(VXXX_SIM_PROGRAM, {"--colour", "blue"});
    EXPECT_EQ(simulator.Line(), "");
    EXPECT_EQ(simulator.End(0), 2);
}
