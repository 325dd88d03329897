#pragma once

#include "base/Clock.h"
#include "sim/FaultInjector.h"
#include "sim/InstrumentModel.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace sim {

// How the simulated instrument is built, how it misbehaves and how it is served.
struct ServerOptions {
    InstrumentOptions instrument;
    FaultOptions faults;
    // The instrument's think time before each answer.
    std::uint32_t latency_ms = 0;
    // A symbolic link kept pointing at the panel's side ("" for none), removed at Stop.
    std::string link_path;
    // A file of "CH=VALUE" lines, read again whenever it changes ("" for none).
    std::string control_path;
    // Close the line this long after Start (once), and open a new one this long after that.
    std::optional<double> hangup_after_seconds;
    std::optional<double> return_after_seconds;
    // Every frame in and out, with time stamps, on `trace_stream` (standard error when null).
    bool trace = false;
    std::ostream* trace_stream = nullptr;
    // The time source of the instrument (the system clock when null).
    Clock* clock = nullptr;
    // Told the new path when the instrument comes back on a new pseudo-terminal; called on
    // the server's thread.
    std::function<void(const std::string& path)> on_new_path;
};

} // namespace sim
