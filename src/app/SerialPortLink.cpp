#include "SerialPortLink.h"

#include "serial/PortList.h"

#include <system_error>

namespace {

const std::string kComms = "Comms";
const std::string kCommPort = "CommPort";
// The port's messages when the device does not open ("Error reopening Port") and when it has
// gone ("Error device lost"); their code is the system's error number.
constexpr std::uint32_t kOpenFailedMessage = 112;
constexpr std::uint32_t kDeviceLostMessage = 120;

std::string WithSystemError(const std::string& message, std::uint32_t code) {
    return message + ": " + std::system_category().message(static_cast<int>(code)) + " (" +
           std::to_string(code) + ")";
}

// The store as the port sees it during a run on another port: "CommPort" reads as that port,
// and the port's own write of it leaves the stored name alone.
class RunPortStore final : public SettingsStore {
public:
    RunPortStore(SettingsStore& store, const std::string& port) : store_(store), port_(port) {}

    std::optional<std::string> ReadValue(const std::string& key, const std::string& section,
                                         const std::string& name) override {
        if (section == kComms && name == kCommPort) {
            return port_;
        }
        return store_.ReadValue(key, section, name);
    }
    void WriteValue(const std::string& key, const std::string& section, const std::string& name,
                    const std::string& value) override {
        if (!(section == kComms && name == kCommPort)) {
            store_.WriteValue(key, section, name, value);
        }
    }

private:
    SettingsStore& store_;
    const std::string& port_;
};

} // namespace

SerialPortLink::SerialPortLink(TSerialPort& port, std::optional<std::string> portForThisRun)
    : port_(port), portForThisRun_(std::move(portForThisRun)) {
    port_.OnProcessError = [this](TSerialPort&, std::uint32_t place, std::uint32_t code,
                                  const std::string& message, std::uint8_t) {
        if (place == kOpenFailedMessage) {
            lastOpenFailure_ = WithSystemError(message, code);
        } else if (place == kDeviceLostMessage) {
            lossReason_ = WithSystemError(message, code);
        }
    };
}

SerialPortLink::~SerialPortLink() {
    port_.OnProcessError = nullptr;
}

void SerialPortLink::SetActive(bool active) {
    if (active) {
        lastOpenFailure_.clear();
    }
    port_.SetActive(active);
}

void SerialPortLink::SetCommPort(const std::string& name) {
    if (port_.Active()) {
        lastOpenFailure_.clear();
    }
    port_.SetCommPort(name);
}

std::string SerialPortLink::LastOpenFailure() {
    if (port_.DeviceLost()) {
        return lossReason_;
    }
    return port_.Active() ? std::string() : lastOpenFailure_;
}

void SerialPortLink::AddPortsPresent(QStringList& names) {
    FillPortList(names);
}

void SerialPortLink::RestoreSettings(SettingsStore& store) {
    if (portForThisRun_) {
        RunPortStore runStore(store, *portForThisRun_);
        port_.RestoreSettings(runStore, kSettingsKey, kComms);
    } else {
        port_.RestoreSettings(store, kSettingsKey, kComms);
    }
}

void SerialPortLink::StoreSettings(SettingsStore& store) {
    if (portForThisRun_) {
        RunPortStore runStore(store, *portForThisRun_);
        port_.StoreSettings(runStore, kSettingsKey, kComms);
    } else {
        port_.StoreSettings(store, kSettingsKey, kComms);
    }
}

void SerialPortLink::SetOnRxClusterEvent(std::function<void()> handler) {
    if (handler) {
        port_.OnRxClusterEvent = [handler = std::move(handler)](TSerialPort&) { handler(); };
    } else {
        port_.OnRxClusterEvent = nullptr;
    }
}

void SerialPortLink::SetOnDeviceChange(std::function<void()> handler) {
    port_.OnDeviceLost =
        handler ? TNotifyEvent([handler = std::move(handler)](TSerialPort&) { handler(); })
                : nullptr;
    port_.OnDeviceBack = port_.OnDeviceLost;
}
