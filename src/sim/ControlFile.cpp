#include "sim/ControlFile.h"

#include <fstream>
#include <sys/stat.h>

namespace sim {

std::optional<std::vector<std::string>> ControlFile::ChangedLines() {
    struct stat status {};
    if (stat(path_.c_str(), &status) != 0) {
        return std::nullopt;
    }
    const bool same = seen_ && status.st_mtim.tv_sec == modified_.tv_sec &&
                      status.st_mtim.tv_nsec == modified_.tv_nsec && status.st_size == size_;
    if (same) {
        return std::nullopt;
    }
    seen_ = true;
    modified_ = status.st_mtim;
    size_ = status.st_size;

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
