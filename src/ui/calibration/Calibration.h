#pragma once

#include "ui/panel/PanelContext.h"

#include <QWidget>

// The calibration window. For now it carries what the main window calls.
class TfCalibrate : public QWidget, public CalibrationWindow {
    Q_OBJECT

public:
    explicit TfCalibrate(const PanelContext& context, QWidget* parent = nullptr);

    // CalibrationWindow
    bool IsShown() const override { return isVisible(); }
    void SetShown(bool shown) override { setVisible(shown); }
    void CloseWindow() override { close(); }
    void Restart() override {}
    void ApplyChannelReply(int, int, const QString&, const QString&, const QString&) override {}
    void ShowSerialNumber(const QString&) override {}

private:
    PanelContext context_;
};
