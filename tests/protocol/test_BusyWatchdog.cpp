#include "protocol/BusyWatchdog.h"

#include <gtest/gtest.h>
#include <string>

using namespace protocol;

namespace {

// Runs the watchdog over ticks: 'i' idle, 'b' busy with the same transaction, 'n' busy with a
// frame sent since the tick before. Gives '!' for each tick that clears the link, else '.'.
std::string Watch(BusyWatchdog& watchdog, const std::string& ticks, std::uint64_t& frames) {
    std::string cleared;
    for (const char tick : ticks) {
        if (tick == 'n') {
            ++frames;
        }
        cleared += watchdog.Tick(tick != 'i', frames) ? '!' : '.';
    }
    return cleared;
}

} // namespace

TEST(BusyWatchdog, ClearsOnTheFourthTickOfTheSameTransaction) {
    BusyWatchdog watchdog;
    std::uint64_t frames = 0;
    EXPECT_EQ(Watch(watchdog, "iinbbb", frames), ".....!");
    // After it fired the next transaction gets its full time again.
    EXPECT_EQ(Watch(watchdog, "inbbb", frames), "....!");
}

TEST(BusyWatchdog, NeverFiresWhileEveryTickSendsAFreshPoll) {
    BusyWatchdog watchdog;
    std::uint64_t frames = 0;
    EXPECT_EQ(Watch(watchdog, std::string(50, 'n'), frames), std::string(50, '.'));
    // A transaction that then stays unanswered is freed on its fourth tick.
    EXPECT_EQ(Watch(watchdog, "nbbb", frames), "...!");
}

TEST(BusyWatchdog, AFrameFromAnotherWindowRestartsTheCount) {
    BusyWatchdog watchdog;
    std::uint64_t frames = 0;
    EXPECT_EQ(Watch(watchdog, "inbb", frames), "....");
    EXPECT_EQ(Watch(watchdog, "nbbb", frames), "...!");
}
