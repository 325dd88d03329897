#pragma once

#include "instrument/InstrumentLink.h"
#include "ui/panel/InstrumentPort.h"

#include <string>
#include <utility>

// The windows' port on the instrument link, with the list of the serial ports present.
class SerialPortLink final : public InstrumentPort {
public:
    explicit SerialPortLink(InstrumentLink& link) : link_(link) {}

    void SendText(const std::string& text) override { link_.SendText(text); }
    std::int32_t PeekClusterSize() override { return link_.PeekClusterSize(); }
    std::string TakeClusterText() override { return link_.TakeClusterText(); }
    std::int32_t PeekClusterError() override { return link_.PeekClusterError(); }

    void RestoreSettings(SettingsStore& store) override { link_.RestoreSettings(store); }
    void StoreSettings(SettingsStore& store) override { link_.StoreSettings(store); }
    void SetBaudRate(std::uint32_t baudRate) override { link_.SetBaudRate(baudRate); }
    bool Active() override { return link_.Active(); }
    void SetActive(bool active) override { link_.SetActive(active); }
    std::string CommPort() override { return link_.CommPort(); }
    void SetCommPort(const std::string& name) override { link_.SetCommPort(name); }
    // The port's message and the system's error: "Error reopening Port: Permission denied (13)".
    std::string LastOpenFailure() override;
    void AddPortsPresent(QStringList& names) override;
    void SetOnRxClusterEvent(std::function<void()> handler) override {
        link_.SetOnReceived(std::move(handler));
    }
    bool DeviceLost() override { return link_.DeviceLost(); }
    void SetOnDeviceChange(std::function<void()> handler) override {
        link_.SetOnDeviceChange(std::move(handler));
    }
    std::string TakeSettingsNotice() { return link_.TakeSettingsNotice(); }

private:
    InstrumentLink& link_;
};
