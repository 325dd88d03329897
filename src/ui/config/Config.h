#pragma once

#include "LogDownload.h"
#include "SendCheck.h"
#include "ui/panel/InstrumentPort.h"
#include "ui/panel/PanelContext.h"
#include "ui/panel/SecondaryForm.h"

#include <QWidget>
#include <memory>

class AlarmOutputsTable;
class QRadioButton;
namespace Ui {
class TForm3;
}

// The system configuration window: the serial port choice, the instrument's clock, flags and
// intervals as the status reply fills them, and the "S" request that writes them back. It lives
// for the whole run; closing it stores its settings and hides it. Its width follows the model:
// 230 shows the left column, 620 also the alarm outputs area (Panel1) on the right.
class TForm3 : public SecondaryForm<ConfigurationWindow> {
    Q_OBJECT

public:
    TForm3(InstrumentPort& serialPort, const PanelContext& context, QWidget* parent = nullptr);
    ~TForm3() override;

    // Polls 'S' each time the window is shown; the reply refreshes every control.
    void FormShow();
    void bCloseClick();
    // "Control Panel - connecting" on the main window, then the status poll.
    void bRefreshClick();
    // Checks the texts, asks, sends the "S" request, pauses 100 ms and reads the status back.
    void bSendClick();
    // One bit of the system flag text each; the operator's choice of the group's item.
    void gUnitClick();
    void gAudibleClick();
    void gAutoscanClick();
    void gLoggingClick();
    // Closes the serial port and opens the selected item of cbPort, relabels the main window
    // and asks for the status, so the caption shows whether the instrument answers there.
    void cbPortChange();
    // The instrument's log memory (ConfigLogMemory.cpp): the download of every logged record,
    // its cancel, the log pointer reset and the memory test.
    void bDownloadClick();
    void bCancelClick();
    void bZeroLogClick();
    void bTestExMClick();

    // ConfigurationWindow
    void ApplyStatus(const protocol::InstrumentStatus& status) override;
    void ShowModelLayout(int width, bool zeroLogShown) override;
    // The alarm outputs table in Panel1 takes it when every field is in range.
    void ShowAlarmOutput(const protocol::AlarmOutputSetting& output) override;
    void ReselectPort() override { cbPortChange(); }
    void DeviceGone() override;
    void DeviceBack() override;

protected:
    void showEvent(QShowEvent* event) override;
    // "PC Time", beside the window's place.
    void StoreOwnSettings() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void ConnectControls();
    // One exchange at a time: while one runs (exchangeRunning_), every control whose traffic
    // would interleave with it is disabled, and the operations it would start refuse.
    void LockForExchange(bool locked);

    // Port choice (ConfigPort.cpp). The list holds the ports present and the port in use,
    // refilled each time it drops down.
    void FillPortChoice();
    QString SelectedPort() const;
    // What follows the port opening again on that name: the main window relabelled, the port
    // state shown, the status asked for.
    void CarryOnOnPort(const QString& name);
    void cbPortTextEntered();
    void ShowPortState();

    // Flag bits (ConfigStatus.cpp). From the status reply a flag that is not hexadecimal is
    // left as it came, silently; the operator's own click reports it.
    enum class Report { Operator, Silent };
    void UpdateFlagBit(QRadioButton* firstItem, QRadioButton* secondItem, int mask, Report report);

    // Sending (ConfigSend.cpp).
    ConfigurationTexts TextsToSend() const;
    void FocusRefusedField(ConfigurationField field);

    std::unique_ptr<Ui::TForm3> ui;
    InstrumentPort& serialPort_;
    PanelContext context_;
    std::unique_ptr<AlarmOutputsTable> outputs_;
    std::unique_ptr<LogDownload> download_;
    bool exchangeRunning_ = false;
    // Until a status reply has filled the controls they hold the form's own texts, which
    // would clear the instrument's flags.
    bool statusApplied_ = false;
};
