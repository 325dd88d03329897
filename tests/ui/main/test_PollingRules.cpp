#include "ui/main/PollingRules.h"

#include <gtest/gtest.h>
#include <string>

TEST(ReadingPollLetter, FollowsTheDisplayAndTheInputMode) {
    using enum DisplaySelection;
    const std::optional<char> unset;
    EXPECT_EQ(ReadingPollLetter(Temperature, unset), 'T');
    EXPECT_EQ(ReadingPollLetter(Temperature, 'P'), 'T');
    EXPECT_EQ(ReadingPollLetter(MilliVolt, unset), 'M');
    EXPECT_EQ(ReadingPollLetter(MilliVolt, 'T'), 'M');
    EXPECT_EQ(ReadingPollLetter(MilliVolt, 'P'), 'R');
    EXPECT_EQ(ReadingPollLetter(LeadResistance, 'P'), 'r');
    EXPECT_FALSE(ReadingPollLetter(LeadResistance, 'T'));
    EXPECT_FALSE(ReadingPollLetter(LeadResistance, unset));
}

TEST(IntervalFromText, ClampsToTwoUpToAnHour) {
    const std::pair<std::string, int> cases[] = {
        {"1", 2},
        {"0", 2},
        {"-5", 2},
        {"ten", 2},
        {"", 2},
        {"2.5", 2},
        {"99999", 3600},
        {"3600", 3600},
        {"2", 2},
        {" 10 ", 10},
        {"+7", 7},
        {"99999999999999999999", 3600},
        {"-99999999999999999999", 2},
    };
    for (const auto& [text, interval] : cases) {
        EXPECT_EQ(IntervalFromText(text), interval) << '"' << text << '"';
    }
}

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

TEST(PortReselection, EveryEleventhNewHighReopensThePort) {
    PortReselection reselection;
    std::string due;
    for (int count = 1; count <= 23; ++count) {
        due += reselection.Observe(count) ? '!' : '.';
        EXPECT_FALSE(reselection.Observe(count)); // the same count is no new high
    }
    EXPECT_EQ(due, "..........!..........!.");
    EXPECT_EQ(reselection.CommsPeak(), 23);
}

TEST(PortReselection, AResetCountMustPassTheOldPeakAgain) {
    PortReselection reselection;
    for (int count = 1; count <= 5; ++count) {
        reselection.Observe(count);
    }
    // The operator reset the count on the window: 1 to 5 are no new highs.
    for (int count = 1; count <= 5; ++count) {
        EXPECT_FALSE(reselection.Observe(count));
    }
    EXPECT_EQ(reselection.CommsPeakHits(), 5);
    reselection.Observe(6);
    EXPECT_EQ(reselection.CommsPeakHits(), 6);
}
