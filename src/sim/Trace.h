#pragma once

#include "base/Clock.h"

#include <mutex>
#include <ostream>
#include <string_view>

namespace sim {

// Time-stamped lines of what crossed the line, in hex and as text, for a person watching.
// A trace without a stream writes nothing.
class Trace {
public:
    Trace(std::ostream* stream, Clock& clock) : stream_(stream), clock_(clock) {}

    bool On() const { return stream_ != nullptr; }
    void Received(std::string_view bytes) { Bytes("<-", bytes); }
    void Sent(std::string_view bytes) { Bytes("->", bytes); }
    void Note(std::string_view text);

private:
    void Bytes(std::string_view direction, std::string_view bytes);
    void Line(std::string_view text);

    std::ostream* stream_;
    Clock& clock_;
    std::mutex mutex_;
};

} // namespace sim
