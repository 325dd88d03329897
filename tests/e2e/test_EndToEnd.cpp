// control-panel against vxxx-sim, both as processes of their own: what crosses the line (the
// simulator's trace), what lands in the files and in the settings.
#include "Process.h"
#include "XDisplay.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// One frame of the simulator's trace: when (milliseconds of the day), which way, its bytes.
struct TracedFrame {
    long milliseconds = 0;
    bool fromPanel = false;
    std::string bytes;
};

std::vector<TracedFrame> ReadTrace(const fs::path& file) {
    std::vector<TracedFrame> frames;
    std::ifstream in(file);
    const std::regex line(R"(^(\d\d):(\d\d):(\d\d)\.(\d\d\d) (<-|->) ((?:[0-9A-F]{2} ?)+))");
    std::string text;
    while (std::getline(in, text)) {
        std::smatch match;
        if (!std::regex_search(text, match, line)) {
            continue;
        }
        TracedFrame frame;
        frame.milliseconds =
            ((std::stol(match[1]) * 60 + std::stol(match[2])) * 60 + std::stol(match[3])) * 1000 +
            std::stol(match[4]);
        frame.fromPanel = match[5] == "<-";
        std::istringstream hex(match[6]);
        std::string pair;
        while (hex >> pair) {
            frame.bytes.push_back(static_cast<char>(std::stoi(pair, nullptr, 16)));
        }
        frames.push_back(frame);
    }
    return frames;
}

std::vector<TracedFrame> PanelFrames(const std::vector<TracedFrame>& frames) {
    std::vector<TracedFrame> polls;
    for (const TracedFrame& frame : frames) {
        if (frame.fromPanel) {
            polls.push_back(frame);
        }
    }
    return polls;
}

// The letters of the poll frames, '?' for anything else.
std::string Letters(const std::vector<TracedFrame>& polls) {
    std::string letters;
    for (const TracedFrame& poll : polls) {
        const bool isPoll =
            poll.bytes.size() == 3 && poll.bytes[0] == 0x04 && poll.bytes[2] == 0x05;
        letters += isPoll ? poll.bytes[1] : '?';
    }
    return letters;
}

std::string Content(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("vxxx-e2e-" + std::to_string(getpid()) + "-" + std::to_string(++runs));
        fs::remove_all(folder);
        fs::create_directories(folder / "config");
        link = folder / "instrument";
    }
    void TearDown() override {
        panel.reset();
        simulator.reset();
        if (!HasFailure()) {
            fs::remove_all(folder);
        }
    }

    void StartSimulator(std::vector<std::string> options) {
        options.insert(options.begin(), {VXXX_SIM_PROGRAM, "--link", link.string(), "--trace"});
        simulator = std::make_unique<Process>(options, folder.string(), std::vector<std::string>{},
                                              (folder / "sim.out").string(),
                                              (folder / "sim.trace").string());
        ASSERT_TRUE(simulator->Started());
        ASSERT_TRUE(WaitFor([&] { return fs::exists(link); }, 5s));
    }

    // The panel offscreen on the simulator's link, with settings of its own.
    void StartPanel(std::vector<std::string> command = {},
                    std::vector<std::string> environment = {}) {
        if (command.empty()) {
            command = {VXXX_PANEL_PROGRAM, "--port", link.string()};
        }
        const auto orDefault = [&environment](const std::string& name, const std::string& value) {
            if (std::none_of(environment.begin(), environment.end(),
                             [&name](const std::string& variable) {
                                 return variable == name || variable.starts_with(name + '=');
                             })) {
                environment.push_back(name + '=' + value);
            }
        };
        orDefault("XDG_CONFIG_HOME", (folder / "config").string());
        orDefault("QT_QPA_PLATFORM", "offscreen");
        panel = std::make_unique<Process>(command, folder.string(), environment,
                                          (folder / "panel.out").string(),
                                          (folder / "panel.err").string());
        ASSERT_TRUE(panel->Started());
    }

    void StoreSetting(const std::string& text) {
        std::ofstream(folder / "config" / "Vxxx Control Panel.ini") << text;
    }
    std::string Settings() { return Content(folder / "config" / "Vxxx Control Panel.ini"); }
    std::vector<TracedFrame> Trace() { return ReadTrace(folder / "sim.trace"); }

    // Ends the panel as a desktop session or a service manager would.
    void Terminate() {
        ASSERT_TRUE(panel->Running()) << Content(folder / "panel.err");
        EXPECT_EQ(panel->End(SIGTERM), std::optional<int>(0)) << Content(folder / "panel.err");
    }

    static inline int runs = 0;
    fs::path folder;
    fs::path link;
    std::unique_ptr<Process> simulator;
    std::unique_ptr<Process> panel;
};

} // namespace

class FirstTenSeconds : public EndToEnd, public ::testing::WithParamInterface<std::string> {};

TEST_P(FirstTenSeconds, FollowTheStartUpAndPollingRules) {
    const std::string model = GetParam();
    StartSimulator({"--model", model});
    StoreSetting("[Comms]\nCommPort=ttyS9\n");
    StartPanel();
    std::this_thread::sleep_for(10s);
    Terminate();

    const std::vector<TracedFrame> frames = Trace();
    const std::vector<TracedFrame> polls = PanelFrames(frames);
    ASSERT_GE(polls.size(), 4u);
    const std::string expected = model == "V630" ? "SOTOTOTOT" : "STTTT";
    const std::size_t compared = std::min(polls.size(), expected.size());
    EXPECT_EQ(Letters(polls).substr(0, compared), expected.substr(0, compared));
    // The status poll, then the 2-second wait and the first tick a second later.
    EXPECT_GE(polls[1].milliseconds - polls[0].milliseconds, 2700);
    // One poll a tick at most (a V420 polls every second tick), and each one answered before
    // the next goes out.
    const long gap = model == "V630" ? 800 : 1800;
    for (std::size_t i = 2; i < polls.size(); ++i) {
        EXPECT_GE(polls[i].milliseconds - polls[i - 1].milliseconds, gap) << i;
    }
    for (std::size_t i = 0; i + 1 < frames.size(); ++i) {
        EXPECT_NE(frames[i].fromPanel, frames[i + 1].fromPanel) << "frame " << i;
    }
    // The settings are written, and the port given for the run never replaces the stored one.
    const std::string settings = Settings();
    EXPECT_NE(settings.find("CommPort=ttyS9"), std::string::npos) << settings;
    EXPECT_NE(settings.find("Comms_Interval=2"), std::string::npos) << settings;
    EXPECT_NE(settings.find("BaudRate=38400"), std::string::npos) << settings;
}

INSTANTIATE_TEST_SUITE_P(Models, FirstTenSeconds, ::testing::Values("V630", "V420"));

TEST_F(EndToEnd, FaultsOnTheLineLeaveThePanelPolling) {
    StartSimulator({"--garbage", "2@3", "--corrupt-bcc", "2@6", "--drop", "2@9", "--split", "2@12",
                    "--join", "1@15", "--burst", "1@17", "--split-gap", "400"});
    StartPanel();
    std::this_thread::sleep_for(26s);
    const std::vector<TracedFrame> polls = PanelFrames(Trace());
    Terminate();
    // After the faults (and the waits of the dropped replies) the polling is as steady as
    // before: the readings are asked for in the last seconds too.
    ASSERT_GE(polls.size(), 15u);
    const std::string tail = Letters(polls).substr(polls.size() - 4);
    EXPECT_EQ(tail.find('?'), std::string::npos) << Letters(polls);
    EXPECT_NE(tail.find('T'), std::string::npos) << Letters(polls);
    EXPECT_GE(polls.back().milliseconds - polls[polls.size() - 4].milliseconds, 2500);
}

TEST_F(EndToEnd, AnInstrumentThatHangsUpAndComesBackIsTalkedToAgain) {
    StartSimulator({"--hangup-after", "6", "--return-after", "2"});
    StartPanel();
    // The line goes dead; after eleven new highs of the unanswered count the panel opens the
    // port again, and the link then leads to the instrument's new terminal.
    ASSERT_TRUE(WaitFor(
        [&] {
            return Content(folder / "sim.out").find('\n') !=
                   Content(folder / "sim.out").rfind('\n');
        },
        20s))
        << "the simulator did not come back";
    const auto backAt = Trace().size();
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto frames = Trace();
            const std::string letters = Letters(
                PanelFrames({frames.begin() + static_cast<long>(std::min(backAt, frames.size())),
                             frames.end()}));
            return letters.find("S") != std::string::npos &&
                   letters.find('T', letters.find('S')) != std::string::npos;
        },
        75s))
        << Letters(PanelFrames(Trace()));
    Terminate();
}

TEST_F(EndToEnd, SigtermLeavesACompletePcLogAndTheSettings) {
    if (system("command -v xvfb-run >/dev/null && command -v xdotool >/dev/null") != 0) {
        GTEST_SKIP() << "xvfb-run and xdotool are needed to press Start";
    }
    StartSimulator({});
    // A real X display, so that Start can be pressed like an operator would; the window
    // sits at the top-left corner (no stored position, no window manager).
    const std::string script =
        "\"$1\" --port \"$2\" & echo $! > panel.pid\n"
        "window=$(xdotool search --sync --onlyvisible --name 'Control Panel' | head -n 1)\n"
        "sleep 1\n"
        "xdotool mousemove --window \"$window\" 178 172 click 1\n"
        "wait\n";
    StartPanel({"/usr/bin/xvfb-run", "-a", "-s", "-screen 0 800x600x24", "/bin/sh", "-c", script,
                "panel", VXXX_PANEL_PROGRAM, link.string()},
               {"QT_QPA_PLATFORM=xcb", "ASAN_OPTIONS=detect_leaks=0"});
    const auto logFile = [&]() -> std::optional<fs::path> {
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("PC ", 0) == 0 && name.ends_with(".csv")) {
                return entry.path();
            }
        }
        return std::nullopt;
    };
    ASSERT_TRUE(WaitFor([&] { return logFile().has_value(); }, 20s))
        << Content(folder / "panel.err");
    std::this_thread::sleep_for(10s);
    pid_t pid = 0;
    std::ifstream(folder / "panel.pid") >> pid;
    ASSERT_GT(pid, 0);
    kill(pid, SIGTERM);
    ASSERT_TRUE(WaitFor([&] { return !panel->Running(); }, 15s));

    const std::string log = Content(*logFile());
    ASSERT_FALSE(log.empty());
    EXPECT_TRUE(log.ends_with("\r\n"));
    std::istringstream lines(log);
    std::string line;
    int count = 0;
    const std::regex format(R"(^\d\d\.\d\d\.\d\d \d\d:\d\d:\d\d(;-?\d+\.\d{4}){9}\r$)");
    while (std::getline(lines, line)) {
        ++count;
        EXPECT_TRUE(std::regex_match(line, format)) << line;
    }
    EXPECT_GE(count, 3); // a line every 2 s from the second interval after Start
    EXPECT_NE(Settings().find("Display_Selection=2"), std::string::npos) << Settings();
}

// The answering options need no window system: no display of any kind is given.
TEST_F(EndToEnd, TheCommandLineIsAnsweredWithoutADisplay) {
    struct Case {
        std::string argument;
        int exitCode;
        std::string output; // on standard output for 0, on standard error otherwise
    };
    for (const Case& run : {Case{"--help", 0, "Usage: control-panel"},
                            Case{"--version", 0, std::string(" ") + VXXX_VERSION + "\n"},
                            Case{"--colour", 2, "unknown argument --colour"}}) {
        StartPanel({VXXX_PANEL_PROGRAM, run.argument},
                   {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
        EXPECT_EQ(panel->Wait(10s), std::optional<int>(run.exitCode)) << run.argument;
        const std::string output =
            Content(folder / (run.exitCode == 0 ? "panel.out" : "panel.err"));
        EXPECT_NE(output.find(run.output), std::string::npos) << run.argument << ": " << output;
    }
}

// Each window stores its settings at close and reports what fails; a close from a signal must
// not wait for someone to read those reports.
TEST_F(EndToEnd, ASignalsCloseNeverWaitsOnTheOperator) {
    const auto display = XDisplay::Name();
    if (!display) {
        GTEST_SKIP() << "Xvfb and xdotool are needed for a real display";
    }
    StartSimulator({});
    // The settings folder would lie inside a file: nothing can be stored.
    std::ofstream(folder / "file") << "";
    StartPanel({}, {"XDG_CONFIG_HOME=" + (folder / "file" / "config").string(),
                    "DISPLAY=" + *display, "QT_QPA_PLATFORM=xcb", "ASAN_OPTIONS=detect_leaks=0"});
    ASSERT_TRUE(WaitFor(
        [&] { return !XDisplay::VisibleWindows(panel->Id(), "Control Panel").empty(); }, 20s))
        << Content(folder / "panel.err");
    EXPECT_EQ(panel->End(SIGTERM, 3s), std::optional<int>(0)) << Content(folder / "panel.err");
    EXPECT_NE(Content(folder / "panel.err").find("cannot be written to"), std::string::npos)
        << Content(folder / "panel.err");
}

TEST_F(EndToEnd, AnUnreadableSettingsFileIsKeptAsideAndStoredAfresh) {
    const auto display = XDisplay::Name();
    if (!display) {
        GTEST_SKIP() << "Xvfb and xdotool are needed for a real display";
    }
    StartSimulator({});
    const std::string garbage = "[Control\nLeft1=300\nnot a setting\n";
    StoreSetting(garbage);
    StartPanel({}, {"DISPLAY=" + *display, "QT_QPA_PLATFORM=xcb", "ASAN_OPTIONS=detect_leaks=0"});
    // The main window and, over it, the notice of the file kept aside.
    ASSERT_TRUE(WaitFor(
        [&] { return XDisplay::VisibleWindows(panel->Id(), "Control Panel").size() == 2; }, 20s))
        << Content(folder / "panel.err");
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(folder / "config")) {
        if (entry.path().filename().string().starts_with("Vxxx Control Panel.ini.unreadable-")) {
            kept.push_back(entry.path());
        }
    }
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(Content(kept[0]), garbage);
    // The notice left open does not hold the close either.
    EXPECT_EQ(panel->End(SIGTERM, 3s), std::optional<int>(0)) << Content(folder / "panel.err");
    const std::string settings = Settings();
    EXPECT_NE(settings.find("[Control]\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("Left1=0\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("Comms_Interval=2\n"), std::string::npos) << settings;
    EXPECT_EQ(settings.find("not a setting"), std::string::npos) << settings;
}
