#pragma once

#include <functional>
#include <stop_token>

// How a worker thread gets a call run on the UI thread: the call is queued for the UI thread,
// which runs it whenever it processes its messages (nested message pumps included), and the
// worker blocks until it has run. A worker hands over one call at a time, so its calls run in
// the order it made them.
class UiHandOver {
public:
    virtual ~UiHandOver() = default;

    // Runs call on the UI thread and returns once it has run. When release is requested the
    // worker returns at once: a call not yet started is dropped and never runs, a call already
    // running finishes on the UI thread without anyone waiting for it. After release has been
    // requested, calls return at once without being queued.
    virtual void RunOnUiThread(std::function<void()> call, std::stop_token release) = 0;
};
