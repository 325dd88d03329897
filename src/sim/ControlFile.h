#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// A text file that a test writes to move the instrument's inputs while it runs: one
// "CH=VALUE" per line, blank lines and lines starting with '#' skipped.
class ControlFile {
public:
    explicit ControlFile(std::string path) : path_(std::move(path)) {}

    // The file's lines when it has changed since the last look (or is seen for the first
    // time), nothing otherwise or when it cannot be read.
    std::optional<std::vector<std::string>> ChangedLines();

private:
    std::string path_;
    bool seen_ = false;
    std::filesystem::file_time_type modified_{};
    std::uintmax_t size_ = 0;
};

} // namespace sim
