#include "InstrumentLink.h"

#include "InstrumentLine.h"
#include "protocol/FrameLayer.h"

#include <cerrno>
#include <exception>
#include <system_error>
#include <utility>

namespace {

const std::string kComms = "Comms";
const std::string kCommPort = "CommPort";
// The port's messages when the device does not open and when it has gone, whose code is the
// system's error number; when another device took its path ("Error device not taken"), and
// when stored settings were out of range.
constexpr std::uint32_t kOpenFailedMessage = 112;
constexpr std::uint32_t kDeviceLostMessage = 120;
constexpr std::uint32_t kDeviceNotTakenMessage = 122;
constexpr std::uint32_t kSettingsOutOfRangeMessage = 403;

LinkProblem::Kind KindOf(std::uint32_t error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return LinkProblem::Kind::NoSuchDevice;
    case EBUSY:
        return LinkProblem::Kind::InUse;
    case EACCES:
    case EPERM:
        return LinkProblem::Kind::PermissionDenied;
    default:
        return LinkProblem::Kind::Other;
    }
}

// The store as the port sees it: "Active" reads as off, so that restoring never opens the port
// before its handlers and rules are in place, and a port for this run stands in for the stored
// one, which it never replaces.
class PortSettings final : public SettingsStore {
public:
    PortSettings(SettingsStore& store, const std::optional<std::string>& portForThisRun)
        : store_(store), port_(portForThisRun) {}

    std::optional<std::string> ReadValue(const std::string& key, const std::string& section,
                                         const std::string& name) override {
        if (section == kComms && name == "Active") {
            return "0";
        }
        if (section == kComms && name == kCommPort && port_) {
            return *port_;
        }
        return store_.ReadValue(key, section, name);
    }
    void WriteValue(const std::string& key, const std::string& section, const std::string& name,
                    const std::string& value) override {
        if (!(section == kComms && name == kCommPort && port_)) {
            store_.WriteValue(key, section, name, value);
        }
    }

private:
    SettingsStore& store_;
    const std::optional<std::string>& port_;
};

} // namespace

std::string LinkProblem::SystemText() const {
    return systemError == 0 ? std::string()
                            : std::system_category().message(static_cast<int>(systemError));
}

std::unique_ptr<InstrumentLink> InstrumentLink::Make(UiHandOver& handOver, Clock& clock,
                                                     const LinkChoice& choice,
                                                     std::string& failure) {
    std::unique_ptr<BuiltInSimulator> simulator;
    if (choice.simulatedModel) {
        try {
            simulator = AttachBuiltInSimulator(*choice.simulatedModel);
        } catch (const std::exception& error) {
            failure = std::string("the simulator cannot start: ") + error.what();
            return nullptr;
        }
    }
    std::unique_ptr<InstrumentLink> link(
        new InstrumentLink(handOver, clock, simulator ? simulator->Port() : choice.port,
                           simulator ? simulator->TakeDevice() : MakeSystemSerialDevice()));
    link->simulator_ = std::move(simulator);
    return link;
}

InstrumentLink::InstrumentLink(UiHandOver& handOver, Clock& clock,
                               std::optional<std::string> portForThisRun,
                               std::unique_ptr<SerialDevice> device)
    : port_(handOver, clock, std::move(device)), portForThisRun_(std::move(portForThisRun)) {
    port_.SetCompleteReplyRule(&protocol::FrameLayer::IsCompleteReply);
    port_.OnProcessError = [this](TSerialPort&, std::uint32_t place, std::uint32_t code,
                                  const std::string& message, std::uint8_t) {
        if (place == kOpenFailedMessage) {
            openFailure_ = LinkProblem{KindOf(code), code, message};
        } else if (place == kDeviceLostMessage) {
            loss_ = LinkProblem{KindOf(code), code, message};
        } else if (place == kDeviceNotTakenMessage) {
            loss_ = LinkProblem{LinkProblem::Kind::Other, 0, message};
            if (deviceChange_) {
                deviceChange_();
            }
        } else if (place == kSettingsOutOfRangeMessage) {
            settingsNotice_ = message;
        }
    };
}

InstrumentLink::~InstrumentLink() {
    // Closed first: the worker looks at the handlers only while the port is open.
    port_.SetActive(false);
    port_.OnRxClusterEvent = nullptr;
    port_.OnDeviceLost = nullptr;
    port_.OnDeviceBack = nullptr;
    port_.OnProcessError = nullptr;
}

void InstrumentLink::RestoreSettings(SettingsStore& store) {
    PortSettings settings(store, portForThisRun_);
    port_.RestoreSettings(settings, kSettingsKey, kComms);
}

void InstrumentLink::StoreSettings(SettingsStore& store) {
    PortSettings settings(store, portForThisRun_);
    port_.StoreSettings(settings, kSettingsKey, kComms);
}

void InstrumentLink::SetActive(bool active) {
    if (active) {
        openFailure_.reset();
    }
    port_.SetActive(active);
}

void InstrumentLink::SetCommPort(const std::string& name) {
    if (port_.Active()) {
        openFailure_.reset();
    }
    port_.SetCommPort(name);
}

std::optional<LinkProblem> InstrumentLink::Open(SettingsStore& store) {
    RestoreSettings(store);
    port_.SetBaudRate(kInstrumentBaudRate);
    SetActive(true);
    if (port_.Active()) {
        return std::nullopt;
    }
    return openFailure_.value_or(LinkProblem{});
}

std::optional<LinkProblem> InstrumentLink::Problem() const {
    if (port_.DeviceLost()) {
        return loss_;
    }
    return port_.Active() ? std::nullopt : openFailure_;
}

void InstrumentLink::SetOnReceived(std::function<void()> handler) {
    port_.OnRxClusterEvent =
        handler ? TNotifyEvent([handler = std::move(handler)](TSerialPort&) { handler(); })
                : nullptr;
}

void InstrumentLink::SetOnDeviceChange(std::function<void()> handler) {
    deviceChange_ = std::move(handler);
    port_.OnDeviceLost =
        deviceChange_ ? TNotifyEvent([this](TSerialPort&) { deviceChange_(); }) : nullptr;
    port_.OnDeviceBack = port_.OnDeviceLost;
}

std::string InstrumentLink::TakeSettingsNotice() {
    return std::exchange(settingsNotice_, {});
}
