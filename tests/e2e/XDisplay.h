#pragma once

#include "Process.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// One X server (Xvfb) for the tests that need a real display: a window to click, the platform
// an operator has. Started on first use, ended with the test program.
class XDisplay {
public:
    // ":N", or nothing when this machine has no Xvfb.
    static std::optional<std::string> Name() {
        static XDisplay server;
        return server.name_;
    }

    // The standard output of a shell command run against the display.
    static std::string Run(const std::string& command) {
        std::string output;
        if (FILE* pipe = popen(("DISPLAY=" + Name().value_or("") + " " + command).c_str(), "r")) {
            std::array<char, 256> buffer{};
            while (fgets(buffer.data(), buffer.size(), pipe)) {
                output += buffer.data();
            }
            pclose(pipe);
        }
        return output;
    }

    // The visible windows of that process whose titles hold the text.
    static std::vector<std::string> VisibleWindows(pid_t process, const std::string& title) {
        std::istringstream found(Run("xdotool search --all --onlyvisible --pid " +
                                     std::to_string(process) + " --name '" + title +
                                     "' 2>/dev/null"));
        std::vector<std::string> windows;
        for (std::string window; found >> window;) {
            windows.push_back(window);
        }
        return windows;
    }

    // A left click at a point given relative to the window's top-left corner.
    static void Click(const std::string& window, int x, int y) {
        Run("xdotool mousemove --window " + window + " " + std::to_string(x) + " " +
            std::to_string(y) + " click 1");
    }

private:
    XDisplay() {
        namespace fs = std::filesystem;
        const fs::path program = "/usr/bin/Xvfb";
        if (!fs::exists(program) || system("command -v xdotool >/dev/null") != 0) {
            return;
        }
        folder_ = fs::temp_directory_path() / ("vxxx-e2e-x-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        // -displayfd: the server picks a free display and writes its number once it listens.
        server_ = std::make_unique<Process>(
            std::vector<std::string>{program, "-displayfd", "1", "-screen", "0", "1024x768x24",
                                     "-nolisten", "tcp"},
            folder_.string(), std::vector<std::string>{}, (folder_ / "display").string(),
            (folder_ / "server.err").string());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline && server_->Running()) {
            std::ifstream in(folder_ / "display");
            std::string number;
            if (std::getline(in, number) && !in.eof() && !number.empty()) {
                name_ = ":" + number;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~XDisplay() {
        // Asked to end, the server removes its socket and lock for the next one.
        if (server_) {
            server_->End(SIGTERM, std::chrono::seconds(5));
        }
        server_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::filesystem::path folder_;
    std::unique_ptr<Process> server_;
    std::optional<std::string> name_;
};
