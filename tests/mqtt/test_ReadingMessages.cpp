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
