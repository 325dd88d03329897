#pragma once

#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// vxxx-sim run as a separate process, its standard output read line by line.
class SimulatorProcess {
public:
    SimulatorProcess(const std::string& program, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), program);
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
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
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

    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int output_ = -1;
};
