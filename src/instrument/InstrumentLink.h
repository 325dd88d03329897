#pragma once

#include "BuiltInSimulator.h"
#include "base/Clock.h"
#include "base/SettingsStore.h"
#include "protocol/ClusterLink.h"
#include "serial/SerialPort.h"
#include "serial/UiHandOver.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// Why the link to the instrument is not open: its port did not open, or its device went away.
struct LinkProblem {
    enum class Kind { NoSuchDevice, InUse, PermissionDenied, Other };
    Kind kind = Kind::Other;
    std::uint32_t systemError = 0; // the system's error number, 0 when it gave none
    std::string message;           // the port's own ("Error reopening Port", "Error device lost")

    // The system's text for the error ("Permission denied"), empty without one.
    std::string SystemText() const;
};

// The port of this run: one named for the run, the built-in simulator of a model ("V420",
// "V630"), or, with neither, the one stored in the panel's settings.
struct LinkChoice {
    std::optional<std::string> port;
    std::optional<std::string> simulatedModel;
};

// The one way both front ends open the link to the instrument: the port by its name or path
// with the port settings of the panel's settings ([Comms]), the run's own port in place of the
// stored one and never written back, the line's speed, the rule that ends a cluster as soon as
// one whole reply has come, the typed reason when the port does not open, and a report when its
// device goes away (with why) and when the port has opened it again. Every call and report runs
// on the thread that runs the hand-over's calls.
class InstrumentLink final : public protocol::ClusterLink {
public:
    // The link for this run, its simulator attached when one is chosen; nothing, with the reason
    // in `failure`, when the simulator cannot start.
    static std::unique_ptr<InstrumentLink> Make(UiHandOver& handOver, Clock& clock,
                                                const LinkChoice& choice, std::string& failure);
    ~InstrumentLink() override;
    InstrumentLink(const InstrumentLink&) = delete;
    InstrumentLink& operator=(const InstrumentLink&) = delete;

    void SendText(const std::string& text) override { port_.SendText(text); }
    std::int32_t PeekClusterSize() override { return port_.PeekClusterSize(); }
    std::string TakeClusterText() override { return port_.TakeClusterText(); }
    std::int32_t PeekClusterError() override { return port_.PeekClusterError(); }

    // The port's settings in section "Comms"; restoring them never opens the port.
    void RestoreSettings(SettingsStore& store);
    void StoreSettings(SettingsStore& store);
    void SetBaudRate(std::uint32_t baudRate) { port_.SetBaudRate(baudRate); }
    bool Active() const { return port_.Active(); }
    void SetActive(bool active);
    const std::string& CommPort() const { return port_.CommPort(); }
    void SetCommPort(const std::string& name);
    // The settings restored and the port opened at the instrument's speed; why it did not open.
    std::optional<LinkProblem> Open(SettingsStore& store);
    // Why the port is not open: the loss of its device while it is waited for, else its last
    // open failure; nothing while it is open or when no open has failed.
    std::optional<LinkProblem> Problem() const;
    // The port is open but its device went away; the port opens it again as soon as it is back.
    bool DeviceLost() const { return port_.DeviceLost(); }

    // Once per received cluster.
    void SetOnReceived(std::function<void()> handler);
    // When the device goes away, when it is back, and when another device took its path and was
    // left alone (DeviceLost and Problem tell which and why).
    void SetOnDeviceChange(std::function<void()> handler);
    // Which of the stored port settings were out of range and replaced by their defaults; empty
    // when none were, and after the first call.
    std::string TakeSettingsNotice();

private:
    InstrumentLink(UiHandOver& handOver, Clock& clock, std::optional<std::string> portForThisRun,
                   std::unique_ptr<SerialDevice> device);

    std::unique_ptr<BuiltInSimulator> simulator_; // first: it serves until the port has closed
    TSerialPort port_;
    std::optional<std::string> portForThisRun_;
    std::optional<LinkProblem> openFailure_;
    std::optional<LinkProblem> loss_;
    std::string settingsNotice_;
    std::function<void()> deviceChange_;
};
