// The publisher, and vxxx read --mqtt as a process, against Debian's mosquitto.
#include "LocalBroker.h"
#include "cli/VxxxRun.h"
#include "mqtt/Publisher.h"

#include <atomic>
#include <cstdio>
#include <gmock/gmock.h>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <numeric>
#include <regex>
#include <sys/resource.h>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Json = nlohmann::json;
using testing::Contains;

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
    for (int tries = 0; tries < 100 && !publisher.Online() && !publisher.GaveUp(); ++tries) {
        std::this_thread::sleep_for(100ms);
    }
}

// How often `part` is in the file, once that is at least `least` (or 30 s have passed).
std::size_t Seen(const fs::path& file, const std::string& part, std::size_t least = 0) {
    for (int tries = 0;; ++tries, std::this_thread::sleep_for(100ms)) {
        const std::string text = FileText(file);
        const std::regex pattern(part);
        const auto seen = static_cast<std::size_t>(
            std::distance(std::sregex_iterator(text.begin(), text.end(), pattern), {}));
        if (seen >= least || tries == 300) {
            return seen;
        }
    }
}

// [channel, time, value, unit] of each channel of each reading: as printed, or as received.
std::vector<Json> Sent(const std::string& out, std::vector<Json> sent = {}) {
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        const Json reading = Json::parse(line);
        for (int n = 0; n < 9; ++n) {
            sent.push_back({n, reading["time"],
                            n ? reading["channels"][n - 1] : reading["cold_junction"],
                            reading["unit"]});
        }
    }
    return sent;
}
std::vector<Json> Received(const std::vector<std::string>& lines, std::vector<Json> got = {}) {
    const std::regex channel("plant/V630-sim/channel/(\\d) (.*)");
    for (std::smatch match; const std::string& line : lines) {
        if (std::regex_match(line, match, channel)) {
            const Json message = Json::parse(match[2].str());
            EXPECT_EQ(Json(std::stod(message["text"].get<std::string>())), message["value"]);
            got.push_back(
                {std::stoi(match[1]), message["time"], message["value"], message["unit"]});
        }
    }
    return got;
}

// What was sent arrived in order, the first `least` at least, but for `dropped` in a row from
// the index returned; any other message repeats an earlier one (QoS 1 after a lost answer).
std::size_t ExpectInOrder(const std::vector<Json>& got, const std::vector<Json>& sent,
                          std::size_t least, std::size_t dropped) {
    std::size_t next = 0;
    std::size_t gapAt = dropped ? sent.size() : 0;
    for (const Json& message : got) {
        if (next < sent.size() && message == sent[next]) {
            ++next;
        } else if (gapAt == sent.size() && next + dropped < sent.size() &&
                   message == sent[next + dropped]) {
            gapAt = next;
            next += dropped + 1;
        } else {
            EXPECT_THAT(std::vector(sent.begin(), sent.begin() + next), Contains(message));
        }
    }
    EXPECT_GE(next, least);
    return gapAt;
}

} // namespace

// The broker's authority is trusted as one of the system's through the variable the TLS library
// reads; the library's own set-up of the system's authorities failed at every reconnect.
TEST(PublisherBroker, TlsTrustingTheSystemsAuthoritiesConnectsAgainAfterARestart) {
    LocalBroker broker("", /*tls=*/true);
    std::atomic<int> connections = 0;
    mqtt::PublisherOptions options = Options(broker.Url("plant"), "");
    options.log = [&](const std::string& line) { connections += line.ends_with(": connected"); };
    setenv("SSL_CERT_FILE", broker.CaFile().c_str(), 1);
    mqtt::Publisher trusting(options);
    WaitForAnswer(trusting);
    broker.Stop();
    broker.Start();
    for (int tries = 0; tries < 100 && connections < 2; ++tries) {
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_EQ(connections, 2);
    trusting.Stop();
    unsetenv("SSL_CERT_FILE");

    // Not signed by an authority trusted: given up for good, and told apart from a login.
    std::string said;
    options.log = [&said](const std::string& line) { said += line + '\n'; };
    mqtt::Publisher doubting(options);
    WaitForAnswer(doubting);
    doubting.Stop();
    EXPECT_TRUE(doubting.CertificateRejected() && !doubting.LoginRefused()) << said;
}

// The library retried a TLS handshake on a refused connection at once, for the whole
// keep-alive time.
TEST(PublisherBroker, TriesOverTlsWhileTheBrokerIsAwayCostNextToNoCpu) {
    LocalBroker broker;
    broker.Stop();
    mqtt::Publisher publisher(Options("mqtts" + broker.Url("plant").substr(4), ""));
    std::this_thread::sleep_for(500ms); // the system's authorities are read meanwhile
    const auto cpuSeconds = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    const double before = cpuSeconds();
    std::this_thread::sleep_for(3s);
    EXPECT_LT(cpuSeconds() - before, 0.3);
}

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

TEST(PublisherBroker, DiscoveryGoesBeforeTheFirstReadingAndAgainWhenTheUnitChanges) {
    LocalBroker broker;
    Watch(broker, "-E");
    mqtt::PublisherOptions options = Options(broker.Url("plant"), "");
    options.discoveryPrefix = "plant/dashboard"; // under the watched topics, to see the order
    mqtt::Publisher publisher(options);
    publisher.SetInfo({"V630", "2.8", "C"});
    for (const char* unit : {"C", "C", "mV"}) {
        publisher.PublishReading({"2026-12-08T14:05:00+01:00", unit, {}});
    }
    WaitForAnswer(publisher);
    publisher.Stop(10s);

    // What came, as "config UNIT" or "reading UNIT", a run of the same told once.
    std::vector<std::string> order;
    for (const std::string& line : Watch(broker, "-W 2")) {
        const std::size_t space = line.find(' ');
        const Json payload = Json::parse(line.substr(space + 1), nullptr, false);
        const std::string what = line.find("/config ") != std::string::npos
                                     ? "config " + payload.value("unit_of_measurement", "")
                                 : line.find("/channel/") != std::string::npos
                                     ? "reading " + payload.value("unit", "")
                                     : "";
        if (!what.empty() && (order.empty() || order.back() != what)) {
            order.push_back(what);
        }
    }
    EXPECT_EQ(order,
              (std::vector<std::string>{"config \u00b0C", "reading C", "config mV", "reading mV"}));

    // A dashboard that starts later finds the last configurations kept by the broker.
    FILE* output = popen(("mosquitto_sub -h 127.0.0.1 -p " + std::to_string(broker.Port()) +
                          " -t 'plant/dashboard/#' -v -W 1 --retained-only")
                             .c_str(),
                         "r");
    std::map<std::string, std::string> kept;
    for (char line[1024]; std::fgets(line, sizeof line, output) != nullptr;) {
        const std::string text(line, std::strlen(line) - 1);
        const std::size_t space = text.find(' ');
        kept[text.substr(0, space)] = Json::parse(text.substr(space + 1))["unit_of_measurement"];
    }
    pclose(output);
    ASSERT_EQ(kept.size(), mqtt::kChannelCount);
    EXPECT_EQ(kept.begin()->first, "plant/dashboard/sensor/T1/channel0/config");
    EXPECT_EQ(kept.begin()->second, "mV");
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

// Killed, the tool leaves "offline" to the last will and only what it printed well before.
TEST(VxxxMqtt, ReadingsOutlastABrokerAwayOrDropTheOldestBeyondTheQueueAndEndOffline) {
    for (const auto& [queue, away, signal] :
         {std::tuple{"10000", 10s, SIGKILL}, {"5", 4s, SIGTERM}}) {
        LocalBroker broker;
        Folder folder("vxxx-mqtt-away");
        Watch(broker, "-E");
        Process reader({VXXX_PROGRAM, "read", "--simulate", "--count", "0", "--interval", "0.5",
                        "--json", "--mqtt", broker.Url("plant"), "--mqtt-queue", queue},
                       folder.Path().string(), {}, (folder / "out").string(),
                       (folder / "err").string());
        const std::size_t taken = Seen(folder / "out", "\n", 3);
        broker.Stop();
        std::this_thread::sleep_for(away);
        broker.Start();
        EXPECT_EQ(Seen(folder / "err", ": connected", 2), 2u);
        const std::size_t printed = Seen(folder / "out", "\n"); // on the broker 1.5 s later
        std::this_thread::sleep_for(1500ms);
        EXPECT_EQ(reader.End(signal), signal == SIGTERM ? std::optional(0) : std::nullopt);
        std::smatch dropped;
        const std::string err = FileText(folder / "err");
        EXPECT_EQ(std::regex_search(err, dropped, std::regex("broker was away: (\\d+)")),
                  queue == std::string("5"));
        EXPECT_EQ(Seen(folder / "err", "dropping the oldest"), dropped.empty() ? 0u : 1u);
        const std::vector<std::string> lines = Watch(broker, "-W 2");
        const std::vector<Json> sent = Sent(FileText(folder / "out"));
        const std::size_t gapAt =
            ExpectInOrder(Received(lines), sent, signal == SIGTERM ? sent.size() : 9 * printed,
                          dropped.empty() ? 0 : 9 * std::stoul(dropped[1]));
        // The line printed last before the stop may still have been on its way to the broker.
        EXPECT_TRUE(dropped.empty() || (gapAt >= 9 * (taken - 1) && gapAt <= 9 * taken + 18))
            << gapAt;
        EXPECT_THAT(lines, Contains(R"(plant/V630-sim/info {"model":"V630","firmware":"2.1",)"
                                    R"("unit":"C"})"));
        EXPECT_THAT(lines, Contains("plant/V630-sim/status online"));
        EXPECT_EQ(lines.back(), "plant/V630-sim/status offline");
    }
}

// The password from the service's credential, and a refusal the service must not retry (5).
TEST(VxxxMqtt, ThePasswordComesAsACredentialAndARefusedLoginEndsTheRunWithFive) {
    LocalBroker broker("meter secret");
    Folder folder("vxxx-mqtt-login");
    fs::create_directory(folder / "credentials");
    std::ofstream(folder / "credentials" / "right") << "secret\n";
    std::ofstream(folder / "credentials" / "wrong") << "wrong\n";
    fs::permissions(folder / "credentials" / "right", fs::perms::owner_read);
    fs::permissions(folder / "credentials" / "wrong", fs::perms::owner_read);
    const std::string credentials = "CREDENTIALS_DIRECTORY=" + (folder / "credentials").string();
    const struct {
        std::vector<std::string> options;
        std::string environment;
        int exitCode;
    } cases[] = {
        {{"--count", "0"}, "VXXX_MQTT_PASSWORD=wrong", 5},
        {{"--count", "0", "--mqtt-password-credential", "wrong"}, credentials, 5},
        {{"--count", "0", "--mqtt-password-credential", "absent"}, credentials, 2},
        {{"--count", "0", "--mqtt-password-credential", "right"}, "CREDENTIALS_DIRECTORY=", 2},
        {{"--count", "1", "--mqtt-password-credential", "right"}, credentials, 0},
    };
    for (const auto& c : cases) {
        std::vector<std::string> read{"read", "--simulate", "--mqtt", broker.Url("plant", "meter")};
        read.insert(read.end(), c.options.begin(), c.options.end());
        const RunResult run = RunVxxx(folder, read, 20s, {c.environment});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.options.back() << ": " << run.err;
        EXPECT_TRUE(c.exitCode != 2 || run.out.empty()) << c.options.back(); // nothing polled
    }
}
