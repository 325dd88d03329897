// Talks to vxxx-sim started as a separate process, as the end-to-end tests and the panel do.
#include "PanelPort.h"
#include "ReplyText.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class SimulatorProcess {
public:
    explicit SimulatorProcess(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), VXXX_SIM_PROGRAM);
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        int output[2];
        if (pipe(output) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        if (posix_spawn(&pid_, VXXX_SIM_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(output[1]);
        output_ = output[0];
    }
    ~SimulatorProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(output_);
    }

    // The next line the program prints, or "" after `limit_ms`.
    std::string Line(int limit_ms = 5000) {
        std::string line;
        for (;;) {
            pollfd watched{output_, POLLIN, 0};
            char byte;
            if (poll(&watched, 1, limit_ms) <= 0 || read(output_, &byte, 1) != 1) {
                return "";
            }
            if (byte == '\n') {
                return line;
            }
            line += byte;
        }
    }
    // The exit status after `signal_number`, -1 when it did not end normally.
    int End(int signal_number) {
        kill(pid_, signal_number);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
};

fs::path LinkPath() {
    return fs::temp_directory_path() / ("vxxx-sim-test-" + std::to_string(getpid()));
}

} // namespace

TEST(SimProgram, AnswersThroughItsPseudoTerminalAndCleansUpOnTerm) {
    const fs::path link = LinkPath();
    SimulatorProcess simulator({"--model", "V420", "--inputs", "pt100", "--unit", "F", "--records",
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
    EXPECT_EQ(again.Ask(RequestFrame("Z")), "\x06");
    EXPECT_EQ(Field(*PanelPayload(again.Ask(PollFrame("S"))), 18, 21), "0000");

    EXPECT_EQ(simulator.End(SIGTERM), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(SimProgram, RefusesUnknownOptions) {
    SimulatorProcess simulator({"--colour", "blue"});
    EXPECT_EQ(simulator.Line(), "");
    EXPECT_EQ(simulator.End(0), 2);
}
