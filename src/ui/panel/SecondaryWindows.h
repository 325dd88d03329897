#pragma once

#include "protocol/MessageCatalogue.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

// What the main window's buttons and the reply handlers do to the windows created after it.
// Only the program's composition sees the window classes themselves.

// Every secondary window: shown and hidden by the main window's buttons, closed with it.
class SecondaryWindow {
public:
    virtual ~SecondaryWindow() = default;
    virtual bool IsShown() const = 0;
    virtual void SetShown(bool shown) = 0;
    // Stores its settings and hides; the main window's close runs it.
    virtual void CloseWindow() = 0;
};

class ChartWindow : public SecondaryWindow {
public:
    // The sampling period follows the poll interval (seconds x 1000).
    virtual void SetSamplingPeriod(int milliseconds) = 0;
};

class ConfigurationWindow : public SecondaryWindow {
public:
    // The status reply's fields; the flag sets the four radio groups.
    virtual void ApplyStatus(const protocol::InstrumentStatus& status) = 0;
    // The window's width for the model, and whether the log pointer reset (bZeroLog) is offered.
    virtual void ShowModelLayout(int width, bool zeroLogShown) = 0;
    // One alarm output as the instrument reported it.
    virtual void ShowAlarmOutput(const protocol::AlarmOutputSetting& output) = 0;
    // Closes the serial port and opens the selected one again (cbPortChange); the polling
    // cycle runs it when the instrument keeps failing to answer.
    virtual void ReselectPort() = 0;
    // The port's device went away: the main window says so, this window why. When the port
    // has opened it again, everything goes on as after a re-selection.
    virtual void DeviceGone() = 0;
    virtual void DeviceBack() = 0;
};

class ChannelWindow : public SecondaryWindow {
public:
    // "Channel " + number + " configuration".
    virtual void ShowChannelCaption(int channel) = 0;
    // The main window has switched it to another channel and polled that channel.
    virtual void MarkChannelSwitched() = 0;
    virtual void Repaint() = 0;
    // Rebuilds the sensor type list for the input mode and the channel shown.
    virtual void SetSensorType() = 0;
    // A channel configuration reply: the sensor type code and the m and c fields as received.
    virtual void ApplyChannelReply(int channel, int typeCode, const QString& m,
                                   const QString& c) = 0;
};

class CalibrationWindow : public SecondaryWindow {
public:
    // bRestartClick: back to the zero stage; every status reply runs it.
    virtual void Restart() = 0;
    // A channel configuration reply, with the name of its sensor type for the input mode.
    virtual void ApplyChannelReply(int channel, int typeCode, const QString& typeName,
                                   const QString& m, const QString& c) = 0;
    virtual void ShowSerialNumber(const QString& serialNumber) = 0;
};

// The comms-transaction log: the frame layer appends one line per received cluster while it
// is active. A write that fails is the log's own business; reception goes on.
class CommsLogSink {
public:
    virtual ~CommsLogSink() = default;
    virtual bool CommsLogActive() = 0;
    // The line without its line end, as Windows-1252 bytes.
    virtual void WriteCommsLogLine(const std::string& line) = 0;
};

class EngineeringWindow : public SecondaryWindow, public CommsLogSink {
public:
    // The 32 register texts of the 'X' reply, register 0 first.
    virtual void ShowRegisters(const QStringList& registers) = 0;
    // The filter constant as received; the mains flag when it was a number (true: 60 Hz).
    virtual void ShowFilterConstant(const QString& constant, std::optional<bool> sixtyHertz) = 0;
};

class AboutBox {
public:
    virtual ~AboutBox() = default;
    virtual void ShowModal() = 0;
};
