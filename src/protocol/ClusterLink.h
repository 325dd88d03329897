#pragma once

#include <cstdint>
#include <string>

namespace protocol {

// What the frame layer needs of the serial port: send a text, and take received clusters
// oldest first. The program forwards these to its TSerialPort; tests use a fake.
class ClusterLink {
public:
    virtual ~ClusterLink() = default;
    virtual void SendText(const std::string& text) = 0;
    // Byte count of the oldest queued cluster, -1 when none is queued.
    virtual std::int32_t PeekClusterSize() = 0;
    // The oldest cluster's bytes, removed from the queue; empty when none is queued.
    virtual std::string TakeClusterText() = 0;
    // Line-error flags of the oldest queued cluster, -1 when none is queued.
    virtual std::int32_t PeekClusterError() = 0;
};

} // namespace protocol
