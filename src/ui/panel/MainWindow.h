#pragma once

#include <QString>

// What the other windows may do to the main window: hold its polling around their own
// exchanges, read what it shows, switch its display to raw readings, and relabel it after a
// port change.
class MainWindow {
public:
    virtual ~MainWindow() = default;

    // Switch the polling timer off and on around a bulk exchange. Pauses are counted: when two
    // exchanges overlap, polling resumes only when the last of them ends.
    virtual void PausePolling() = 0;
    virtual void ResumePolling() = 0;

    // The text of a channel display (0 cold junction, 1 to 8), as the instrument sent it.
    virtual QString ChannelDisplayText(int channel) const = 0;
    // Whether the millivolt (or, on a resistance instrument, resistance) display is selected,
    // and selecting it; the next reading poll then asks for raw readings.
    virtual bool MilliVoltSelected() const = 0;
    virtual void SelectMilliVolt() = 0;
    // The clock label's text (lClock).
    virtual QString ClockText() const = 0;

    // After a port change: lUnit shows the port, lComms its caption; "Control Panel - connecting"
    // in the title until the instrument answers.
    virtual void ShowUnitText(const QString& text) = 0;
    virtual void ShowCommsCaption(const QString& text) = 0;
    virtual void ShowConnecting() = 0;
    // "Control Panel - disconnected" in the title, and offline, while the port's device is away.
    virtual void ShowDisconnected() = 0;
    // lTest, the diagnostic line.
    virtual void ShowDiagnosticLine(const QString& text) = 0;
};

// Holds the main window's polling for as long as it lives, so every way out of an exchange
// (done, cancelled, refused, a file error, a silent instrument, the program closing) resumes it.
class PollingPause {
public:
    explicit PollingPause(MainWindow* mainWindow) : mainWindow_(mainWindow) {
        if (mainWindow_ != nullptr) {
            mainWindow_->PausePolling();
        }
    }
    ~PollingPause() {
        if (mainWindow_ != nullptr) {
            mainWindow_->ResumePolling();
        }
    }
    PollingPause(const PollingPause&) = delete;
    PollingPause& operator=(const PollingPause&) = delete;

private:
    MainWindow* mainWindow_;
};
