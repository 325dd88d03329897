#include "SerialCluster.h"

#include <algorithm>

TSerialCluster::TSerialCluster(const char* data, std::uint32_t size, std::uint32_t errorFlags)
    : size_(size), errorFlags_(errorFlags) {
    if (size_ > 0) {
        data_ = std::make_unique<char[]>(size_);
        std::copy_n(data, size_, data_.get());
    }
}

std::string TSerialCluster::Text() const {
    return size_ > 0 ? std::string(data_.get(), size_) : std::string();
}
