#pragma once

#include "CalibrationMemory.h"
#include "ChannelColumn.h"
#include "ReferenceValues.h"
#include "ui/panel/PanelContext.h"
#include "ui/panel/SecondaryForm.h"

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QCloseEvent;
class QMenu;
class QTimer;
namespace Ui {
class TfCalibrate;
}

// The calibration window: leads the operator through a two-point (zero and span) calibration
// of the selected channels, waits each time for the readings to settle, computes each
// channel's new m and c and sends them to the instrument; keeps a local copy of the calibration
// for the record file "TestRecord.csv", and stores or fetches the factory calibration and the
// serial number. It lives for the whole run; closing it only hides it, and sampling goes on
// while it is hidden.
//
// While a stage samples, the main window's polling is paused, and only then: whatever ends the
// sampling (the stage's end, a restart, the last channel unchecked, the window's destruction)
// resumes it.
class TfCalibrate : public SecondaryForm<CalibrationWindow> {
    Q_OBJECT

public:
    enum class Stage { Zero, Span, Ready };

    explicit TfCalibrate(const PanelContext& context, QWidget* parent = nullptr);
    ~TfCalibrate() override;

    // CalibrationWindow
    void Restart() override;
    void ApplyChannelReply(int channel, int typeCode, const QString& typeName, const QString& m,
                           const QString& c) override;
    void ShowSerialNumber(const QString& serialNumber) override;

    // The sampling tick; Timer5 calls it every 1800 ms.
    void Timer5Timer();

    // Whether a stage samples now, and the local copy of the calibration.
    bool Sampling() const { return sampling_; }
    const CalibrationMemory& Memory() const { return memory_; }

protected:
    // The reference values, beside the window's place.
    void StoreOwnSettings() override;

private:
    // Send and Reset pump messages while they send: the controls that would start another
    // exchange or change the selection are locked meanwhile, and a restart asked for then
    // runs when they are done.
    class ControlsLock {
    public:
        explicit ControlsLock(TfCalibrate& window);
        ~ControlsLock();
        ControlsLock(const ControlsLock&) = delete;
        ControlsLock& operator=(const ControlsLock&) = delete;

    private:
        TfCalibrate& window_;
    };

    // Calibration.cpp: creation, closing, selection and references.
    void FormCreate();
    void ConnectControls();
    void ConnectKeyboard();
    void BuildPopupMenu();
    void SetControlsLocked(bool locked);
    void cbCalClick(int channel);
    void cbAllClick();
    void e_zeroChange();
    void e_spanChange();
    void ApplyReferenceEdit(bool zero);
    // The references in use: the resistance inputs' on a resistance instrument, else the cold
    // junction's while channel 0 is checked, else the thermocouple inputs'.
    using Inputs = ReferenceValues::Inputs;
    Inputs InputsInUse() const;
    // Their unit and their values in the reference edits.
    void ShowReferences();
    // "mV" for the thermocouple inputs, "R" for the others.
    QString ShownUnit() const;
    QString ConnectLine(const QString& reference) const;
    void AddLine(const QString& line);
    // Asks the hint of a control as a question: "Send selected channel calibration data?".
    bool Confirm(const QString& hint);
    // The checked channels once the operator confirmed `hint`; none when no channel is checked
    // (the operator is told so) or the answer was No.
    std::vector<int> ConfirmedChannels(const QString& hint);
    bool ResistanceInputs() const;
    bool Checked(int channel) const;
    std::vector<int> CheckedChannels() const;
    char ReadingPoll() const;
    void UpdateTimer5();

    // CalibrationStages.cpp: the stages and their sampling.
    void bNextClick();
    void NextInZeroStage();
    void NextInSpanStage();
    void StartSampling();
    void EndSampling();
    void SetStage(Stage stage);
    void SetSampling(bool on);
    void ComputeNewScaling(int channel);
    bool SampleChannel(int channel, bool readingCame);
    bool ReferencesReadable(bool tellOperator);

    // CalibrationSend.cpp: sending and resetting the channels' scaling.
    void bSendClick();
    void bResetClick();
    void SendChannel(int channel);
    void TakePostReadings(const std::vector<int>& channels);
    void WaitForSettling();

    // CalibrationRecords.cpp: local copy, record file, factory calibration, serial number.
    void bRememberClick();
    void bRecallClick();
    void bRecordClick();
    void bSaveClick();
    void bRestoreClick();
    void mNew1Click();
    void mStore1Click();
    void mRetrieve1Click();

    std::unique_ptr<Ui::TfCalibrate> ui;
    PanelContext context_;
    QTimer* Timer5 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* mNew1 = nullptr;
    QAction* mStore1 = nullptr;
    QAction* mRetrieve1 = nullptr;

    std::array<ChannelColumn, CalibrationMemory::kChannels> columns_;
    CalibrationMemory memory_;
    ReferenceValues references_;
    Stage stage_ = Stage::Zero;
    bool sampling_ = false;
    // 1 on a resistance instrument, whose channel 0 takes no part; 0 otherwise.
    int firstChannel_ = 0;
    // Held exactly while a stage samples.
    std::optional<PollingPause> samplingPause_;
    // Moves at every change of stage or sampling, so a tick that waited for the link through
    // such a change does not judge the new stage by the old one.
    int phase_ = 0;
    // PanelState::ReadingsReceived at the last sampling tick, or at the start of the sampling.
    std::uint64_t readingsSeen_ = 0;
    bool tickRunning_ = false;
    bool nextRunning_ = false;
    bool locked_ = false;
    bool restartPending_ = false;
};
