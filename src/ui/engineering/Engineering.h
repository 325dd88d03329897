#pragma once

#include "CommsLog.h"
#include "protocol/MessageCatalogue.h"
#include "ui/panel/PanelContext.h"
#include "ui/panel/SecondaryForm.h"

#include <QWidget>
#include <array>
#include <memory>

class QCloseEvent;
class QLineEdit;

namespace Ui {
class TfRTC;
}

// The engineering window, reachable only with "Diagnostic Level" bit 0x02: reads and writes the
// instrument's 32 clock registers (and keeps them in a file), its filter constant with the mains
// flag, and switches the comms-transaction log that the frame layer writes.
//
// It lives for the whole run; its close stores its place and hides it, and the comms log goes
// on meanwhile. The main window's close at the end of the program (CloseWindow) also ends the
// comms log, so the file is closed properly however the program ends.
class TfRTC : public SecondaryForm<EngineeringWindow> {
    Q_OBJECT

public:
    explicit TfRTC(const PanelContext& context, QWidget* parent = nullptr);
    ~TfRTC() override;

    // EngineeringWindow
    void CloseWindow() override;
    bool CommsLogActive() override;
    void WriteCommsLogLine(const std::string& line) override;
    void ShowRegisters(const QStringList& registers) override;
    void ShowFilterConstant(const QString& constant, std::optional<bool> sixtyHertz) override;

    void eregChange(QLineEdit* box);
    void bRefreshClick();
    void bSendClick();
    void bSaveClick();
    void bLoadClick();
    void bFilterConstantRefreshClick();
    void bFilterConstantSendClick();
    void bLogCommsClick();
    void bCloseClick();

protected:
    // Only with "Diagnostic Level" bit 0x02.
    bool MayShow() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kRegisterCount = protocol::RegistersReply::kRegisterCount;

    void FormCreate();
    void CreateRegisterBoxes();
    void ColourBox(QLineEdit* box, const QColor& colour);
    QStringList ScreenRegisters() const;
    void ShowLogging(bool logging);
    void StopCommsLog();
    // A failure the operator must learn of: in a box, or on standard error once the program is
    // closing and nobody is there to answer one.
    void Report(const QString& message);
    QString Stamp() const;

    std::unique_ptr<Ui::TfRTC> ui;
    std::array<QLineEdit*, kRegisterCount> ereg_{};
    PanelContext context_;
    CommsLog commsLog_;
};
