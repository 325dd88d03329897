// Shows the real-time chart window filled with made-up readings, for looking at it: takes a
// screenshot of it and saves its picture and data files into the current directory.
//
//   chart-demo [--ticks N] [--auto] [--3d] [--hide CHANNELS] [--open FILE] [--screenshot FILE]
//              [--save]
//
// --ticks N      sampling ticks to run (default 120); each adds one reading to the history
// --auto         "Auto" checked: the chart grows instead of showing the last 41 readings
// --3d           3D view
// --hide 357     channels whose check box is cleared
// --open FILE    shows that logged file as bOpenData does
// --screenshot   grabs the window from the screen into FILE (PNG) and quits
// --save         answers Yes to the save questions and saves picture and data, then quits

#include "support/MemorySettingsStore.h"
#include "ui/chart/uChart.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <cmath>
#include <cstdio>

namespace {

class AnswerYes final : public OperatorInteraction {
public:
    bool Ask(const QString& question) override {
        std::printf("%s? Yes\n", qPrintable(question));
        return true;
    }
    void Notify(const QString& notice) override { std::printf("%s\n", qPrintable(notice)); }
    bool Acknowledge(const QString& message) override {
        Notify(message);
        return true;
    }
    void ReportError(const QString& message) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(message));
    }
    QString OpenFile(const QString&) override { return {}; }
};

// Eight channels warming up from room temperature at different rates, with a little ripple.
std::array<float, ReadingHistory::kChannels> Reading(int tick) {
    std::array<float, ReadingHistory::kChannels> values{};
    for (int ch = 0; ch < ReadingHistory::kChannels; ++ch) {
        const double warm = 20.0 + (10.0 + 6.0 * ch) * (1.0 - std::exp(-tick / (25.0 + 8.0 * ch)));
        const double ripple = (1.0 + 0.2 * ch) * std::sin(tick / (3.0 + ch) + ch);
        values[static_cast<std::size_t>(ch)] = static_cast<float>(warm + ripple);
    }
    return values;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption ticks("ticks", "Sampling ticks to run.", "N", "120");
    const QCommandLineOption autoScale("auto", "Grow the chart.");
    const QCommandLineOption view3D("3d", "3D view.");
    const QCommandLineOption hide("hide", "Channels to hide.", "CHANNELS");
    const QCommandLineOption open("open", "Show a logged file.", "FILE");
    const QCommandLineOption screenshot("screenshot", "Grab the window into FILE.", "FILE");
    const QCommandLineOption save("save", "Save picture and data files.");
    parser.addOptions({ticks, autoScale, view3D, hide, open, screenshot, save});
    parser.process(app);

    MemorySettingsStore settings;
    settings.Set("Chart", "AutoScale", parser.isSet(autoScale) ? "1" : "0");
    settings.Set("Chart", "Style3D", parser.isSet(view3D) ? "1" : "0");
    for (const QChar channel : parser.value(hide)) {
        settings.Set("Chart", "Series" + std::string(1, channel.toLatin1()), "0");
    }
    AnswerYes operatorInteraction;
    ReadingHistory history;
    TForm2 window(
        settings, operatorInteraction, history, [] { return QStringLiteral("V420"); }, 2,
        SystemClock());
    window.show();
    for (int tick = 0; tick < parser.value(ticks).toInt(); ++tick) {
        history.Append(Reading(tick));
        window.Timer1Timer();
    }

    if (parser.isSet(open)) {
        window.ShowFile(parser.value(open));
    }

    if (parser.isSet(save)) {
        window.bPrintClick();
        window.bDataClick();
        return 0;
    }
    if (parser.isSet(screenshot)) {
        // Long enough for the window to be mapped and the chart's coalesced redraw to land.
        QTimer::singleShot(1000, &window, [&] {
            const QPixmap image = window.screen()->grabWindow(window.winId());
            const bool saved = image.save(parser.value(screenshot));
            std::printf("%s %s\n", saved ? "wrote" : "could not write",
                        qPrintable(parser.value(screenshot)));
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}
