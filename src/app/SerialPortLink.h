#pragma once

#include "serial/SerialPort.h"
#include "ui/panel/InstrumentPort.h"

#include <optional>
#include <string>
#include <utility>

// The main window's port on a TSerialPort. A port given for this run only (command line,
// built-in simulator) is opened instead of the stored one and never replaces it in the store.
// It listens to the port's messages for the reason of a failed open or a lost device.
class SerialPortLink final : public InstrumentPort {
public:
    SerialPortLink(TSerialPort& port, std::optional<std::string> portForThisRun);
    ~SerialPortLink() override;
    SerialPortLink(const SerialPortLink&) = delete;
    SerialPortLink& operator=(const SerialPortLink&) = delete;

    void SendText(const std::string& text) override { port_.SendText(text); }
    std::int32_t PeekClusterSize() override { return port_.PeekClusterSize(); }
    std::string TakeClusterText() override { return port_.TakeClusterText(); }
    std::int32_t PeekClusterError() override { return port_.PeekClusterError(); }

    void RestoreSettings(SettingsStore& store) override;
    void StoreSettings(SettingsStore& store) override;
    void SetBaudRate(std::uint32_t baudRate) override { port_.SetBaudRate(baudRate); }
    bool Active() override { return port_.Active(); }
    void SetActive(bool active) override;
    std::string CommPort() override { return port_.CommPort(); }
    void SetCommPort(const std::string& name) override;
    std::string LastOpenFailure() override;
    void AddPortsPresent(QStringList& names) override;
    void SetOnRxClusterEvent(std::function<void()> handler) override;
    void SetCompleteReplyRule(std::function<bool(std::string_view)> rule) override {
        port_.SetCompleteReplyRule(std::move(rule));
    }
    bool DeviceLost() override { return port_.DeviceLost(); }
    void SetOnDeviceChange(std::function<void()> handler) override;

private:
    TSerialPort& port_;
    std::optional<std::string> portForThisRun_;
    std::string lastOpenFailure_;
    std::string lossReason_;
};
