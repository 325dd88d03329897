#pragma once

#include <cstdint>
#include <memory>
#include <string>

// One block of received bytes, read at once from the input queue, with the line errors the
// worker had seen when it was made. Never changed after it is made.
class TSerialCluster {
public:
    TSerialCluster(const char* data, std::uint32_t size, std::uint32_t errorFlags);

    std::uint32_t Size() const { return size_; }
    std::uint32_t ErrorFlags() const { return errorFlags_; }
    // The bytes as a text of the same length, zero bytes included.
    std::string Text() const;

private:
    std::unique_ptr<char[]> data_; // absent when the size is 0
    std::uint32_t size_;
    std::uint32_t errorFlags_;
};
