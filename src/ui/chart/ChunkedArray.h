#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// Values kept in fixed-size chunks: a series may grow for days or hold a month of readings, and
// growing never copies what is held or leaves a doubled buffer behind.
template <typename T> class ChunkedArray {
public:
    void Append(T value) {
        if ((count_ >> kChunkBits) == chunks_.size()) {
            chunks_.push_back(std::make_unique_for_overwrite<T[]>(kChunkSize));
        }
        chunks_[count_ >> kChunkBits][count_ & (kChunkSize - 1)] = value;
        ++count_;
    }

    // Empties the array. One chunk stays: a chart that restarts every tick does not allocate
    // every tick.
    void Clear() {
        if (chunks_.size() > 1) {
            chunks_.resize(1);
        }
        count_ = 0;
    }

    // Empties the array and gives all of its memory back.
    void Release() {
        chunks_.clear();
        chunks_.shrink_to_fit();
        count_ = 0;
    }

    std::size_t Count() const { return count_; }
    T At(std::size_t index) const { return chunks_[index >> kChunkBits][index & (kChunkSize - 1)]; }

private:
    static constexpr std::size_t kChunkBits = 14;
    static constexpr std::size_t kChunkSize = std::size_t{1} << kChunkBits;

    std::vector<std::unique_ptr<T[]>> chunks_;
    std::size_t count_ = 0;
};
