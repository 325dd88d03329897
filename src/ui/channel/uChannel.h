#pragma once

#include "ui/panel/PanelContext.h"

#include <QWidget>

// The channel configuration window. For now it carries what the main window calls.
class TfChannel : public QWidget, public ChannelWindow {
    Q_OBJECT

public:
    explicit TfChannel(const PanelContext& context, QWidget* parent = nullptr);

    // ChannelWindow
    bool IsShown() const override { return isVisible(); }
    void SetShown(bool shown) override { setVisible(shown); }
    void CloseWindow() override { close(); }
    void ShowChannelCaption(int channel) override;
    void MarkChannelSwitched() override {}
    void Repaint() override { repaint(); }
    void SetSensorType() override {}
    void ApplyChannelReply(int, int, const QString&, const QString&) override {}

private:
    PanelContext context_;
};
