#include "LocalBroker.h"
#include "mqtt/Publisher.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <numeric>
#include <thread>

namespace {

using namespace std::chrono_literals;

// "TOPIC PAYLOAD" lines of what came since the last call (not the stored retained ones), in a
// session the broker keeps between calls and over its restart, until `options` end it.
std::vector<std::string> Watch(const LocalBroker& broker, const std::string& options) {
    const std::string command = "mosquitto_sub -h 127.0.0.1 -p " + std::to_string(broker.Port()) +
                                " -c -i watcher -q 1 -R -t 'plant/#' -v " + options;
    FILE* output = popen(command.c_str(), "r");
    std::vector<std::string> lines;
    for (char line[512]; std::fgets(line, sizeof line, output) != nullptr;) {
        lines.emplace_back(line, std::strlen(line) - 1);
    }
    pclose(output);
    return lines;
}

mqtt::PublisherOptions Options(const std::string& url, const char* password) {
    mqtt::PublisherOptions options;
    options.broker = mqtt::ParseBrokerUrl(url).url;
    options.id = "T1";
    options.password = password;
    return options;
}

void WaitForAnswer(const mqtt::Publisher& publisher) { // for up to ten seconds
    for (int tries = 0; tries < 100 && !publisher.Online() && !publisher.LoginRefused(); ++tries) {
        std::this_thread::sleep_for(100ms);
    }
}

} // namespace

TEST(PublisherBroker, ReadingsArriveInOrderAcrossABrokerRestart) {
    LocalBroker broker;
    Watch(broker, "-E");
    mqtt::Publisher publisher(Options(broker.Url("plant"), ""));
    publisher.SetInfo({"V630", "2.8", "C"});
    int next = 0;
    const auto publish = [&](int count) {
        for (const int end = next + count; next < end; ++next) {
            mqtt::Reading reading{"2026-12-08T14:05:00+01:00", "C", {}};
            reading.channels.fill({std::to_string(next), next});
            publisher.PublishReading(reading);
        }
    };
    WaitForAnswer(publisher);
    publish(10);
    broker.Stop();
    std::this_thread::sleep_for(300ms);
    publish(20);
    std::this_thread::sleep_for(1500ms);
    broker.Start();
    WaitForAnswer(publisher);
    publish(10);
    publisher.Stop(10s);

    // QoS 1 may repeat a message after a lost acknowledgement, never skip or reorder one.
    std::map<std::string, std::vector<int>> values; // per channel topic, repeats left out
    std::map<std::string, int> counts;
    std::string lastStatus;
    for (const std::string& line : Watch(broker, "-W 2")) {
        const std::size_t space = line.find(' ');
        const std::string topic = line.substr(0, space);
        ++counts[topic.ends_with("/status") ? (lastStatus = line) : topic];
        if (topic.find("/channel/") != std::string::npos) {
            const int value = nlohmann::json::parse(line.substr(space + 1))["value"];
            if (std::vector<int>& seen = values[topic]; seen.empty() || value > seen.back()) {
                seen.push_back(value);
            }
        }
    }
    std::vector<int> all(next);
    std::iota(all.begin(), all.end(), 0);
    for (std::size_t channel = 0; channel < mqtt::kChannelCount; ++channel) {
        EXPECT_EQ(values["plant/T1/channel/" + std::to_string(channel)], all) << channel;
    }
    EXPECT_EQ(counts["plant/T1/status online"], 2); // once per connection, as is the info
    EXPECT_EQ(counts["plant/T1/info"], 2);
    EXPECT_EQ(lastStatus, "plant/T1/status offline"); // not the broker's last will: it came first
}

TEST(PublisherBroker, OnlyTheRightPasswordLogsIn) {
    LocalBroker broker("meter secret");
    for (const bool right : {true, false}) {
        std::vector<std::string> log;
        mqtt::PublisherOptions options =
            Options(broker.Url("plant", "meter"), right ? "secret" : "wrong");
        options.log = [&](const std::string& line) { log.push_back(line); };
        mqtt::Publisher publisher(options);
        WaitForAnswer(publisher);
        EXPECT_EQ(publisher.Online(), right);
        EXPECT_EQ(publisher.LoginRefused(), !right);
        publisher.Stop();
        EXPECT_EQ(log.back().find("refused the login") != std::string::npos, !right) << log.back();
    }
}
