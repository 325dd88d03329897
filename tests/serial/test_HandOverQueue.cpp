#include "serial/HandOverQueue.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Spins the calling (UI) thread over ProcessPending until the condition holds.
template <typename Condition>
bool PumpUntil(HandOverQueue& queue, Condition done, std::chrono::milliseconds limit = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        queue.ProcessPending();
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

} // namespace

TEST(HandOverQueue, WorkerBlocksUntilTheUiThreadHasRunItsCallsInOrder) {
    std::atomic<int> wakeUps{0};
    HandOverQueue queue([&] { ++wakeUps; });
    std::stop_source release;
    const auto uiThread = std::this_thread::get_id();
    std::vector<int> ran;
    std::atomic<int> returned{0};
    bool allOnUiThread = true;

    std::thread worker([&] {
        for (int i = 0; i < 20; ++i) {
            queue.RunOnUiThread(
                [&, i] {
                    allOnUiThread = allOnUiThread && std::this_thread::get_id() == uiThread;
                    // The worker is still waiting for this very call.
                    EXPECT_EQ(returned.load(), i);
                    ran.push_back(i);
                },
                release.get_token());
            ++returned;
        }
    });
    ASSERT_TRUE(PumpUntil(queue, [&] { return returned == 20; }));
    worker.join();

    EXPECT_TRUE(allOnUiThread);
    ASSERT_EQ(ran.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(ran[i], i);
    }
    EXPECT_EQ(wakeUps, 20);
    EXPECT_EQ(queue.PendingCount(), 0u);
}

TEST(HandOverQueue, ExceptionsOfACallStayInProcessPending) {
    HandOverQueue queue;
    std::stop_source release;
    std::atomic<bool> done{false};
    bool secondRan = false;
    std::thread worker([&] {
        queue.RunOnUiThread([] { throw std::runtime_error("handler failed"); },
                            release.get_token());
        queue.RunOnUiThread([] { throw 42; }, release.get_token());
        queue.RunOnUiThread([&] { secondRan = true; }, release.get_token());
        done = true;
    });
    EXPECT_NO_THROW(PumpUntil(queue, [&] { return done.load(); }));
    worker.join();
    EXPECT_TRUE(secondRan);
}

TEST(HandOverQueue, NestedPumpInsideACallRunsOtherWorkersCalls) {
    HandOverQueue queue;
    std::stop_source release;
    std::atomic<bool> secondQueued{false};
    std::atomic<bool> bothReturned{false};
    std::vector<std::string> order;

    std::thread second;
    std::thread first([&] {
        queue.RunOnUiThread(
            [&] {
                order.push_back("first begins");
                // A busy wait of the UI thread: pumps until the other worker's call has run.
                second = std::thread([&] {
                    secondQueued = true;
                    queue.RunOnUiThread([&] { order.push_back("second"); }, release.get_token());
                });
                while (order.back() != "second") {
                    queue.ProcessPending();
                    std::this_thread::sleep_for(1ms);
                }
                order.push_back("first ends");
            },
            release.get_token());
        bothReturned = true;
    });
    ASSERT_TRUE(PumpUntil(queue, [&] { return bothReturned.load(); }));
    first.join();
    second.join();
    EXPECT_EQ(order, (std::vector<std::string>{"first begins", "second", "first ends"}));
}

TEST(HandOverQueue, ReleaseFreesABlockedWorkerAndDropsItsCall) {
    HandOverQueue queue;
    std::stop_source release;
    bool ran = false;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        queue.RunOnUiThread([&] { ran = true; }, release.get_token());
        returned = true;
    });
    while (queue.PendingCount() == 0) {
        std::this_thread::sleep_for(1ms);
    }
    const auto start = std::chrono::steady_clock::now();
    release.request_stop();
    worker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_EQ(queue.PendingCount(), 0u);
    EXPECT_EQ(queue.ProcessPending(), 0u);
    EXPECT_FALSE(ran);

    // Once released, a call neither runs nor waits.
    queue.RunOnUiThread([&] { ran = true; }, release.get_token());
    EXPECT_EQ(queue.ProcessPending(), 0u);
    EXPECT_FALSE(ran);
}

TEST(HandOverQueue, ReleaseDuringARunningCallLetsTheWorkerGo) {
    HandOverQueue queue;
    std::stop_source release;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        queue.RunOnUiThread(
            [&] {
                release.request_stop();
                // The worker must get free while the UI thread is still inside the call.
                const auto deadline = std::chrono::steady_clock::now() + 2s;
                while (!returned && std::chrono::steady_clock::now() < deadline) {
                    std::this_thread::sleep_for(1ms);
                }
            },
            release.get_token());
        returned = true;
    });
    ASSERT_TRUE(PumpUntil(queue, [&] { return returned.load(); }));
    worker.join();
}
