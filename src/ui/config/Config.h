#pragma once

#include "ui/panel/InstrumentPort.h"
#include "ui/panel/PanelContext.h"

#include <QWidget>

// The system configuration window. For now it carries what the main window calls: the serial
// port restart, the status and model adaptation, the alarm output and logged record replies.
class TForm3 : public QWidget, public ConfigurationWindow {
    Q_OBJECT

public:
    TForm3(InstrumentPort& serialPort, const PanelContext& context, QWidget* parent = nullptr);

    // Closes the serial port and opens the selected one again, relabels the main window and
    // asks for the status, so the caption shows whether the instrument answers.
    void cbPortChange();

    // ConfigurationWindow
    bool IsShown() const override { return isVisible(); }
    void SetShown(bool shown) override { setVisible(shown); }
    void CloseWindow() override { close(); }
    void ApplyStatus(const InstrumentStatus& status) override { status_ = status; }
    void ShowModelLayout(int width, bool zeroLogShown) override;
    void ShowAlarmOutput(const AlarmOutputSetting&) override {}
    void StoreLoggedRecord(const std::string&) override {}
    void ReselectPort() override { cbPortChange(); }

private:
    InstrumentPort& serialPort_;
    PanelContext context_;
    InstrumentStatus status_;
    bool zeroLogShown_ = false;
};
