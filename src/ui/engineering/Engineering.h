#pragma once

#include "ui/panel/PanelContext.h"

#include <QWidget>

// The engineering window. For now it carries what the main window calls.
class TfRTC : public QWidget, public EngineeringWindow {
    Q_OBJECT

public:
    explicit TfRTC(const PanelContext& context, QWidget* parent = nullptr);

    // EngineeringWindow
    bool IsShown() const override { return isVisible(); }
    void SetShown(bool shown) override { setVisible(shown); }
    void CloseWindow() override { close(); }
    bool CommsLogActive() override { return false; }
    void WriteCommsLogLine(const std::string&) override {}
    void ShowRegisters(const QStringList&) override {}
    void ShowFilterConstant(const QString&, std::optional<bool>) override {}

private:
    PanelContext context_;
};
