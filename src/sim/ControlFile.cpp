#include "sim/ControlFile.h"

#include <fstream>
#include <system_error>

namespace sim {

std::optional<std::vector<std::string>> ControlFile::ChangedLines() {
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(path_, error);
    const auto size = error ? 0 : std::filesystem::file_size(path_, error);
    if (error || (seen_ && modified == modified_ && size == size_)) {
        return std::nullopt;
    }
    seen_ = true;
    modified_ = modified;
    size_ = size;

    std::ifstream file(path_);
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line) && lines.size() < 1000) {
        const auto first = line.find_first_not_of(" \t\r");
        if (first == line.npos || line[first] == '#') {
            continue;
        }
        const auto last = line.find_last_not_of(" \t\r");
        lines.push_back(line.substr(first, last - first + 1));
    }
    return lines;
}

} // namespace sim
