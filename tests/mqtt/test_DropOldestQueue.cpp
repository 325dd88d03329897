#include "mqtt/DropOldestQueue.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

TEST(DropOldestQueue, KeepsTheNewestUpToItsBoundAndCountsTheRest) {
    // bound, items 1, 2, ... pushed, items kept
    const std::tuple<std::size_t, int, std::vector<int>> cases[] = {
        {3, 2, {1, 2}}, {3, 3, {1, 2, 3}}, {3, 7, {5, 6, 7}}, {0, 2, {2}}};
    for (const auto& [bound, pushed, expected] : cases) {
        mqtt::DropOldestQueue<int> queue(bound);
        for (int item = 1; item <= pushed; ++item) {
            queue.Push(item);
        }
        EXPECT_EQ(queue.Dropped(), pushed - expected.size()) << bound << " " << pushed;
        std::vector<int> kept;
        while (const std::optional<int> item = queue.Pop()) {
            kept.push_back(*item);
        }
        EXPECT_EQ(kept, expected) << bound << " " << pushed;
    }
}
