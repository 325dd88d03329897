#pragma once

#include "ui/main/InstrumentPort.h"

#include <deque>
#include <string>
#include <vector>

// The main window's serial port without a device: records what is sent and what is done to it,
// and delivers the clusters a test gives it at once, as the hand-over would.
class FakeInstrumentPort final : public InstrumentPort {
public:
    void SendText(const std::string& text) override { sent.push_back(text); }
    std::int32_t PeekClusterSize() override {
        return queued_.empty() ? -1 : static_cast<std::int32_t>(queued_.front().size());
    }
    std::string TakeClusterText() override {
        if (queued_.empty()) {
            return {};
        }
        std::string cluster = queued_.front();
        queued_.pop_front();
        return cluster;
    }
    std::int32_t PeekClusterError() override { return queued_.empty() ? -1 : 0; }

    void RestoreSettings(SettingsStore& store) override {
        operations.push_back("RestoreSettings");
        commPort = ReadText(store, "Comms", "CommPort", commPort);
    }
    void StoreSettings(SettingsStore& store) override {
        operations.push_back("StoreSettings");
        store.WriteValue(kSettingsKey, "Comms", "CommPort", commPort);
    }
    void SetBaudRate(std::uint32_t rate) override {
        operations.push_back("SetBaudRate " + std::to_string(rate));
    }
    bool Active() override { return active; }
    void SetActive(bool on) override {
        operations.push_back(on ? "Open" : "Close");
        active = on;
    }
    std::string CommPort() override { return commPort; }
    void SetCommPort(const std::string& name) override { commPort = name; }
    void SetOnRxClusterEvent(std::function<void()> handler) override { onRx_ = std::move(handler); }

    // A cluster from the instrument, handled at once.
    void Receive(const std::string& cluster) {
        queued_.push_back(cluster);
        if (onRx_) {
            onRx_();
        }
    }

    std::vector<std::string> sent;
    std::vector<std::string> operations;
    bool active = false;
    std::string commPort = "COM2";

private:
    std::deque<std::string> queued_;
    std::function<void()> onRx_;
};
