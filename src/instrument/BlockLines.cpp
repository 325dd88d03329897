#include "BlockLines.h"

#include <algorithm>
#include <cstring>
#include <istream>

namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

BlockLines::BlockLines(std::istream& input) : input_(input), block_(kBlockSize) {}

bool BlockLines::Failed() const {
    return input_.bad();
}

bool BlockLines::Fill() {
    if (ended_) {
        return false;
    }
    if (begin_ > 0) {
        std::memmove(block_.data(), block_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    input_.read(block_.data() + end_, static_cast<std::streamsize>(block_.size() - end_));
    const auto got = static_cast<std::size_t>(input_.gcount());
    end_ += got;
    ended_ = got == 0;
    if (atStart_ && end_ >= kByteOrderMark.size()) {
        atStart_ = false;
        if (std::string_view(block_.data(), kByteOrderMark.size()) == kByteOrderMark) {
            begin_ = kByteOrderMark.size();
        }
    }
    return got > 0;
}

bool BlockLines::PassOverRestOfCutLine() {
    for (;;) {
        const char* start = block_.data() + begin_;
        const void* newline = std::memchr(start, '\n', end_ - begin_);
        if (newline != nullptr) {
            begin_ =
                static_cast<std::size_t>(static_cast<const char*>(newline) - block_.data()) + 1;
            return true;
        }
        begin_ = end_;
        if (!Fill()) {
            return false;
        }
    }
}

bool BlockLines::Next(std::string_view& line) {
    if (restToPassOver_) {
        restToPassOver_ = false;
        if (!PassOverRestOfCutLine()) {
            return false;
        }
    }
    for (;;) {
        const char* start = block_.data() + begin_;
        const std::size_t available = end_ - begin_;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', available));
        std::size_t length = 0;
        if (newline != nullptr) {
            length = static_cast<std::size_t>(newline - start);
            begin_ += length + 1;
        } else if (available >= kLongestLine) {
            length = available;
            restToPassOver_ = true;
        } else if (Fill()) {
            continue;
        } else if (available > 0 && !Failed()) {
            // The last line, without a line end; after a failure it is only the part read.
            length = available;
            begin_ = end_;
        } else {
            return false;
        }
        atStart_ = false;
        cut_ = length > kLongestLine || restToPassOver_;
        line = std::string_view(start, std::min(length, kLongestLine));
        if (!cut_ && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return true;
    }
}
