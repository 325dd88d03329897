#include "SeriesPoints.h"

#include <cmath>
#include <limits>

namespace {

constexpr std::size_t kFanOutBits = 5;
static_assert(SeriesPoints::kFanOut == std::size_t{1} << kFanOutBits);

} // namespace

void SeriesPoints::Extent::Include(float value) {
    // Infinities and NaN carry no position on an axis.
    if (!std::isfinite(value)) {
        return;
    }
    if (value < low) {
        low = value;
    }
    if (value > high) {
        high = value;
    }
}

void SeriesPoints::Extent::Include(const Extent& other) {
    if (other.low < low) {
        low = other.low;
    }
    if (other.high > high) {
        high = other.high;
    }
}

SeriesPoints::Extent SeriesPoints::NoExtent() {
    return {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
}

void SeriesPoints::Append(float value) {
    const std::size_t index = values_.Count();
    values_.Append(value);

    for (std::size_t k = 0;; ++k) {
        if (k == levels_.size()) {
            levels_.emplace_back();
        }
        const std::size_t block = index >> (kFanOutBits * (k + 1));
        if (block == levels_[k].size()) {
            levels_[k].push_back(NoExtent());
        }
        levels_[k][block].Include(value);
        if (levels_[k].size() == 1) {
            break;
        }
        if (k + 1 == levels_.size()) {
            // The level just got its second entry: the level above starts with one entry
            // covering the first; the loop then adds the new value to it.
            const Extent first = levels_[k][0];
            levels_.emplace_back(1, first);
        }
    }
}

void SeriesPoints::Clear() {
    values_.Clear();
    levels_.clear();
}

void SeriesPoints::Release() {
    values_.Release();
    levels_.clear();
    levels_.shrink_to_fit();
}

SeriesPoints::Extent SeriesPoints::ExtentOf(std::size_t first, std::size_t end) const {
    Extent result = NoExtent();
    if (end > Count()) {
        end = Count();
    }
    // Level -1 is the points themselves; every level up covers kFanOut entries of the one below.
    auto include = [&](int level, std::size_t entry) {
        if (level < 0) {
            result.Include(At(entry));
        } else {
            result.Include(levels_[static_cast<std::size_t>(level)][entry]);
        }
    };
    int level = -1;
    while (first < end) {
        if (static_cast<std::size_t>(level + 1) == levels_.size()) {
            while (first < end) {
                include(level, first++);
            }
            break;
        }
        while (first < end && first % kFanOut != 0) {
            include(level, first++);
        }
        while (end > first && end % kFanOut != 0) {
            include(level, --end);
        }
        first /= kFanOut;
        end /= kFanOut;
        ++level;
    }
    return result;
}
