#include "mqtt/DiscoveryMessages.h"
#include "mqtt/ReadingMessages.h"

#include <gtest/gtest.h>

TEST(ReadingMessages, OneJsonMessagePerChannelAndTheRetainedInfo) {
    mqtt::Reading reading{"2026-12-08T14:05:00+01:00", "Ohm", {}};
    reading.channels[1] = {"OPEN", std::nullopt};
    reading.channels[8] = {"12\xb0", 12}; // a byte that is not UTF-8
    const std::vector<mqtt::Message> messages = mqtt::ReadingMessages("site/a", "V630-A", reading);
    ASSERT_EQ(messages.size(), 9u);
    const std::pair<std::size_t, const char*> expected[] = {
        {1, R"("value":null,"unit":"Ohm","text":"OPEN"})"},
        {8, "\"value\":12.0,\"unit\":\"Ohm\",\"text\":\"12\xef\xbf\xbd\"}"},
    };
    for (const auto& [channel, rest] : expected) {
        EXPECT_EQ(messages[channel].topic, "site/a/V630-A/channel/" + std::to_string(channel));
        EXPECT_EQ(messages[channel].payload,
                  R"({"time":"2026-12-08T14:05:00+01:00",)" + std::string(rest));
        EXPECT_FALSE(messages[channel].retained);
    }
    const mqtt::Message info = mqtt::InfoMessage("site/a", "V630-A", {"V630", "2.8", "C"});
    EXPECT_EQ(info.topic + " " + info.payload,
              R"(site/a/V630-A/info {"model":"V630","firmware":"2.8","unit":"C"})");
    EXPECT_TRUE(info.retained);
}

TEST(DiscoveryMessages, OneRetainedSensorPerChannelWhoseUnitFollowsTheReadings) {
    const mqtt::InstrumentInfo info{"V630", "2.8", "C"};
    const std::vector<mqtt::Message> celsius =
        mqtt::DiscoveryMessages("homeassistant", "site/a", "V630-A", info, "C");
    ASSERT_EQ(celsius.size(), 9u);
    EXPECT_EQ(celsius[3].topic, "homeassistant/sensor/V630-A/channel3/config");
    EXPECT_TRUE(celsius[3].retained);
    EXPECT_EQ(
        celsius[3].payload,
        R"({"name":"Channel 3","unique_id":"V630-A_channel3",)"
        R"("state_topic":"site/a/V630-A/channel/3","value_template":"{{ value_json.value }}",)"
        "\"unit_of_measurement\":\"\xc2\xb0"
        R"(C","device_class":"temperature",)"
        R"("state_class":"measurement","availability_topic":"site/a/V630-A/status",)"
        R"("payload_available":"online","payload_not_available":"offline",)"
        R"("device":{"identifiers":["V630-A"],"name":"V630-A","model":"V630","sw_version":"2.8"}})");
    EXPECT_NE(celsius[0].payload.find(R"("name":"Cold junction","unique_id":"V630-A_channel0")"),
              std::string::npos);

    // The unit and the kind of sensor, for every unit a reading comes in.
    const std::pair<const char*, const char*> units[] = {
        {"F", "\"unit_of_measurement\":\"\xc2\xb0"
              "F\",\"device_class\":\"temperature\","},
        {"mV", R"("unit_of_measurement":"mV","device_class":"voltage",)"},
        {"Ohm", "\"unit_of_measurement\":\"\xce\xa9\",\"state_class\""},
    };
    for (const auto& [unit, fields] : units) {
        for (const mqtt::Message& message :
             mqtt::DiscoveryMessages("homeassistant", "site/a", "V630-A", info, unit)) {
            EXPECT_NE(message.payload.find(fields), std::string::npos) << unit << message.payload;
        }
    }
}
