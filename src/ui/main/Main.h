#pragma once

#include "ChannelDisplays.h"
#include "InstrumentPort.h"
#include "OperatorInteraction.h"
#include "PcLog.h"
#include "PollingRules.h"
#include "ReadingHistory.h"
#include "protocol/FrameLayer.h"
#include "protocol/FrameObserver.h"
#include "protocol/ReplyDispatcher.h"
#include "protocol/ReplyHandler.h"
#include "serial/Clock.h"
#include "serial/SettingsStore.h"

#include <QWidget>
#include <memory>
#include <optional>

class QTimer;
namespace Ui {
class TForm1;
}
class TForm2;
class TForm3;
class TfAbout;
class TfCalibrate;
class TfChannel;
class TfRTC;

// The windows created after the main window, which it opens and fills.
struct PanelWindows {
    TForm2* chart = nullptr;
    TForm3* configuration = nullptr;
    TfChannel* channel = nullptr;
    TfCalibrate* calibration = nullptr;
    TfAbout* about = nullptr;
    TfRTC* engineering = nullptr;
};

// The main window: nine channel displays, the polling timer, the comms counters, PC logging and
// the buttons that open the other windows. It owns the frame layer over the serial port and
// handles every reply. Its start-up (FormCreate) runs while it is constructed, before any other
// window exists.
class TForm1 : public QWidget, public FrameObserver, public ReplyHandler {
    Q_OBJECT

public:
    TForm1(InstrumentPort& serialPort, SettingsStore& settings,
           OperatorInteraction& operatorInteraction, Clock& clock, QWidget* parent = nullptr);
    ~TForm1() override;

    // Called once the later windows exist, before any event is processed.
    void ConnectWindows(const PanelWindows& windows);

    // Program-wide state read and set by the other windows.
    const QString& ModelName() const { return modelName_; }
    const QString& FirmwareVersion() const { return firmwareVersion_; }
    std::optional<char> InputMode() const { return inputMode_; }
    int DiagnosticLevel() const { return diagnosticLevel_; }
    int SelectedChannel() const { return selectedChannel_; }
    void SetSelectedChannel(int channel) { selectedChannel_ = channel; }
    int PollCountdown() const { return pollCountdown_; }
    void SetPollCountdown(int ticks) { pollCountdown_ = ticks; }
    const ReadingHistory& History() const { return history_; }
    FrameLayer& Frames() { return frames_; }
    InstrumentPort& SerialPort1() { return serialPort_; }

    // What the configuration window writes on this window after a port change.
    void ShowUnitText(const QString& text);
    void ShowCommsCaption(const QString& text);

    // The polling timer's tick; Timer1 calls it once a second.
    void Timer1Timer();

    // Runs once, whichever way the program ends: the operator's close, a signal, session end.
    void FormClose();

    // FrameObserver
    void ShowCommsCount(int count) override;
    void ShowBccErrorCount(int count) override;
    void ShowOnline(bool online) override;
    void ShowDiagnosticLine(const std::string& text) override;
    void ProcessMessages() override;
    std::string FormatNow(const std::string& pattern) override;
    bool CommsLogActive() override;
    void WriteCommsLogLine(const std::string& line) override;

    // ReplyHandler
    bool PcLogging() override { return log_.IsOpen(); }
    void SetNewReading() override { newReading_ = true; }
    void ShowUnit(const std::string& unitText) override;
    void OnReadings(const std::string& payload) override;
    void OnResistanceReadings(const std::string& payload) override;
    void OnStatus(const std::string& payload) override;
    void OnOutputStates(const std::string& payload) override;
    void OnChannelConfiguration(const std::string& payload) override;
    void OnAlarmOutput(const std::string& payload) override;
    void OnLoggedRecord(const std::string& payload) override;
    void OnRegisters(const std::string& payload) override;
    void OnSerialNumber(const std::string& payload) override;
    void OnFilterConstant(const std::string& payload) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void ReadSettings();
    void WriteSettings();
    void ApplyDiagnosticLevel();
    void ConnectControls();

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
    DisplaySelection SelectedDisplay() const;
    void WriteLogLine();
    QString NowText(const QString& pattern);

    // The reading replies' common tail: history column and the first-reading note.
    void RecordReadings();
    void AdaptToModel();
    void AdaptToInputMode();

    std::unique_ptr<Ui::TForm1> ui;
    InstrumentPort& serialPort_;
    SettingsStore& settings_;
    OperatorInteraction& operator_;
    Clock& clock_;
    FrameLayer frames_;
    ReplyDispatcher dispatcher_;
    ChannelDisplays displays_;
    ReadingHistory history_;
    PcDataLog log_;
    QTimer* Timer1 = nullptr;
    PanelWindows windows_;

    QString modelName_ = QStringLiteral("Vxxx");
    QString firmwareVersion_ = QStringLiteral("1.0");
    std::optional<char> inputMode_;
    int diagnosticLevel_ = 0;
    int selectedChannel_ = 1;
    int pollCountdown_ = 2;
    int outputsCountdown_ = 1;
    bool configurationWasVisible_ = false;
    bool newReading_ = false;
    QString logTimeStamp_;
    BusyWatchdog busyWatchdog_;
    PortReselection portReselection_;
    bool firstReadingShown_ = false;
    bool closed_ = false;
};
