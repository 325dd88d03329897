// The calibration's pure rules: settling, the new m and c, what Send holds them to and sends.
#include "instrument/Scaling.h"
#include "instrument/SettleRule.h"
#include "protocol/RequestBuilders.h"

#include <gtest/gtest.h>

namespace {

// Ticks until the channel settles with readings moving by `step` each tick, at most 20.
int TicksToSettle(float start, float step, float threshold) {
    int countdown = SettleRule::kSettledTicks;
    float previous = start;
    for (int tick = 1; tick <= 20; ++tick) {
        const float reading = previous + step;
        if (SettleRule::Apply(countdown, reading, previous, threshold)) {
            return tick;
        }
        previous = reading;
    }
    return -1;
}

} // namespace

TEST(SettleRule, SmallMovesSettleAfterTenTicksAndALargeOneStartsAgain) {
    EXPECT_EQ(TicksToSettle(0.0f, 0.003f, 0.004f), 10);
    int countdown = 3;
    EXPECT_FALSE(SettleRule::Apply(countdown, 0.004f, 0.0f, 0.004f));
    EXPECT_EQ(countdown, SettleRule::kSettledTicks);
    // Single precision: 1.004 is stored just below 1 + 0.004, so that move still counts as small.
    countdown = 5;
    EXPECT_FALSE(SettleRule::Apply(countdown, 1.004f, 1.0f, 0.004f));
    EXPECT_EQ(countdown, 4);
    // A settled channel stays settled whatever it reads.
    countdown = 0;
    EXPECT_TRUE(SettleRule::Apply(countdown, 50.0f, 0.0f, 0.004f));
}

TEST(SettleRule, ThresholdFollowsTheInputs) {
    EXPECT_FLOAT_EQ(SettleRule::Threshold(protocol::InputFamily::Thermocouple, 1), 0.004f);
    EXPECT_FLOAT_EQ(SettleRule::Threshold(protocol::InputFamily::Thermocouple, 0), 0.01f);
    EXPECT_FLOAT_EQ(SettleRule::Threshold(protocol::InputFamily::Resistance, 5), 0.01f);
    EXPECT_FLOAT_EQ(SettleRule::Threshold(std::nullopt, 3), 0.004f);
}

TEST(Scaling, WorkedExampleAndAZeroSpan) {
    const auto correction = Scaling::FromReadings(0.0f, 20.0f, 0.012f, 20.052f);
    ASSERT_TRUE(correction);
    EXPECT_EQ(Scaling::LabelText(correction->m), "   0.9980");
    EXPECT_EQ(Scaling::LabelText(correction->c), "  -0.0120");
    EXPECT_FALSE(Scaling::FromReadings(0.0f, 20.0f, 5.0f, 5.0f));
}

TEST(Scaling, RangeIsJudgedInSinglePrecision) {
    EXPECT_TRUE(Scaling::MOutOfRange(1.1f));
    EXPECT_TRUE(Scaling::MOutOfRange(0.9f));
    EXPECT_FALSE(Scaling::MOutOfRange(1.0999f));
    EXPECT_FALSE(Scaling::COutOfRange(2.0f));
    EXPECT_FALSE(Scaling::COutOfRange(-2.0f));
    EXPECT_TRUE(Scaling::COutOfRange(2.0001f));
    EXPECT_EQ(Scaling::SendField(Scaling::MToSend(1.1f)), "  1.0000");
    EXPECT_EQ(Scaling::SendField(Scaling::CToSend(-2.5f)), "  0.0000");
    EXPECT_EQ(Scaling::MOutOfRangeMessage(), "m greater than 1.0 +/-  0.1000, set to 1.000!");
    EXPECT_EQ(Scaling::COutOfRangeMessage(), "c greater than 0.0 +/-  2.0000, set to 0.000!");
}

TEST(Scaling, SendFieldsMakeTheCalibrationPayload) {
    const std::string payload = protocol::CalibrationRequest(3, 1, Scaling::SendField(0.998004f),
                                                             Scaling::SendField(-0.011976f));
    EXPECT_EQ(payload, "C301  0.9980 -0.0120!");
}
