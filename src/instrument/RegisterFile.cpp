#include "RegisterFile.h"

#include <algorithm>

namespace RegisterFile {

namespace {

constexpr std::size_t kValueStart = 3; // after "1F="
constexpr std::size_t kValueLength = 2;

} // namespace

protocol::RegisterTexts Parse(std::string_view bytes) {
    protocol::RegisterTexts registers;
    for (std::string& text : registers) {
        if (bytes.empty()) {
            break;
        }
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        while (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        text = line.substr(std::min(kValueStart, line.size()), kValueLength);
    }
    return registers;
}

} // namespace RegisterFile
