// control-panel against vxxx-sim, both as processes of their own, for what only whole processes
// show: what crosses the line (the simulator's trace), what lands in the files and in the
// settings, the ending signals, the command line, an instrument that hangs up and comes back.
// Every wait is for a condition; controls are found by their names in the main window's form.
#include "Process.h"
#include "XDisplay.h"

#include <QFile>
#include <QXmlStreamReader>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// One frame of the simulator's trace: when (milliseconds of the day), which way, its bytes,
// and on which of the terminals the simulator served one after the other (1 the first).
struct TracedFrame {
    long milliseconds = 0;
    bool fromPanel = false;
    std::string bytes;
    int terminal = 0;
};

// Milliseconds of the day of the first time in each line of the text that holds `what`.
std::vector<long> TimesOf(const std::string& text, const std::string& what) {
    std::vector<long> times;
    std::istringstream lines(text);
    const std::regex time(R"((\d\d):(\d\d):(\d\d)\.?(\d*))");
    std::smatch t;
    for (std::string line; std::getline(lines, line);) {
        if (line.find(what) != std::string::npos && std::regex_search(line, t, time)) {
            times.push_back(std::stol(t[1]) * 3600000 + std::stol(t[2]) * 60000 +
                            std::stol(t[3]) * 1000 + std::stol("0" + t[4].str()));
        }
    }
    return times;
}

std::vector<TracedFrame> ReadTrace(const fs::path& file) {
    std::vector<TracedFrame> frames;
    std::ifstream in(file);
    const std::regex line(R"(^(\d\d):(\d\d):(\d\d)\.(\d\d\d) (<-|->) ((?:[0-9A-F]{2} ?)+))");
    std::string text;
    int terminal = 0;
    while (std::getline(in, text)) {
        terminal += text.find(" serving on ") != std::string::npos;
        std::smatch match;
        if (!std::regex_search(text, match, line)) {
            continue;
        }
        TracedFrame frame;
        frame.terminal = terminal;
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

// The centre of a control of the main window in the window's own coordinates, from the form
// file: its geometry plus that of every widget it lies in. Nothing when the form does not
// place it by geometry.
std::optional<std::pair<int, int>> CentreInMainWindow(const std::string& objectName) {
    QFile form(QStringLiteral(VXXX_MAIN_FORM));
    if (!form.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    struct Placed {
        QString name;
        int x = 0, y = 0, width = 0, height = 0;
    };
    std::vector<Placed> open; // the window first, then each widget inside the one before
    QXmlStreamReader xml(&form);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("widget")) {
            open.pop_back();
        }
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == QLatin1String("widget")) {
            open.push_back({xml.attributes().value("name").toString()});
            continue;
        }
        if (xml.name() != QLatin1String("property") || open.empty() ||
            xml.attributes().value("name") != QLatin1String("geometry")) {
            continue;
        }
        Placed& widget = open.back();
        if (xml.readNextStartElement() && xml.name() == QLatin1String("rect")) {
            while (xml.readNextStartElement()) {
                const QString field = xml.name().toString();
                const int value = xml.readElementText().toInt();
                if (field == QLatin1String("x")) {
                    widget.x = value;
                } else if (field == QLatin1String("y")) {
                    widget.y = value;
                } else if (field == QLatin1String("width")) {
                    widget.width = value;
                } else if (field == QLatin1String("height")) {
                    widget.height = value;
                }
            }
        }
        if (widget.name == QString::fromStdString(objectName) && widget.width > 0) {
            int x = widget.width / 2;
            int y = widget.height / 2;
            for (std::size_t i = 1; i < open.size(); ++i) {
                x += open[i].x;
                y += open[i].y;
            }
            return std::pair{x, y};
        }
    }
    return std::nullopt;
}

// A folder of its own holding one simulator, one panel, their outputs and the panel's settings.
class Bench {
public:
    explicit Bench(const std::string& name)
        : folder(fs::temp_directory_path() / ("vxxx-e2e-" + std::to_string(getpid()) + "-" + name)),
          link(folder / "instrument") {
        fs::remove_all(folder);
        fs::create_directories(folder / "config");
    }
    ~Bench() {
        panel.reset();
        simulator.reset();
        if (!keep) {
            fs::remove_all(folder);
        }
    }

    // Serves on the link, tracing every frame.
    void StartSimulator(std::vector<std::string> options) {
        options.insert(options.begin(), {VXXX_SIM_PROGRAM, "--link", link.string(), "--trace"});
        simulator = std::make_unique<Process>(options, folder.string(), std::vector<std::string>{},
                                              (folder / "sim.out").string(),
                                              (folder / "sim.trace").string());
        ASSERT_TRUE(simulator->Started());
        ASSERT_TRUE(WaitFor([&] { return fs::exists(link); }, 10s));
    }

    // The panel (by default offscreen on the simulator's link) with settings of its own.
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

    // The panel on the test's X display, as an operator's desktop runs it.
    void StartPanelOnDisplay(const std::string& display, std::vector<std::string> environment = {},
                             const std::vector<std::string>& arguments = {}) {
        environment.insert(environment.end(), {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb",
                                               // the display libraries keep what they allocate
                                               "ASAN_OPTIONS=detect_leaks=0"});
        std::vector<std::string> command{VXXX_PANEL_PROGRAM, "--port", link.string()};
        command.insert(command.end(), arguments.begin(), arguments.end());
        StartPanel(command, environment);
    }

    void StoreSettings(const std::string& text) {
        std::ofstream(folder / "config" / "Vxxx Control Panel.ini") << text;
    }
    std::string Settings() const { return Content(folder / "config" / "Vxxx Control Panel.ini"); }
    std::string Errors() const { return Content(folder / "panel.err"); }
    std::vector<TracedFrame> Trace() const { return ReadTrace(folder / "sim.trace"); }

    // The panel's visible windows: the main window and any message box over it.
    std::vector<std::string> Windows(const std::string& title = "Control Panel") const {
        return XDisplay::VisibleWindows(panel->Id(), title);
    }

    // Ends the panel with the signal, as a desktop session, a terminal or a service manager
    // would, and gives its exit code.
    std::optional<int> End(int signalNumber, std::chrono::milliseconds limit = 15s) {
        return panel->End(signalNumber, limit);
    }

    const fs::path folder;
    const fs::path link;
    std::unique_ptr<Process> simulator;
    std::unique_ptr<Process> panel;
    bool keep = false; // the folder stays for a look after a failure
};

class EndToEnd : public ::testing::Test {
protected:
    void TearDown() override {
        for (const auto& bench : benches) {
            bench->keep = HasFailure();
        }
        benches.clear();
    }

    // A short name: the port opened is the first 79 characters of the link's path.
    Bench& NewBench(const std::string& name = "bench") {
        benches.push_back(std::make_unique<Bench>(std::to_string(++count) + "-" + name));
        return *benches.back();
    }

    // The display for the tests that need one; the tools are among the project's packages.
    static std::optional<std::string> Display() { return XDisplay::Name(); }

    std::vector<std::unique_ptr<Bench>> benches;
    static inline int count = 0;
};

} // namespace

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
        Bench& bench = NewBench(run.argument.substr(2));
        bench.StartPanel({VXXX_PANEL_PROGRAM, run.argument},
                         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
        EXPECT_EQ(bench.panel->Wait(10s), std::optional<int>(run.exitCode)) << run.argument;
        const std::string output =
            Content(bench.folder / (run.exitCode == 0 ? "panel.out" : "panel.err"));
        EXPECT_NE(output.find(run.output), std::string::npos) << run.argument << ": " << output;
    }
}

// Both models side by side: the status poll at once, the first reading poll after the start-up
// wait and the first tick, then one poll a tick at most, each answered before the next. The
// panels end by a hang-up and an interrupt, and store their settings on the way.
TEST_F(EndToEnd, TheFirstSecondsOnTheLineFollowTheStartUpAndPollingRules) {
    struct Model {
        std::string name;
        std::string expected; // the first polls
        long gap;             // the least time between two polls after the first tick
        int endingSignal;
        Bench* bench = nullptr;
    };
    std::vector<Model> models = {{"V630", "SOTOT", 800, SIGHUP}, {"V420", "STTT", 1800, SIGINT}};
    for (Model& model : models) {
        model.bench = &NewBench(model.name);
        model.bench->StartSimulator({"--model", model.name});
        model.bench->StoreSettings("[Comms]\nCommPort=ttyS9\n");
        model.bench->StartPanel();
    }
    for (Model& model : models) {
        Bench& bench = *model.bench;
        // Every poll expected, and the reply to the last one.
        ASSERT_TRUE(WaitFor(
            [&] {
                const auto frames = bench.Trace();
                return PanelFrames(frames).size() >= model.expected.size() && !frames.empty() &&
                       !frames.back().fromPanel;
            },
            30s))
            << model.name << ": " << Letters(PanelFrames(bench.Trace()));
    }
    for (Model& model : models) {
        kill(model.bench->panel->Id(), model.endingSignal);
    }
    for (Model& model : models) {
        Bench& bench = *model.bench;
        EXPECT_EQ(bench.panel->Wait(15s), std::optional<int>(0))
            << model.name << ": " << bench.Errors();

        const std::vector<TracedFrame> frames = bench.Trace();
        const std::vector<TracedFrame> polls = PanelFrames(frames);
        ASSERT_GE(polls.size(), model.expected.size());
        EXPECT_EQ(Letters(polls).substr(0, model.expected.size()), model.expected) << model.name;
        EXPECT_GE(polls[1].milliseconds - polls[0].milliseconds, 2700) << model.name;
        for (std::size_t i = 2; i < polls.size(); ++i) {
            EXPECT_GE(polls[i].milliseconds - polls[i - 1].milliseconds, model.gap)
                << model.name << " poll " << i;
        }
        for (std::size_t i = 0; i + 1 < frames.size(); ++i) {
            EXPECT_NE(frames[i].fromPanel, frames[i + 1].fromPanel) << model.name << " frame " << i;
        }
        // The port given for the run never replaces the stored one.
        const std::string settings = bench.Settings();
        EXPECT_NE(settings.find("CommPort=ttyS9\n"), std::string::npos) << settings;
        EXPECT_NE(settings.find("Comms_Interval=2\n"), std::string::npos) << settings;
        EXPECT_NE(settings.find("BaudRate=38400\n"), std::string::npos) << settings;
    }
}

// Start pressed as an operator would, on a real display; SIGTERM between two log lines leaves
// every line whole and the settings stored.
TEST_F(EndToEnd, APcLogRunsAcrossAnUnpluggedInstrumentAndSigtermLeavesItComplete) {
    const auto display = Display();
    const auto start = CentreInMainWindow("StartButton");
    ASSERT_TRUE(start) << "no geometry for StartButton in " << VXXX_MAIN_FORM;
    ASSERT_TRUE(display) << "Xvfb and xdotool are needed (scripts/install-deps.sh)";
    Bench& bench = NewBench();
    bench.StartSimulator({"--hangup-after", "20", "--return-after", "3"});
    bench.StartPanelOnDisplay(*display);
    ASSERT_TRUE(WaitFor([&] { return !bench.Windows().empty(); }, 20s)) << bench.Errors();
    const auto logFile = [&]() -> std::optional<fs::path> {
        for (const auto& entry : fs::directory_iterator(bench.folder)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("PC ") && name.ends_with(".csv")) {
                return entry.path();
            }
        }
        return std::nullopt;
    };
    // A click that comes before the window takes input is lost; pressing Start while logging
    // changes nothing, so it is pressed until the log is there.
    ASSERT_TRUE(WaitFor(
        [&] {
            XDisplay::Click(bench.Windows().at(0), start->first, start->second);
            return WaitFor([&] { return logFile().has_value(); }, 1s);
        },
        20s))
        << bench.Errors();
    EXPECT_TRUE(
        WaitFor([&] { return !bench.Windows("Control Panel - disconnected").empty(); }, 40s));
    const fs::path trace = bench.folder / "sim.trace";
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto back = TimesOf(Content(trace), " serving on ");
            const auto logged = TimesOf(Content(*logFile()), ";");
            return back.size() == 2 && !logged.empty() && logged.back() > back[1];
        },
        30s));
    EXPECT_EQ(bench.End(SIGTERM), std::optional<int>(0)) << bench.Errors();

    const long hungUp = TimesOf(Content(trace), " hanging up ").at(0);
    const long back = TimesOf(Content(trace), " serving on ").at(1);
    std::vector<TracedFrame> polls = PanelFrames(bench.Trace());
    std::erase_if(polls, [](const TracedFrame& poll) { return poll.terminal != 2; });
    const std::string letters = Letters(polls);
    ASSERT_EQ(letters.substr(0, 1), "S");
    EXPECT_LE(polls.at(letters.find('T')).milliseconds - back, 5000);
    const std::vector<long> logged = TimesOf(Content(*logFile()), ";");
    EXPECT_LT(logged.front(), hungUp);
    for (const long stamp : logged) { // to the second
        EXPECT_TRUE(stamp < hungUp || stamp > back - 1000) << stamp << " ms of the day";
    }
    const std::string log = Content(*logFile());
    EXPECT_TRUE(log.ends_with("\r\n"));
    std::istringstream lines(log);
    const std::regex format(R"(^\d\d\.\d\d\.\d\d \d\d:\d\d:\d\d(;-?\d+\.\d{4}){9}\r$)");
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(std::regex_match(line, format)) << line;
    }
    EXPECT_NE(bench.Settings().find("Display_Selection=2\n"), std::string::npos)
        << bench.Settings();
}

// Each window stores its settings at close and reports what fails; a close from a signal must
// not wait for someone to read those reports.
TEST_F(EndToEnd, ASignalsCloseNeverWaitsOnTheOperator) {
    const auto display = Display();
    ASSERT_TRUE(display) << "Xvfb and xdotool are needed (scripts/install-deps.sh)";
    Bench& bench = NewBench();
    bench.StartSimulator({});
    // The settings folder would lie inside a file: nothing can be stored.
    std::ofstream(bench.folder / "file") << "";
    bench.StartPanelOnDisplay(*display,
                              {"XDG_CONFIG_HOME=" + (bench.folder / "file" / "config").string()});
    ASSERT_TRUE(WaitFor([&] { return !bench.Windows().empty(); }, 20s)) << bench.Errors();
    EXPECT_EQ(bench.End(SIGTERM, 3s), std::optional<int>(0)) << bench.Errors();
    EXPECT_NE(bench.Errors().find("cannot be written to"), std::string::npos) << bench.Errors();
}

TEST_F(EndToEnd, AnUnreadableSettingsFileIsKeptAsideAndStoredAfresh) {
    const auto display = Display();
    ASSERT_TRUE(display) << "Xvfb and xdotool are needed (scripts/install-deps.sh)";
    Bench& bench = NewBench();
    bench.StartSimulator({});
    const std::string garbage = "[Control\nLeft1=300\nnot a setting\n";
    bench.StoreSettings(garbage);
    bench.StartPanelOnDisplay(*display);
    // The main window and, over it, the notice of the file kept aside.
    ASSERT_TRUE(WaitFor([&] { return bench.Windows().size() == 2; }, 20s)) << bench.Errors();
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(bench.folder / "config")) {
        if (entry.path().filename().string().starts_with("Vxxx Control Panel.ini.unreadable-")) {
            kept.push_back(entry.path());
        }
    }
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(Content(kept[0]), garbage);
    // The notice left open does not hold the close either.
    EXPECT_EQ(bench.End(SIGTERM, 3s), std::optional<int>(0)) << bench.Errors();
    const std::string settings = bench.Settings();
    EXPECT_NE(settings.find("[Control]\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("Left1=0\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("Comms_Interval=2\n"), std::string::npos) << settings;
    EXPECT_EQ(settings.find("not a setting"), std::string::npos) << settings;
}

// "Open with" in a file manager runs the panel with the file, as the desktop entry says: the
// chart window shows it, and the panel starts as it always does.
TEST_F(EndToEnd, AFileOnTheCommandLineShowsInTheChartWindow) {
    const auto display = Display();
    ASSERT_TRUE(display) << "Xvfb and xdotool are needed (scripts/install-deps.sh)";
    Bench& bench = NewBench();
    bench.StartSimulator({});
    const fs::path file = bench.folder / "V630 20261207101500.csv";
    std::ofstream(file) << "0001,07/12/26 10:00:00;1;2;3;4;5;6;7;8\r\n";
    bench.StartPanelOnDisplay(*display, {}, {file.string()});
    EXPECT_TRUE(
        WaitFor([&] { return !bench.Windows("Chart - V630 20261207101500.csv").empty(); }, 20s))
        << bench.Errors();
    EXPECT_TRUE(WaitFor([&] { return !bench.Windows("Control Panel").empty(); }, 20s));
    EXPECT_TRUE(WaitFor([&] { return bench.Trace().size() >= 2; }, 20s)) << bench.Errors();
    EXPECT_EQ(bench.End(SIGTERM, 3s), std::optional<int>(0)) << bench.Errors();
}
