#pragma once

#include "UiHandOver.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

// The hand-over as a queue of calls that the UI thread drains. The UI side is told through
// wakeUp (called on the worker's thread each time a call is queued) and then calls
// ProcessPending on the UI thread. The queue outlives every worker that uses it.
class HandOverQueue final : public UiHandOver {
public:
    explicit HandOverQueue(std::function<void()> wakeUp = {});
    HandOverQueue(const HandOverQueue&) = delete;
    HandOverQueue& operator=(const HandOverQueue&) = delete;

    void RunOnUiThread(std::function<void()> call, std::stop_token release) override;

    // UI thread: runs every queued call, oldest first, including those queued meanwhile, and
    // returns how many ran. A call that throws is contained: the exception goes no further and
    // the next call runs. May be called again from inside a running call (a nested pump).
    std::size_t ProcessPending();

    // Calls queued and not yet started.
    std::size_t PendingCount() const;

private:
    struct Entry;

    std::function<void()> wakeUp_;
    mutable std::mutex mutex_;
    std::condition_variable finished_;
    std::deque<std::shared_ptr<Entry>> queue_;
};
