#include "ui/main/PollingRules.h"

#include <gtest/gtest.h>
#include <string>

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
