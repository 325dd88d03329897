#pragma once

#include "sim/InstrumentModel.h"
#include "sim/ServerOptions.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace sim {

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
