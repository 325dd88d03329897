#include "SerialPortLink.h"

namespace {

const std::string kComms = "Comms";
const std::string kCommPort = "CommPort";

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
    : port_(port), portForThisRun_(std::move(portForThisRun)) {}

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
