#include "HandOverQueue.h"

#include <algorithm>
#include <utility>

struct HandOverQueue::Entry {
    std::function<void()> call;
    bool finished = false;
};

HandOverQueue::HandOverQueue(std::function<void()> wakeUp) : wakeUp_(std::move(wakeUp)) {}

void HandOverQueue::RunOnUiThread(std::function<void()> call, std::stop_token release) {
    if (release.stop_requested()) {
        return;
    }
    auto entry = std::make_shared<Entry>();
    entry->call = std::move(call);
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(entry);
    }
    if (wakeUp_) {
        wakeUp_();
    }
    // Declared before the lock so that the lock is given up before the callback is unhooked:
    // the callback itself takes the lock.
    std::stop_callback onRelease(release, [this] {
        std::lock_guard lock(mutex_);
        finished_.notify_all();
    });
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return entry->finished || release.stop_requested(); });
    if (!entry->finished) {
        const auto queued = std::find(queue_.begin(), queue_.end(), entry);
        if (queued != queue_.end()) {
            queue_.erase(queued);
        }
    }
}

std::size_t HandOverQueue::ProcessPending() {
    std::size_t ran = 0;
    for (;;) {
        std::shared_ptr<Entry> entry;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty()) {
                return ran;
            }
            entry = std::move(queue_.front());
            queue_.pop_front();
        }
        try {
            entry->call();
        } catch (...) {
            // A failing handler must not stop the worker that waits for it.
        }
        {
            std::lock_guard lock(mutex_);
            entry->finished = true;
        }
        finished_.notify_all();
        ++ran;
    }
}

std::size_t HandOverQueue::PendingCount() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}
