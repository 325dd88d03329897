#pragma once

#include "protocol/MessageCatalogue.h"

#include <QString>
#include <QWidget>
#include <string>

class TForm1;

// The instrument's settings that the status reply brings to this window.
struct InstrumentStatus {
    QString date;       // "dd/mm/yy"
    QString time;       // "hh:mm:ss"
    QString systemFlag; // two hexadecimal characters as received
    int autoScanInterval = 2;
    int loggedRecordCount = 512;
    int loggingInterval = 60;
};

// The system configuration window. For now it carries what the main window calls: the serial
// port restart, the status and model adaptation, the alarm output and logged record replies.
class TForm3 : public QWidget {
    Q_OBJECT

public:
    explicit TForm3(TForm1& mainWindow, QWidget* parent = nullptr);

    // Closes the serial port and opens the selected one again, relabels the main window and
    // asks for the status, so the caption shows whether the instrument answers.
    void cbPortChange();

    void ApplyStatus(const InstrumentStatus& status);
    // The window's width and whether the log pointer reset (bZeroLog) is offered.
    void ShowModelLayout(int width, bool zeroLogShown);
    void ShowAlarmOutput(const AlarmOutputSetting& output);
    // The last logged record and its received flag, for the download.
    void StoreLoggedRecord(const std::string& payload);

    const InstrumentStatus& Status() const { return status_; }
    bool ZeroLogShown() const { return zeroLogShown_; }

private:
    TForm1& mainWindow_;
    InstrumentStatus status_;
    bool zeroLogShown_ = false;
};
