#pragma once

#include "ui/main/Main.h"
#include "ui/support/WindowHarness.h"

#include <QLabel>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>

// The main window alone, on the window harness, with stand-ins for the windows it opens and
// fills.
struct PanelHarness : WindowHarness {
    PanelHarness() {
        windows.chart = &chart;
        windows.configuration = &configuration;
        windows.channel = &channel;
        windows.calibration = &calibration;
        windows.about = &about;
        windows.engineering = &engineering;
    }

    // Builds the main window and runs its start-up; the test then runs the polling timer's
    // ticks itself (Tick) unless it asks for the real timer.
    TForm1& Start(bool realTimer = false) {
        // A second start is a new run of the program: nothing is outstanding on the link.
        form.reset();
        state = PanelState{};
        frames.SetWatchdogRunning(false);
        if (frames.CommsBusy()) {
            clock.Advance(protocol::Bounds::kDefaultWaitMs);
        }
        form = std::make_unique<TForm1>(port, context);
        windows.main = form.get();
        windows.mainDisplay = form.get();
        form->FormCreate();
        if (!realTimer) {
            form->findChild<QTimer*>("Timer1")->stop();
        }
        return *form;
    }
    TForm1& Form() { return *form; }

    // Lets the tick of the polling timer run now, a second later than the last.
    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            clock.Advance(1000);
            form->Timer1Timer();
        }
    }

    // The letters of the polls sent since the last call.
    std::string Polls() {
        std::string letters;
        for (; pollsSeen_ < port.sent.size(); ++pollsSeen_) {
            const std::string& frame = port.sent[pollsSeen_];
            letters += frame.size() == 3 ? frame[1] : '?';
        }
        return letters;
    }

    template <typename T = QLabel> T* Find(const QString& name) {
        return form->findChild<T*>(name);
    }
    QString Text(const QString& name) { return Find(name)->text(); }

    FakeChartWindow chart;
    FakeConfigurationWindow configuration;
    FakeChannelWindow channel;
    FakeCalibrationWindow calibration;
    FakeAboutBox about;
    FakeEngineeringWindow engineering;
    std::unique_ptr<TForm1> form;

private:
    std::size_t pollsSeen_ = 0;
};
