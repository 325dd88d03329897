// The panel as a whole program on its built-in simulator, publishing to Debian's mosquitto.
#include "LocalBroker.h"
#include "cli/VxxxRun.h"

#include <gmock/gmock.h>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>

namespace {

using namespace std::chrono_literals;
using Json = nlohmann::json;
using testing::Contains;

bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Seconds of the day of an ISO 8601 time.
int SecondsOf(const std::string& iso) {
    return std::stoi(iso.substr(11, 2)) * 3600 + std::stoi(iso.substr(14, 2)) * 60 +
           std::stoi(iso.substr(17, 2));
}

// A subscriber that the broker keeps the messages of over its restart, writing "TOPIC PAYLOAD"
// lines to the file.
std::unique_ptr<Process> Watcher(const LocalBroker& broker, const Folder& folder) {
    return std::make_unique<Process>(
        std::vector<std::string>{"/usr/bin/mosquitto_sub", "-h", "127.0.0.1", "-p",
                                 std::to_string(broker.Port()), "-c", "-i", "watcher", "-q", "1",
                                 "-t", "plant/#", "-t", "homeassistant/#", "-v"},
        folder.Path().string(), std::vector<std::string>{}, (folder / "seen").string(),
        (folder / "watcher.err").string());
}

} // namespace

// Every reading the panel polls reaches its channel topics, in order and without a gap, across
// a broker away for 10 s; "online" while it runs, "offline" after it closes; with discovery,
// the channels' configurations are kept by the broker.
TEST(PanelMqtt, PublishesEveryPolledReadingAcrossABrokerAwayAndEndsOffline) {
    LocalBroker broker;
    Folder folder("panel-mqtt");
    fs::create_directories(folder / "config");
    std::ofstream(folder / "config" / "Vxxx Control Panel.ini")
        << "[Mqtt]\nUrl=" << broker.Url("plant") << "\nId=bench\nDiscovery=1\n";
    auto watcher = Watcher(broker, folder);
    ASSERT_TRUE(WaitFor([&] { return fs::exists(folder / "seen"); }, 5s));
    std::this_thread::sleep_for(500ms); // subscribed

    Process panel({VXXX_PANEL_PROGRAM, "--simulate", "V630"}, folder.Path().string(),
                  {"XDG_CONFIG_HOME=" + (folder / "config").string(), "QT_QPA_PLATFORM=offscreen",
                   "QT_LOGGING_RULES=vxxx.mqtt.info=true"},
                  (folder / "out").string(), (folder / "err").string());
    const auto readings = [&] {
        return Count(FileText(folder / "seen"), "plant/bench/channel/8 ");
    };
    ASSERT_TRUE(WaitFor([&] { return readings() >= 2; }, 30s)) << FileText(folder / "err");
    broker.Stop();
    std::this_thread::sleep_for(10s);
    broker.Start();
    ASSERT_TRUE(WaitFor([&] { return Count(FileText(folder / "err"), ": connected") >= 2; }, 40s))
        << FileText(folder / "err");
    const std::size_t before = readings();
    ASSERT_TRUE(WaitFor([&] { return readings() >= before + 2; }, 20s));
    const auto closing = std::chrono::steady_clock::now();
    EXPECT_EQ(panel.End(SIGTERM), 0);
    // Within the publisher's bound of 2 s and its leave of 1 s, with room for the window's own.
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 8s);
    ASSERT_TRUE(
        WaitFor([&] { return FileText(folder / "seen").ends_with("status offline\n"); }, 10s));
    watcher.reset();

    std::map<std::string, std::vector<Json>> byTopic;
    std::vector<std::string> lines;
    std::istringstream seen(FileText(folder / "seen"));
    for (std::string line; std::getline(seen, line);) {
        lines.push_back(line);
        const std::size_t space = line.find(' ');
        byTopic[line.substr(0, space)].push_back(
            Json::parse(line.substr(space + 1), nullptr, false));
    }
    const std::vector<Json>& channel1 = byTopic["plant/bench/channel/1"];
    ASSERT_GE(channel1.size(), 4u);
    for (int channel = 0; channel < 9; ++channel) {
        EXPECT_EQ(byTopic["plant/bench/channel/" + std::to_string(channel)].size(), channel1.size())
            << channel;
    }
    // One reading every 2 s, the default interval, with the broker away or not.
    for (std::size_t n = 1; n < channel1.size(); ++n) {
        const int step = SecondsOf(channel1[n]["time"]) - SecondsOf(channel1[n - 1]["time"]);
        EXPECT_TRUE(step >= 1 && step <= 4) << n << ": " << channel1[n - 1] << channel1[n];
    }
    EXPECT_EQ(channel1.front()["unit"], "C");
    EXPECT_TRUE(channel1.front()["value"].is_number()) << channel1.front();
    EXPECT_THAT(lines, Contains("plant/bench/status online"));
    EXPECT_EQ(lines.back(), "plant/bench/status offline");
    for (int channel = 0; channel < 9; ++channel) {
        const std::vector<Json>& configs =
            byTopic["homeassistant/sensor/bench/channel" + std::to_string(channel) + "/config"];
        ASSERT_FALSE(configs.empty()) << channel;
        EXPECT_EQ(configs.back()["device"]["model"], "V630");
        EXPECT_EQ(configs.back()["unit_of_measurement"], "\u00b0C");
    }
}
