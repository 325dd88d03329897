#pragma once

#include "ChunkedArray.h"

#include <cstddef>
#include <vector>

// The Y values of one chart series, by point index. A series may grow for days, so values live
// in chunks and, as each value arrives, the lowest and highest value of every block of points, of
// every block of blocks and so on are brought up to date. The extent of any index range is then
// read from a few of these summaries instead of from every point, which keeps a redraw of millions
// of points cheap.
class SeriesPoints {
public:
    // The lowest and highest finite value of a range; empty when the range holds none.
    struct Extent {
        float low;
        float high;
        bool Empty() const { return low > high; }
        void Include(float value);
        void Include(const Extent& other);
    };
    static Extent NoExtent();

    void Append(float value);
    void Clear();
    // Empties the series and gives its memory back.
    void Release();

    std::size_t Count() const { return values_.Count(); }
    float At(std::size_t index) const { return values_.At(index); }
    // The extent of the points first .. end - 1.
    Extent ExtentOf(std::size_t first, std::size_t end) const;

    // Summaries combine this many entries of the level below.
    static constexpr std::size_t kFanOut = 32;

private:
    ChunkedArray<float> values_;
    // levels_[0] has one extent per kFanOut points, levels_[k] one per kFanOut^(k+1) points;
    // the last entry of each level may cover a block that is still filling.
    std::vector<std::vector<Extent>> levels_;
};
