#include "sim/CommandLine.h"

#include <gtest/gtest.h>

TEST(SimCommandLine, EveryOptionReachesItsSetting) {
    const auto command = sim::ParseCommandLine({"--model",    "V420",
                                                "--inputs",   "pt100",
                                                "--unit",     "F",
                                                "--firmware", "1.4",
                                                "--records",  "12",
                                                "--seed",     "9",
                                                "--step",     "3=150@2",
                                                "--control",  "/tmp/c",
                                                "--link",     "/tmp/l",
                                                "--trace",    "--drop",
                                                "2",          "--corrupt-bcc",
                                                "10%",        "--split",
                                                "1@5",        "--join",
                                                "0.5",        "--garbage",
                                                "3",          "--burst",
                                                "4",          "--silent",
                                                "1",          "--late",
                                                "2",          "--delay",
                                                "700",        "--split-gap",
                                                "800",        "--silent-for",
                                                "900",        "--burst-size",
                                                "400",        "--hangup-after",
                                                "30",         "--return-after",
                                                "2.5",        "--latency",
                                                "20"});
    ASSERT_EQ(command.error, "");
    const sim::ServerOptions& options = command.options;
    EXPECT_EQ(options.instrument.model, "V420");
    EXPECT_EQ(options.instrument.inputs, sim::InputFamily::Resistance);
    EXPECT_TRUE(options.instrument.fahrenheit);
    EXPECT_EQ(options.instrument.firmware, "1.4");
    EXPECT_EQ(options.instrument.records, 12);
    EXPECT_EQ(options.instrument.seed, 9u);
    EXPECT_EQ(options.faults.seed, 9u);
    ASSERT_EQ(options.instrument.steps.size(), 1u);
    EXPECT_EQ(options.instrument.steps[0].channel, 3);
    EXPECT_EQ(options.control_path, "/tmp/c");
    EXPECT_EQ(options.link_path, "/tmp/l");
    EXPECT_TRUE(options.trace);
    EXPECT_EQ(options.faults.drop.count, 2);
    EXPECT_DOUBLE_EQ(options.faults.corrupt_bcc.probability, 0.1);
    EXPECT_EQ(options.faults.split.start, 5);
    EXPECT_DOUBLE_EQ(options.faults.join.probability, 0.5);
    EXPECT_EQ(options.faults.garbage.count, 3);
    EXPECT_EQ(options.faults.burst.count, 4);
    EXPECT_EQ(options.faults.silent.count, 1);
    EXPECT_EQ(options.faults.late.count, 2);
    EXPECT_EQ(options.faults.delay_ms, 700u);
    EXPECT_EQ(options.faults.split_gap_ms, 800u);
    EXPECT_EQ(options.faults.silent_ms, 900u);
    EXPECT_EQ(options.faults.burst_size, 400u);
    EXPECT_EQ(options.hangup_after_seconds, 30.0);
    EXPECT_EQ(options.return_after_seconds, 2.5);
    EXPECT_EQ(options.latency_ms, 20u);
}

TEST(SimCommandLine, BadArgumentsAreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> bad = {
        {"--model", "V999"},
        {"--inputs", "rtd"},
        {"--unit", "K"},
        {"--firmware", "2.10"},
        {"--records", "-1"},
        {"--records", "70000"},
        {"--seed", "x"},
        {"--step", "9=1"},
        {"--drop", "x"},
        {"--delay", "-5"},
        {"--hangup-after", "-1"},
        {"--return-after", "1"},
        {"--delay"},
        {"--colour", "blue"},
    };
    for (const auto& arguments : bad) {
        EXPECT_NE(sim::ParseCommandLine(arguments).error, "") << arguments[0];
    }
    // The seed is any 32-bit unsigned number, whatever the width of long.
    EXPECT_EQ(sim::ParseCommandLine({"--seed", "4294967295"}).options.faults.seed, 0xFFFFFFFFu);
    EXPECT_NE(sim::ParseCommandLine({"--seed", "4294967296"}).error, "");
    EXPECT_TRUE(sim::ParseCommandLine({"--help"}).help);
    EXPECT_TRUE(sim::ParseCommandLine({"--version"}).version);
    const auto defaults = sim::ParseCommandLine({}).options;
    EXPECT_EQ(defaults.instrument.model, "V630");
    EXPECT_EQ(defaults.faults.split_gap_ms, 600u);
}
