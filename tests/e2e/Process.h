#pragma once

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

// A program run as a process of its own, in a folder, with extra environment, its standard
// output and error going to files. Killed, with all it started, when the test lets go of it.
class Process {
public:
    Process(std::vector<std::string> command, const std::string& folder,
            const std::vector<std::string>& environment, const std::string& outputFile,
            const std::string& errorFile) {
        std::vector<char*> argv;
        for (std::string& argument : command) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        // The given variables replace those of the same name; a name without '=' removes it.
        std::vector<std::string> variables;
        for (const std::string& given : environment) {
            if (given.find('=') != std::string::npos) {
                variables.push_back(given);
            }
        }
        for (char** variable = environ; *variable; ++variable) {
            const std::string inherited = *variable;
            const std::string name = inherited.substr(0, inherited.find('='));
            bool replaced = false;
            for (const std::string& given : environment) {
                replaced = replaced || given == name || given.rfind(name + '=', 0) == 0;
            }
            if (!replaced) {
                variables.push_back(inherited);
            }
        }
        std::vector<char*> envp;
        for (std::string& variable : variables) {
            envp.push_back(variable.data());
        }
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        // A group of its own, so that whatever it starts ends with it.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        if (posix_spawn(&pid_, argv[0], &actions, &attributes, argv.data(), envp.data()) != 0) {
            pid_ = -1;
        }
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Process() {
        if (pid_ > 0) {
            kill(-pid_, SIGKILL);
            if (!reaped_) {
                waitpid(pid_, nullptr, 0);
            }
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Id() const { return pid_; }
    bool Running() { return pid_ > 0 && !Reaped(); }
    // Sends the signal and gives the exit code once it has ended, nothing when it did not end
    // normally or not within the limit.
    std::optional<int> End(int signalNumber,
                           std::chrono::milliseconds limit = std::chrono::seconds(15)) {
        if (pid_ > 0) {
            kill(pid_, signalNumber);
        }
        return Wait(limit);
    }
    // The exit code once it has ended by itself, nothing when it did not end normally or not
    // within the limit.
    std::optional<int> Wait(std::chrono::milliseconds limit) {
        if (pid_ <= 0) {
            return std::nullopt;
        }
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!Reaped()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        pid_ = -1;
        if (!WIFEXITED(status_)) {
            return std::nullopt;
        }
        return WEXITSTATUS(status_);
    }

private:
    bool Reaped() {
        reaped_ = reaped_ || waitpid(pid_, &status_, WNOHANG) == pid_;
        return reaped_;
    }

    pid_t pid_ = -1;
    int status_ = 0;
    bool reaped_ = false;
};
