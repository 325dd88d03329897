#include "sim/AlarmOutputs.h"
#include "sim/InstrumentModel.h"
#include "support/ManualClock.h"

#include <cmath>
#include <gtest/gtest.h>

using sim::InputLevel;
using sim::InputStep;
using sim::InstrumentModel;
using sim::InstrumentOptions;

namespace {

struct Bench {
    explicit Bench(InstrumentOptions options = {}) : model(options, clock) {}
    void Run(std::uint32_t milliseconds) {
        clock.Advance(milliseconds);
        model.Update();
    }
    ManualClock clock;
    InstrumentModel model;
};

} // namespace

TEST(SimBench, ReadingsDriftRepeatablyAndSettleWithinTheCalibrationThresholds) {
    InstrumentOptions seeded;
    seeded.seed = 7;
    Bench first(seeded), second(seeded);
    seeded.seed = 8;
    Bench other(seeded);
    double largest_step_mv = 0.0, largest_step_ohm = 0.0, drift = 0.0;
    const double start = first.model.Temperatures()[1];
    for (int tick = 0; tick < 200; ++tick) { // the calibration's 1.8 s sampling tick
        const auto before = first.model.Latest();
        first.Run(1800);
        second.Run(1800);
        other.Run(1800);
        const auto& after = first.model.Latest();
        const double temperature = first.model.Temperatures()[1];
        EXPECT_EQ(after.raw, second.model.Latest().raw);
        for (int channel = 1; channel <= 8; ++channel) {
            largest_step_mv =
                std::max(largest_step_mv, std::fabs(after.raw[channel] - before.raw[channel]));
        }
        largest_step_ohm = std::max(largest_step_ohm, std::fabs(after.raw[0] - before.raw[0]));
        drift = std::max(drift, std::fabs(temperature - start));
    }
    EXPECT_NE(first.model.Latest().raw, other.model.Latest().raw);
    EXPECT_LT(largest_step_mv, 0.004);
    EXPECT_LT(largest_step_ohm, 0.01);
    EXPECT_GT(drift, 0.1); // it does move over six minutes
    EXPECT_LT(drift, 1.5);
}

TEST(SimBench, StepsMoveAChannelNowOrLaterAndFreeReleasesIt) {
    InstrumentOptions options;
    options.steps = {*sim::ParseInputStep("3=150"), *sim::ParseInputStep("1=20mV@10"),
                     *sim::ParseInputStep("1=free@20")};
    Bench bench(options);
    EXPECT_NEAR(bench.model.Temperatures()[3], 150.0, 0.05);
    EXPECT_NEAR(bench.model.Latest().raw[1], 0.0, 0.3);
    bench.Run(10'000);
    EXPECT_NEAR(bench.model.Latest().raw[1], 20.0, 0.001);
    EXPECT_NEAR(bench.model.Temperatures()[1], 25.0 + 20.0 / 0.0406, 2.0);
    bench.Run(10'000);
    EXPECT_NEAR(bench.model.Latest().raw[1], 0.0, 0.3);

    // Temperatures are in the instrument's unit when the step takes effect.
    bench.model.SetFlags(sim::kFlagFahrenheit);
    bench.model.Step(*sim::ParseInputStep("2=212"));
    bench.Run(500);
    EXPECT_NEAR(bench.model.Temperatures()[2], 212.0, 0.05);

    for (const char* bad : {"9=1", "3", "3=", "3=abc", "3=1@-2", "=5", "33=1", "3=1mVx"}) {
        EXPECT_FALSE(sim::ParseInputStep(bad).has_value()) << bad;
    }
}

TEST(SimBench, ResistanceInputsFollowTheElement) {
    InstrumentOptions options;
    options.inputs = sim::InputFamily::Resistance;
    options.steps = {*sim::ParseInputStep("4=100"), *sim::ParseInputStep("5=138.51R")};
    Bench bench(options);
    EXPECT_NEAR(bench.model.Latest().raw[4], 138.51, 0.01); // PT100 at 100 degrees
    EXPECT_NEAR(bench.model.Temperatures()[5], 100.0, 0.05);
}

TEST(SimAlarms, OutputsFollowTypeHysteresisAndPolarity) {
    sim::AlarmOutputs outputs;
    std::array<double, 9> readings{};
    const auto at = [&](double value) {
        readings.fill(value);
        outputs.Evaluate(readings);
        return outputs.States();
    };
    ASSERT_TRUE(outputs.Set(1, {2, 1, 50, 0, 2, 0})); // HIGH 50, hysteresis 2
    ASSERT_TRUE(outputs.Set(2, {3, 2, 10, 0, 1, 0})); // LOW 10, hysteresis 1
    ASSERT_TRUE(outputs.Set(3, {4, 3, 30, 5, 1, 0})); // BAND 30 +/- 5, hysteresis 1
    ASSERT_TRUE(outputs.Set(4, {2, 4, 50, 0, 2, 1})); // HIGH 50, inverted
    ASSERT_TRUE(outputs.Set(5, {1, 5, 0, 0, 0, 1}));  // ON: polarity does not apply
    EXPECT_FALSE(outputs.Set(9, {}));
    EXPECT_FALSE(outputs.Set(6, {5, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(outputs.Set(6, {2, 0, 0, 0, 0, 0}));

    // value:            30    50.5  49    47.9  9.5   10.5  11    36    34.5  33.9
    const std::uint8_t expected[] = {0x18, 0x15, 0x15, 0x1C, 0x1E, 0x1E, 0x1C, 0x1C, 0x1C, 0x18};
    const double values[] = {30, 50.5, 49, 47.9, 9.5, 10.5, 11, 36, 34.5, 33.9};
    for (std::size_t index = 0; index < std::size(values); ++index) {
        EXPECT_EQ(at(values[index]), expected[index]) << values[index];
    }
}

TEST(SimAlarms, TheV420HasNoOutputStage) {
    InstrumentOptions options;
    options.model = "V420";
    Bench bench(options);
    bench.model.SetOutput(1, {1, 1, 0, 0, 0, 0});
    bench.Run(500);
    EXPECT_TRUE(bench.model.Outputs().Active(1));
    EXPECT_EQ(bench.model.OutputStates(), 0);
}

TEST(SimLog, LoggingAddsARecordEachIntervalUntilResetOrTested) {
    Bench bench;
    bench.model.SetLoggingInterval(5);
    bench.Run(20'000);
    EXPECT_EQ(bench.model.Log().Count(), 0u); // logging off
    bench.model.SetFlags(sim::kFlagLogging);
    bench.Run(26'000);
    ASSERT_EQ(bench.model.Log().Count(), 5u);
    const auto first = bench.model.Log().Record(1)->time;
    const auto fifth = bench.model.Log().Record(5)->time;
    EXPECT_EQ(sim::ToSeconds(fifth) - sim::ToSeconds(first), 20);
    EXPECT_NEAR(bench.model.Log().Record(5)->values[0], bench.model.Temperatures()[1], 0.5);
    bench.model.ResetLog();
    EXPECT_EQ(bench.model.Log().Count(), 0u);
    bench.model.SetLoggingInterval(0); // never faster than once a second
    bench.Run(3'000);
    EXPECT_EQ(bench.model.Log().Count(), 3u);
    bench.model.TestLogMemory();
    EXPECT_EQ(bench.model.Log().Count(), 0u);
}
