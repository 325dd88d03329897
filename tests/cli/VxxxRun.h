#pragma once

#include "e2e/Process.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

inline std::string FileText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A folder of the test's own, the current folder of every program it starts.
class Folder {
public:
    explicit Folder(const std::string& name)
        : path_(fs::temp_directory_path() / (name + "-" + std::to_string(getpid()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~Folder() { fs::remove_all(path_); }
    const fs::path& Path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

// vxxx-sim as a process of its own on the link `sim` in the folder, its trace in `trace`.
class Simulator {
public:
    Simulator(const Folder& folder, std::vector<std::string> options)
        : link_(folder / "sim"), trace_(folder / "trace") {
        options.insert(options.begin(), {VXXX_SIM_PROGRAM, "--trace", "--link", link_.string()});
        process_.emplace(options, folder.Path().string(), std::vector<std::string>{},
                         (folder / "sim-out").string(), trace_.string());
        for (int i = 0; i < 250 && !fs::exists(link_); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    std::string Link() const { return link_.string(); }
    std::string Trace() const { return FileText(trace_); }

private:
    fs::path link_;
    fs::path trace_;
    std::optional<Process> process_;
};

struct RunResult {
    std::optional<int> exitCode; // nothing when it did not end within the limit
    std::string out;
    std::string err;
    std::chrono::milliseconds took{};
};

// vxxx with the arguments and the environment's variables, in the folder, waited for up to
// `limit`.
inline RunResult RunVxxx(const Folder& folder, std::vector<std::string> arguments,
                         std::chrono::milliseconds limit = std::chrono::seconds(30),
                         const std::vector<std::string>& environment = {}) {
    arguments.insert(arguments.begin(), VXXX_PROGRAM);
    const auto start = std::chrono::steady_clock::now();
    Process process(arguments, folder.Path().string(), environment, (folder / "out").string(),
                    (folder / "err").string());
    RunResult result;
    result.exitCode = process.Wait(limit);
    result.took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    result.out = FileText(folder / "out");
    result.err = FileText(folder / "err");
    return result;
}
