// The rules of src/instrument that no window test covers yet.
#include "instrument/Readings.h"
#include "instrument/ScalingLimits.h"
#include "instrument/SendChecks.h"
#include "instrument/SensorTypes.h"
#include "instrument/StatusSettings.h"

#include <gtest/gtest.h>

namespace {

TEST(SendChecks, IntervalsMustLieInTheirDocumentedRanges) {
    struct Case {
        Checked<int> (*check)(std::string_view);
        std::string text;
        std::optional<int> value;
    };
    const Case cases[] = {
        {CheckAutoscanInterval, "2", 2},
        {CheckAutoscanInterval, " 10 ", 10},
        {CheckAutoscanInterval, "1", {}},
        {CheckAutoscanInterval, "11", {}},
        {CheckAutoscanInterval, "", {}},
        {CheckAutoscanInterval, "5s", {}},
        {CheckLoggingInterval, "5", 5},
        {CheckLoggingInterval, "3600", 3600},
        {CheckLoggingInterval, "4", {}},
        {CheckLoggingInterval, "3601", {}},
        {CheckLoggingInterval, "99999999999", {}},
    };
    for (const Case& c : cases) {
        const Checked<int> checked = c.check(c.text);
        EXPECT_EQ(checked.value, c.value) << c.text;
        EXPECT_EQ(checked.refusal.empty(), c.value.has_value()) << c.text;
    }
    EXPECT_EQ(CheckAutoscanInterval("11").refusal,
              "Auto Scan Interval: \"11\" is not a whole number of seconds from 2 to 10. "
              "Nothing was sent.");
}

TEST(ScalingLimits, AValueBeyondItsLimitIsRefusedNotMovedIntoIt) {
    struct Case {
        const ScalingLimit& limit;
        std::string text;
        std::optional<std::string> sent;
    };
    const Case cases[] = {
        {SlopeLimit(), "1.05", "1.0500"},  {SlopeLimit(), "0", "0.0000"},
        {SlopeLimit(), "0.9", "0.9000"},   {SlopeLimit(), "1.1", {}},
        {SlopeLimit(), "1,05", {}},        {InterceptLimit(), "-2", "-2.0000"},
        {InterceptLimit(), "2.00001", {}}, {InterceptLimit(), "", {}},
    };
    for (const Case& c : cases) {
        const Checked<std::string> checked = CheckScaling(c.limit, c.text);
        EXPECT_EQ(checked.value, c.sent) << c.limit.name << " " << c.text;
        EXPECT_EQ(checked.refusal.rfind(c.limit.name + ": ", 0) == 0, !c.sent) << c.text;
    }
}

// Status: 31/12/26 23:59:59, flag 91 (resistance, logging, 0x01 unit F), autoscan 3, 12
// records, logging every 600 s.
const std::string kStatus = "S2612312359599103000C0258V630 2.1 RT Input";

StatusChange Settings(bool fahrenheit, bool beep, bool autoscan, bool logging, int scan, int log) {
    StatusChange change;
    change.fahrenheit = fahrenheit;
    change.beep = beep;
    change.autoscan = autoscan;
    change.logging = logging;
    change.autoscanInterval = scan;
    change.loggingInterval = log;
    return change;
}

StatusChange Clock(LocalTime time) {
    StatusChange change;
    change.clock = time;
    return change;
}

TEST(StatusSettings, OnlyTheNamedSettingsChangeAndTheClockMovesOn) {
    struct Case {
        StatusChange change;
        int secondsSinceRead;
        std::string request;
    };
    const Case cases[] = {
        {{}, 0, "S26123123595991030258"},
        {{}, 1, "S27010100000091030258"},
        {Settings(false, true, true, false, 10, 5), 1, "S270101000000860A0005"},
        {Clock({2026, 2, 28, 7, 8, 9}), 5, "S26022807080991030258"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            StatusRequestFor(protocol::StatusReply::Decode(kStatus), c.change, c.secondsSinceRead),
            c.request);
    }
    const protocol::InstrumentStatus status = protocol::StatusReply::Decode(kStatus);
    EXPECT_EQ(status.model, protocol::Model::V630);
    EXPECT_EQ(status.inputs, protocol::InputFamily::Resistance);
    EXPECT_EQ(status.recordCount, 12);
}

TEST(StatusSettings, ASettingTheReadBackDoesNotShowIsNamed) {
    const protocol::InstrumentStatus held = protocol::StatusReply::Decode(kStatus);
    struct Case {
        StatusChange change;
        std::vector<std::string> missed;
    };
    const Case cases[] = {
        {Settings(true, false, false, true, 3, 600), {}},
        {Settings(false, true, true, false, 4, 60),
         {"unit", "beep", "autoscan", "logging", "scan interval", "log interval"}},
        {Clock({2026, 12, 31, 23, 59, 50}), {}},
        {Clock({2026, 12, 31, 23, 59, 48}), {"clock"}},
        {Clock({2027, 1, 1, 0, 0, 0}), {"clock"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NotTaken(c.change, held), c.missed);
    }
}

TEST(Readings, EachReadingReplyGivesItsUnitAndTexts) {
    const std::string eight = "   21.50";
    const std::string nine = "   25.00" + std::string(8 * 8, ' ');
    struct Case {
        std::string payload;
        std::optional<protocol::ReadingUnit> unit;
        bool coldJunction;
    };
    const Case cases[] = {
        {"T" + nine + "01", protocol::ReadingUnit::Fahrenheit, true},
        {"T" + nine + "02", protocol::ReadingUnit::Celsius, true},
        {"T" + nine + "x1", {}, true},
        {"M" + nine, protocol::ReadingUnit::Millivolts, true},
        {"r" + eight + std::string(56, ' '), protocol::ReadingUnit::Ohms, false},
        {"S" + nine, {}, true},
    };
    for (const Case& c : cases) {
        const std::optional<protocol::Readings> readings =
            protocol::ReadingsReply::Decode(c.payload);
        ASSERT_EQ(readings.has_value(), c.unit.has_value()) << c.payload;
        if (readings) {
            EXPECT_EQ(readings->unit, *c.unit);
            EXPECT_EQ(readings->hasColdJunction, c.coldJunction);
            EXPECT_EQ(ReadingValue(*readings, c.coldJunction ? 0 : 1),
                      c.coldJunction ? 25.0 : 21.5);
            EXPECT_EQ(ReadingValue(*readings, 8), std::nullopt);
        }
    }
    EXPECT_EQ(SensorTypeCode("pt100", protocol::InputFamily::Resistance, 4), 0);
    EXPECT_EQ(SensorTypeCode("k", protocol::InputFamily::Thermocouple, 4), 1);
    EXPECT_EQ(SensorTypeCode("K", protocol::InputFamily::Thermocouple, 0), std::nullopt);
}

TEST(ReadingPoll, FollowsTheKindAndTheInputMode) {
    using enum ReadingKind;
    const std::optional<protocol::InputFamily> unset;
    constexpr auto kTc = protocol::InputFamily::Thermocouple;
    constexpr auto kRt = protocol::InputFamily::Resistance;
    EXPECT_EQ(ReadingPoll(Temperature, unset), 'T');
    EXPECT_EQ(ReadingPoll(Temperature, kRt), 'T');
    EXPECT_EQ(ReadingPoll(RawSignal, unset), 'M');
    EXPECT_EQ(ReadingPoll(RawSignal, kTc), 'M');
    EXPECT_EQ(ReadingPoll(RawSignal, kRt), 'R');
    EXPECT_EQ(ReadingPoll(LeadResistance, kRt), 'r');
    EXPECT_FALSE(ReadingPoll(LeadResistance, kTc));
    EXPECT_FALSE(ReadingPoll(LeadResistance, unset));
}

} // namespace
