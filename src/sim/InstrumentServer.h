#pragma once

#include "base/Clock.h"
#include "sim/FaultInjector.h"
#include "sim/InstrumentModel.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>

namespace sim {

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

// The simulated instrument on a pseudo-terminal, served on a thread of its own.
class InstrumentServer {
public:
    explicit InstrumentServer(ServerOptions options);
    ~InstrumentServer(); // stops
    InstrumentServer(const InstrumentServer&) = delete;
    InstrumentServer& operator=(const InstrumentServer&) = delete;

    // Opens the pseudo-terminal, makes the link and starts serving. Throws std::system_error
    // when the pseudo-terminal or the link cannot be made. Once only.
    void Start();
    // Stops serving, closes the pseudo-terminal and removes the link. Safe to call twice.
    void Stop();

    // The path the panel opens; empty while hung up and before Start.
    std::string Path() const;
    // Moves a channel's input, now or at its time after the start.
    void Step(const InputStep& step);
    // Runs `action` on the instrument model while the server holds it still.
    template <typename Action> auto WithModel(Action&& action) {
        std::lock_guard lock(model_mutex_);
        return action(model_);
    }

private:
    class Line;

    void Serve();

    ServerOptions options_;
    Clock& clock_;
    std::mutex model_mutex_;
    InstrumentModel model_;
    std::unique_ptr<Line> line_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    int wake_read_ = -1;
    int wake_write_ = -1;
};

} // namespace sim
