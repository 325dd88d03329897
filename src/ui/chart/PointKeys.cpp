#include "PointKeys.h"

#include <algorithm>
#include <cmath>

void PointKeys::Clear() {
    explicit_ = false;
    keys_.Release();
    runStarts_.clear();
    lineStarts_.clear();
}

void PointKeys::Append(double key, bool newLine) {
    const std::size_t index = keys_.Count();
    if (index == 0) {
        explicit_ = true;
        lowest_ = highest_ = key;
    } else {
        const bool goesBack = key < keys_.At(index - 1);
        if (goesBack) {
            runStarts_.push_back(index);
        }
        if (goesBack || newLine) {
            lineStarts_.push_back(index);
        }
        lowest_ = std::min(lowest_, key);
        highest_ = std::max(highest_, key);
    }
    keys_.Append(key);
}

PointKeys::Span PointKeys::SpanOf(std::size_t count) const {
    if (explicit_) {
        return {lowest_, highest_};
    }
    return {0.0, count > 0 ? static_cast<double>(count - 1) : 0.0};
}

std::vector<PointKeys::Range> PointKeys::Runs(std::size_t count) const {
    if (explicit_) {
        count = std::min(count, keys_.Count());
    }
    std::vector<Range> runs;
    std::size_t first = 0;
    for (const std::size_t start : runStarts_) {
        if (start >= count) {
            break;
        }
        runs.push_back({first, start - 1});
        first = start;
    }
    if (first < count) {
        runs.push_back({first, count - 1});
    }
    return runs;
}

std::size_t PointKeys::FirstAtOrAbove(double key, std::size_t first, std::size_t last) const {
    if (!explicit_) {
        if (!(key > static_cast<double>(first))) {
            return first;
        }
        return key > static_cast<double>(last) ? last + 1
                                               : static_cast<std::size_t>(std::ceil(key));
    }
    std::size_t low = first;
    std::size_t high = last + 1;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (keys_.At(middle) < key) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

std::size_t PointKeys::LastBelow(double key, std::size_t first, std::size_t last) const {
    const std::size_t above = FirstAtOrAbove(key, first, last);
    return above > first ? above - 1 : first;
}

PointKeys::Bounds PointKeys::BoundsWithin(const Range& run, double lower, double upper) const {
    return {FirstAtOrAbove(lower, run.first, run.last),
            FirstAtOrAbove(std::nextafter(upper, HUGE_VAL), run.first, run.last)};
}

std::vector<PointKeys::Range> PointKeys::Within(double lower, double upper,
                                                std::size_t count) const {
    std::vector<Range> within;
    for (const Range run : Runs(count)) {
        const Bounds bounds = BoundsWithin(run, lower, upper);
        if (bounds.first < bounds.end) {
            within.push_back({bounds.first, bounds.end - 1});
        }
    }
    return within;
}

std::vector<PointKeys::Range> PointKeys::LinesThrough(double lower, double upper,
                                                      std::size_t count) const {
    std::vector<Range> lines;
    for (const Range run : Runs(count)) {
        const Bounds bounds = BoundsWithin(run, lower, upper);
        if (bounds.end == run.first || bounds.first > run.last) {
            continue; // the run lies wholly to one side
        }
        std::size_t first = bounds.first > run.first ? bounds.first - 1 : bounds.first;
        const std::size_t last = bounds.end <= run.last ? bounds.end : bounds.end - 1;
        auto start = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), first);
        for (; start != lineStarts_.end() && *start <= last; ++start) {
            lines.push_back({first, *start - 1});
            first = *start;
        }
        lines.push_back({first, last});
    }
    return lines;
}
