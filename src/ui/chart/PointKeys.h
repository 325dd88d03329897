#pragma once

#include "ChunkedArray.h"

#include <cstddef>
#include <vector>

// The X values that the series of one chart share. By default a point's X value is its number
// (0, 1, 2 ...); a chart of logged readings gives each point its time instead. A new line starts
// where the one adding the keys says so (a gap in the readings) and wherever a key goes back,
// so the keys along every line ascend.
class PointKeys {
public:
    // Points first .. last.
    struct Range {
        std::size_t first;
        std::size_t last;
    };

    // Back to point numbers.
    void Clear();
    // The key of the next point; from the first one on, points have the keys given here.
    void Append(double key, bool newLine);

    bool Explicit() const { return explicit_; }
    double At(std::size_t index) const {
        return explicit_ ? keys_.At(index) : static_cast<double>(index);
    }
    // Of the first `count` points: the lowest and the highest key.
    struct Span {
        double lowest;
        double highest;
    };
    Span SpanOf(std::size_t count) const;

    // Of the first `count` points, those whose keys lie within lower .. upper, in their order.
    std::vector<Range> Within(double lower, double upper, std::size_t count) const;
    // The lines that draw what lies within lower .. upper: the points within, each line with its
    // point just outside on either side so it reaches the edges.
    std::vector<Range> LinesThrough(double lower, double upper, std::size_t count) const;
    // The last point of first .. last whose key is below `key`, where the keys there ascend;
    // `first` when there is none.
    std::size_t LastBelow(double key, std::size_t first, std::size_t last) const;

private:
    // Of the points first .. last, where keys ascend: the first whose key is at or above `key`
    // (last + 1 when none is).
    std::size_t FirstAtOrAbove(double key, std::size_t first, std::size_t last) const;
    // The runs of ascending keys among the first `count` points.
    std::vector<Range> Runs(std::size_t count) const;
    // Of a run, the first point within lower .. upper and the first beyond it.
    struct Bounds {
        std::size_t first;
        std::size_t end;
    };
    Bounds BoundsWithin(const Range& run, double lower, double upper) const;

    bool explicit_ = false;
    ChunkedArray<double> keys_;
    // Where a key goes back: the first point of each run after the first.
    std::vector<std::size_t> runStarts_;
    // The first point of every line after the first, runs included.
    std::vector<std::size_t> lineStarts_;
    double lowest_ = 0;
    double highest_ = 0;
};
