#pragma once

#include "ui/panel/InstrumentPort.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The serial port without a device: records what is sent and what is done to it. A cluster
// given to Receive is handled at once, as the hand-over would; an answer from the responder
// arrives later, when the message pump next runs (Deliver), as a real reply arrives inside a
// sender's wait.
class FakeInstrumentPort final : public InstrumentPort {
public:
    // Gives the instrument's answer to a frame sent, or nothing for silence.
    using Responder = std::function<std::optional<std::string>(const std::string& frame)>;

    void SendText(const std::string& text) override {
        sent.push_back(text);
        if (responder) {
            if (auto answer = responder(text)) {
                answers_.push_back(std::move(*answer));
            }
        }
    }
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
        active = on && openRefusal.empty();
    }
    std::string CommPort() override { return commPort; }
    void SetCommPort(const std::string& name) override {
        operations.push_back("CommPort " + name);
        commPort = name;
    }
    std::string LastOpenFailure() override { return active ? std::string() : openRefusal; }
    void AddPortsPresent(QStringList& names) override { names += portsPresent; }
    void SetOnRxClusterEvent(std::function<void()> handler) override { onRx_ = std::move(handler); }
    bool DeviceLost() override { return lost; }
    void SetOnDeviceChange(std::function<void()>) override {}

    // A cluster from the instrument, handled at once.
    void Receive(const std::string& cluster) {
        queued_.push_back(cluster);
        if (onRx_) {
            onRx_();
        }
    }
    // Hands over the responder's answers given so far.
    void Deliver() {
        while (!answers_.empty()) {
            std::string answer = std::move(answers_.front());
            answers_.pop_front();
            Receive(answer);
        }
    }

    Responder responder;
    std::vector<std::string> sent;
    std::vector<std::string> operations;
    bool active = false;
    std::string commPort = "COM2";
    // When set, every open fails for this reason.
    std::string openRefusal;
    bool lost = false;
    QStringList portsPresent;

private:
    std::deque<std::string> queued_;
    std::deque<std::string> answers_;
    std::function<void()> onRx_;
};
