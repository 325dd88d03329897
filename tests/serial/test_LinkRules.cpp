#include "serial/Allowances.h"
#include "serial/DeviceEvents.h"
#include "serial/LineSettings.h"

#include <gtest/gtest.h>

TEST(AutomaticCharDelay, HighestTableSpeedAtMostTheRateWins) {
    // clang-format off
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {0, 1100},     {50, 1100},    {109, 1100},    {110, 100000}, {299, 100000},
        {9600, 1100},  {14399, 1100}, {14400, 760},   {38399, 570},  {38400, 290},
        {57600, 190},  {115200, 95},  {255999, 85},   {256000, 43},  {300000, 43},
        {0xFFFFFFFF, 43},
    };
    // clang-format on
    for (const auto& [baud, delay] : cases) {
        EXPECT_EQ(AutomaticCharDelay(baud), delay) << baud << " baud";
    }
}

TEST(ClusterIsDue, ClosesByRequestSizeTimeOrLineError) {
    ClusterLook burst; // 40 bytes at 38400 baud with this application's settings: 261.6 ms
    burst.queued = 40;
    burst.clusterSize = 3072;
    burst.charDelay = 290;
    burst.extraDelay = 250;
    burst.idleSince = 1000;

    struct Case {
        const char* what;
        ClusterLook look;
        bool due;
    };
    auto with = [&](auto change) {
        ClusterLook look = burst;
        change(look);
        return look;
    };
    // clang-format off
    const Case cases[] = {
        {"within the allowance", with([](ClusterLook& l) { l.now = 1261; }), false},
        {"past the allowance", with([](ClusterLook& l) { l.now = 1262; }), true},
        {"empty queue never", with([](ClusterLook& l) { l.queued = 0; l.now = 99999; l.readRequest = true; l.clusterSize = 0; }), false},
        {"read request", with([](ClusterLook& l) { l.now = 1000; l.readRequest = true; }), true},
        {"queue at cluster size", with([](ClusterLook& l) { l.now = 1000; l.queued = 3072; }), true},
        {"queue below cluster size", with([](ClusterLook& l) { l.now = 1000; l.queued = 3071; }), false},
        {"cluster size 0", with([](ClusterLook& l) { l.now = 1000; l.clusterSize = 0; l.queued = 1; }), true},
        {"framing error", with([](ClusterLook& l) { l.now = 1000; l.lineErrors = 0x08; }), true},
        {"break", with([](ClusterLook& l) { l.now = 1000; l.lineErrors = 0x10; }), true},
        {"other error bits", with([](ClusterLook& l) { l.now = 1000; l.lineErrors = 0x20; }), false},
        {"tick wrapped, past", with([](ClusterLook& l) { l.idleSince = 0xFFFFFF00; l.now = 0x00000010; }), true},
        {"tick wrapped, within", with([](ClusterLook& l) { l.idleSince = 0xFFFFFFF0; l.now = 0x00000010; }), false},
        // The per-byte product is 32-bit: 65536 x 65536 wraps to 0, leaving the fixed 250 ms.
        {"product wraps", with([](ClusterLook& l) { l.queued = 65536; l.clusterSize = 65535; l.charDelay = 65536; l.now = 1251; }), true},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(ClusterIsDue(c.look), c.due) << c.what;
    }
}

TEST(ByteAllowance, FractionsOfAMillisecondCount) {
    EXPECT_DOUBLE_EQ(ByteAllowance(40, 290, 250), 261.6);
    EXPECT_DOUBLE_EQ(ByteAllowance(0, 290, 250), 250.0);
    EXPECT_DOUBLE_EQ(ByteAllowance(3, 1100, 0), 3.3);
}

TEST(BuildLineSettings, FlagWordIsBuiltFromNothing) {
    LineSettings current;
    current.flags = 0xFFFF; // DTR and RTS control bits left by someone else must go
    current.eofChar = 26;

    LineConfig config;
    EXPECT_EQ(BuildLineSettings(current, config).flags, LineFlag::kBinary);
    EXPECT_EQ(BuildLineSettings(current, config).eofChar, 0);

    config.parityType = 2;
    config.parityErrorReplacement = true;
    config.flowControl = 0x0300;
    config.stripNullChars = true;
    const LineSettings built = BuildLineSettings(current, config);
    EXPECT_EQ(built.flags, 0x0001u | 0x0002u | 0x0400u | 0x0300u | 0x0800u);
    EXPECT_EQ(built.parity, 2);
}

TEST(BuildLineSettings, FlowLimitsArePercentOfTheInputQueue) {
    struct Case {
        std::uint16_t queue;
        std::uint8_t xon, xoff;
        std::uint16_t xonLimit, xoffLimit;
    };
    // clang-format off
    const Case cases[] = {
        {4096, 33, 33, 1351, 1351},
        {4096, 100, 0, 4096, 0},
        {4096, 150, 10, 6144, 409}, // a restored percentage above 100 is kept as it is
        {65535, 255, 255, static_cast<std::uint16_t>(65535 * 255 / 100), static_cast<std::uint16_t>(65535 * 255 / 100)},
    };
    // clang-format on
    for (const auto& c : cases) {
        LineConfig config;
        config.rxQueueSize = c.queue;
        config.xonLimDiv = c.xon;
        config.xoffLimDiv = c.xoff;
        const LineSettings built = BuildLineSettings({}, config);
        EXPECT_EQ(built.xonLimit, c.xonLimit) << c.queue << " " << int(c.xon);
        EXPECT_EQ(built.xoffLimit, c.xoffLimit) << c.queue << " " << int(c.xoff);
    }
}

TEST(DeviceEventsBetween, ChangesAroundAWaitBecomeEvents) {
    struct Case {
        const char* what;
        std::uint32_t modemBefore, modemAfter, outBefore, outAfter, errors;
        bool input;
        std::uint32_t events;
    };
    // clang-format off
    const Case cases[] = {
        {"nothing happened", 0x30, 0x30, 0, 0, 0, false, 0},
        {"input", 0, 0, 0, 0, 0, true, 0x001},
        {"CTS fell", 0x10, 0x00, 0, 0, 0, false, 0x008},
        {"DSR and RLSD rose", 0x00, 0xA0, 0, 0, 0, false, 0x030},
        {"ring", 0x00, 0x40, 0, 0, 0, false, 0x100},
        {"break", 0, 0, 0, 0, 0x10, false, 0x040},
        {"framing and overrun", 0, 0, 0, 0, 0x0A, false, 0x080},
        {"output ran empty", 0, 0, 12, 0, 0, false, 0x004},
        {"output still busy", 0, 0, 12, 3, 0, false, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(DeviceEventsBetween(c.modemBefore, c.modemAfter, c.outBefore, c.outAfter,
                                      c.errors, c.input),
                  c.events)
            << c.what;
    }
}
