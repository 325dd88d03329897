#include "ReplyText.h"
#include "sim/FaultInjector.h"
#include "sim/Framing.h"

#include <gtest/gtest.h>

using sim::FaultInjector;
using sim::FaultOptions;
using sim::FaultRate;
using sim::TimedWrite;

namespace {

const std::string kReply = sim::FrameReply("O04");

FaultRate Count(long count, long start = 1) {
    return FaultRate{0.0, count, start};
}

// The bytes of the writes that go out at once, for answers given one after another.
std::vector<std::vector<TimedWrite>> ShapeMany(FaultOptions options, int answers) {
    FaultInjector faults(options);
    std::vector<std::vector<TimedWrite>> shaped;
    for (int index = 0; index < answers; ++index) {
        shaped.push_back(faults.Shape(sim::FrameReply("O0" + std::to_string(index)), 1000 * index));
    }
    return shaped;
}

} // namespace

TEST(SimFaults, RatesReadAsChanceOrCount) {
    EXPECT_DOUBLE_EQ(sim::ParseFaultRate("25%")->probability, 0.25);
    EXPECT_DOUBLE_EQ(sim::ParseFaultRate("0.5")->probability, 0.5);
    EXPECT_EQ(sim::ParseFaultRate("3")->count, 3);
    EXPECT_EQ(sim::ParseFaultRate("3@10")->start, 10);
    for (const char* bad : {"", "x", "150%", "1.5", "-1", "3@0", "3@", "@2"}) {
        EXPECT_FALSE(sim::ParseFaultRate(bad).has_value()) << bad;
    }
}

TEST(SimFaults, WithoutFaultsEveryAnswerGoesOutAtOnceAndWhole) {
    FaultInjector faults(FaultOptions{});
    const auto writes = faults.Shape(kReply, 0);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].after_ms, 0u);
    EXPECT_EQ(writes[0].bytes, kReply);
}

TEST(SimFaults, CountedFaultsStrikeTheChosenRepliesOnly) {
    FaultOptions options;
    options.drop = Count(2, 3);
    const auto shaped = ShapeMany(options, 6);
    const std::vector<bool> sent = {true, true, false, false, true, true};
    for (std::size_t index = 0; index < sent.size(); ++index) {
        EXPECT_EQ(!shaped[index].empty(), sent[index]) << index;
    }
}

TEST(SimFaults, ChanceIsRepeatableForTheSameSeed) {
    FaultOptions options;
    options.drop = FaultRate{0.5, 0, 1};
    const auto first = ShapeMany(options, 200), again = ShapeMany(options, 200);
    int dropped = 0;
    for (std::size_t index = 0; index < first.size(); ++index) {
        EXPECT_EQ(first[index].empty(), again[index].empty());
        dropped += first[index].empty() ? 1 : 0;
    }
    EXPECT_GT(dropped, 60);
    EXPECT_LT(dropped, 140);
}

TEST(SimFaults, CorruptGarbageAndBurstKeepTheReplyRecognisable) {
    FaultOptions options;
    options.corrupt_bcc = Count(1);
    auto writes = FaultInjector(options).Shape(kReply, 0);
    EXPECT_EQ(writes[0].bytes.substr(0, kReply.size() - 1), kReply.substr(0, kReply.size() - 1));
    EXPECT_FALSE(PanelPayload(writes[0].bytes).has_value());
    // An acknowledge has no BCC to spoil.
    EXPECT_EQ(FaultInjector(options).Shape("\x06", 0)[0].bytes, "\x06");

    options = {};
    options.garbage = Count(1);
    writes = FaultInjector(options).Shape(kReply, 0);
    const std::string& noisy = writes[0].bytes;
    ASSERT_GT(noisy.size(), kReply.size());
    EXPECT_TRUE(noisy.ends_with(kReply));
    EXPECT_EQ(noisy.substr(0, noisy.size() - kReply.size()).find('\x02'), std::string::npos);

    options = {};
    options.burst = Count(1);
    writes = FaultInjector(options).Shape(kReply, 0);
    EXPECT_EQ(writes[0].bytes.size(), 300u);
    EXPECT_TRUE(writes[0].bytes.starts_with(kReply));
}

TEST(SimFaults, SplitSendsTwoPartsAGapApartAndLateWaits) {
    FaultOptions options;
    options.split = Count(1);
    options.delay_ms = 200;
    const auto writes = FaultInjector(options).Shape(kReply, 0);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].bytes + writes[1].bytes, kReply);
    EXPECT_EQ(writes[0].after_ms, 200u);
    EXPECT_EQ(writes[1].after_ms, 800u);

    options.late = Count(1, 2); // only the second reply is late
    options.split = {};
    const auto shaped = ShapeMany(options, 3);
    EXPECT_EQ(shaped[0][0].after_ms, 0u);
    EXPECT_EQ(shaped[1][0].after_ms, 200u);
    EXPECT_EQ(shaped[2][0].after_ms, 0u);
}

TEST(SimFaults, JoinHoldsAReplyBackUntilTheNextOne) {
    FaultOptions options;
    options.join = Count(1);
    const auto shaped = ShapeMany(options, 3);
    EXPECT_TRUE(shaped[0].empty());
    ASSERT_EQ(shaped[1].size(), 1u);
    EXPECT_EQ(shaped[1][0].bytes, sim::FrameReply("O00") + sim::FrameReply("O01"));
    EXPECT_EQ(shaped[2][0].bytes, sim::FrameReply("O02"));

    FaultInjector faults(options);
    faults.Shape(kReply, 0);
    EXPECT_EQ(faults.TakeHeld(), kReply);
}

TEST(SimFaults, SilenceSwallowsEveryAnswerForItsSpell) {
    FaultOptions options;
    options.silent = Count(1, 2);
    options.silent_ms = 2500; // answers come 1000 ms apart
    const auto shaped = ShapeMany(options, 6);
    const std::vector<bool> sent = {true, false, false, false, true, true};
    for (std::size_t index = 0; index < sent.size(); ++index) {
        EXPECT_EQ(!shaped[index].empty(), sent[index]) << index;
    }
}
