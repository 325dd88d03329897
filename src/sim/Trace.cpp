#include "sim/Trace.h"

#include "sim/CivilTime.h"
#include "sim/FieldText.h"

#include <chrono>
#include <string>

namespace sim {

void Trace::Note(std::string_view text) {
    if (On()) {
        Line("   " + std::string(text));
    }
}

void Trace::Bytes(std::string_view direction, std::string_view bytes) {
    if (On()) {
        Line(std::string(direction) + " " + HexDump(bytes) + "  |" + ReadableText(bytes) + "|");
    }
}

void Trace::Line(std::string_view text) {
    const auto now = clock_.Now();
    const CivilTime time = LocalCivilTime(now);
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    const std::string stamp = ZeroPadded(time.hour, 2) + ":" + ZeroPadded(time.minute, 2) + ":" +
                              ZeroPadded(time.second, 2) + "." + ZeroPadded(milliseconds, 3);
    std::lock_guard lock(mutex_);
    *stream_ << stamp << ' ' << text << '\n' << std::flush;
}

} // namespace sim
