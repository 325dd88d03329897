#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>

namespace mqtt {

// First in, first out, holding at most `bound` items (at least one): an item pushed into a full
// queue first drops the oldest, and the drops are counted.
template <typename T> class DropOldestQueue {
public:
    explicit DropOldestQueue(std::size_t bound) : bound_(std::max<std::size_t>(bound, 1)) {}

    // True when the oldest item had to make room.
    bool Push(T item) {
        const bool full = items_.size() >= bound_;
        if (full) {
            items_.pop_front();
            ++dropped_;
        }
        items_.push_back(std::move(item));
        return full;
    }

    std::optional<T> Pop() {
        if (items_.empty()) {
            return std::nullopt;
        }
        std::optional<T> oldest(std::move(items_.front()));
        items_.pop_front();
        return oldest;
    }

    std::size_t Size() const { return items_.size(); }
    std::uint64_t Dropped() const { return dropped_; }

private:
    std::size_t bound_;
    std::deque<T> items_;
    std::uint64_t dropped_ = 0;
};

} // namespace mqtt
