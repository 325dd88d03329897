#include "PanelPort.h"
#include "ReplyText.h"
#include "sim/InstrumentServer.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

fs::path TemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "vxxx-sim-XXXXXX").string();
    return mkdtemp(pattern.data());
}

double ChannelReading(const std::string& reply, int channel) {
    const auto payload = PanelPayload(reply);
    return payload ? std::atof(Field(*payload, 2 + 8 * channel, 9 + 8 * channel).c_str()) : -999;
}

template <typename Condition> bool WaitFor(Condition condition, int limit_ms = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace

TEST(SimServer, ServesARawTerminalThatStaysTheSameAcrossReopeningAndIgnoresBadFrames) {
    const fs::path folder = TemporaryFolder();
    const fs::path link = folder / "instrument";
    const fs::path control = folder / "control.txt";
    std::ostringstream trace;
    sim::ServerOptions options;
    options.link_path = link.string();
    options.control_path = control.string();
    options.trace = true;
    options.trace_stream = &trace;
    {
        sim::InstrumentServer server(options);
        server.Start();
        const std::string path = server.Path();
        ASSERT_FALSE(path.empty());
        EXPECT_EQ(fs::read_symlink(link).string(), path);
        {
            PanelPort port(link.string());
            ASSERT_TRUE(port.IsOpen());
            EXPECT_TRUE(port.IsRaw());
            const auto status = PanelPayload(port.Ask(PollFrame("S")));
            ASSERT_TRUE(status.has_value());
            EXPECT_EQ(Field(*status, 26, 29), "V630");
        }
        PanelPort port(path); // closed and opened again: the same device answers
        port.Send("\x04S");   // no ENQ, then noise, a bad BCC and an over-long request
        port.Send("\xff\xfe\x05");
        port.Send("\x04\x02"
                  "F\x03\x46");
        port.Send("\x04\x02" + std::string(600, 'A') + "\x03\x41");
        EXPECT_EQ(port.Receive(300, 600), "");
        EXPECT_EQ(port.Ask(protocol::RequestFrame("F")), "\x06");

        server.Step({3, sim::InputLevel::Kind::Celsius, 150.0, 0.0});
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        EXPECT_NEAR(ChannelReading(port.Ask(PollFrame("T")), 3), 150.0, 0.2);

        std::ofstream(control) << "# moved by the test\n4=-40\n";
        EXPECT_TRUE(WaitFor(
            [&] { return std::fabs(ChannelReading(port.Ask(PollFrame("T")), 4) + 40.0) < 0.2; }));
        EXPECT_EQ(server.WithModel([](sim::InstrumentModel& model) { return model.Flags(); }), 0);
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_NE(trace.str().find("wrong BCC: ignored"), std::string::npos);
    EXPECT_NE(trace.str().find("<- 04 53 05  |<EOT>S<ENQ>|"), std::string::npos);
    fs::remove_all(folder);
}

TEST(SimServer, HangsUpAndComesBackOnANewTerminalWithTheLinkMoved) {
    const fs::path folder = TemporaryFolder();
    const fs::path link = folder / "instrument";
    std::mutex mutex;
    std::string announced;
    sim::ServerOptions options;
    options.link_path = link.string();
    options.hangup_after_seconds = 0.5;
    options.return_after_seconds = 0.5;
    options.on_new_path = [&](const std::string& path) {
        std::lock_guard lock(mutex);
        announced = path;
    };
    sim::InstrumentServer server(options);
    server.Start();
    PanelPort before(link.string());
    ASSERT_TRUE(before.IsOpen());
    EXPECT_TRUE(WaitFor([&] { return before.HungUp(); }));
    EXPECT_TRUE(WaitFor([&] {
        std::lock_guard lock(mutex);
        return !announced.empty();
    }));
    EXPECT_EQ(server.Path(), announced);
    EXPECT_EQ(fs::read_symlink(link).string(), announced);
    PanelPort after(link.string());
    EXPECT_TRUE(PanelPayload(after.Ask(PollFrame("S"))).has_value());
    server.Stop();
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    fs::remove_all(folder);
}

TEST(SimServer, RefusesToReplaceARealFileWithItsLink) {
    const fs::path folder = TemporaryFolder();
    const fs::path file = folder / "precious.txt";
    std::ofstream(file) << "keep me";
    sim::ServerOptions options;
    options.link_path = file.string();
    sim::InstrumentServer server(options);
    EXPECT_THROW(server.Start(), std::system_error);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file)));
    fs::remove_all(folder);
}
