#pragma once

#include "ChannelDisplays.h"
#include "PcLog.h"
#include "PollingRules.h"
#include "instrument/Readings.h"
#include "ui/panel/InstrumentPort.h"
#include "ui/panel/PanelContext.h"

#include <QWidget>
#include <memory>

class QTimer;
namespace Ui {
class TForm1;
}

// The main window: nine channel displays, the polling timer, the comms counters, PC logging and
// the buttons that open the other windows, which it reaches through their interfaces once they
// are registered. Its start-up (FormCreate) runs before any other window exists.
class TForm1 : public QWidget, public MainWindow, public MainDisplay {
    Q_OBJECT

public:
    TForm1(InstrumentPort& serialPort, const PanelContext& context, QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up: settings, channel displays, diagnostic switches, the serial port, the first
    // status poll, the settling wait, then the polling timer. Runs once, after the window has
    // been registered, so the first frame already shows on its counters.
    void FormCreate();

    // The polling timer's tick; Timer1 calls it once a second.
    void Timer1Timer();

    // Runs once, whichever way the program ends: the operator's close, a signal, session end.
    void FormClose();

    // MainWindow
    void PausePolling() override;
    void ResumePolling() override;
    QString ChannelDisplayText(int channel) const override;
    bool MilliVoltSelected() const override;
    void SelectMilliVolt() override;
    QString ClockText() const override;
    void ShowUnitText(const QString& text) override;
    void ShowCommsCaption(const QString& text) override;
    void ShowConnecting() override;
    void ShowDisconnected() override;

    // MainDisplay (and MainWindow's diagnostic line)
    void ShowCommsCount(int count) override;
    void ShowBccErrorCount(int count) override;
    void ShowOnline(bool online) override;
    void ShowDiagnosticLine(const QString& text) override;
    bool PcLogging() override { return log_.IsOpen(); }
    void SetNewReading() override { newReading_ = true; }
    void ShowUnit(const QString& unitText) override;
    void ShowReading(int channel, const QString& text) override;
    void ShowOutputStates(unsigned states) override;
    void AdaptToStatus(const QString& caption) override;
    void ShowBrokerState(const QString& text) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReadSettings();
    void WriteSettings();
    void ApplyDiagnosticLevel();
    void ConnectControls();
    void ConnectKeyboard();

    void bExitClick();
    void bChart1Click();
    void bConfigClick();
    void bENGClick();
    void bAboutClick();
    void bCalibrateClick();
    void bResetClick();
    void lBCC_errorDblClick();
    void lComm_countDblClick();
    void lDispDblClick(int channel);
    void StartButtonClick();
    void StopButtonClick();
    void eIntervalExit();

    // The steps of a tick (MainPolling.cpp).
    void IntervalElapsed();
    void InBetweenPoll();
    void SendReadingPoll();
    ReadingKind SelectedDisplay() const;
    void WriteLogLine();
    QString NowText(const QString& pattern);

    void AdaptToModel();
    void AdaptToInputMode();

    std::unique_ptr<Ui::TForm1> ui;
    InstrumentPort& serialPort_;
    SettingsStore& settings_;
    OperatorInteraction& operator_;
    Clock& clock_;
    protocol::Exchange& exchange_;
    protocol::FrameLayer& frames_;
    PanelState& state_;
    PanelWindows& windows_;
    ChannelDisplays displays_;
    PcDataLog log_;
    QTimer* Timer1 = nullptr;

    int outputsCountdown_ = 1;
    int pollingPauses_ = 0;
    // A reading poll that found the link busy goes out at the next tick that finds it idle.
    bool readingPollPending_ = false;
    bool configurationWasVisible_ = false;
    bool newReading_ = false;
    QString logTimeStamp_;
    PortReselection portReselection_;
};
