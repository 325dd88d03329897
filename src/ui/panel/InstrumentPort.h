#pragma once

#include "protocol/ClusterLink.h"
#include "serial/SettingsStore.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// What the main window needs of its serial port object (SerialPort1): the cluster link of the
// frame layer, the port's own settings in section "Comms", opening and closing, the port
// name, and the received-cluster event. The program forwards it to its TSerialPort.
class InstrumentPort : public ClusterLink {
public:
    virtual void RestoreSettings(SettingsStore& store) = 0;
    virtual void StoreSettings(SettingsStore& store) = 0;
    virtual void SetBaudRate(std::uint32_t baudRate) = 0;
    virtual bool Active() = 0;
    virtual void SetActive(bool active) = 0;
    virtual std::string CommPort() = 0;
    virtual void SetCommPort(const std::string& name) = 0;
    // Why the port is not open: the port's last open failure with the system's error, in the
    // system's 8-bit text; empty while it is open or when no open has failed.
    virtual std::string LastOpenFailure() = 0;
    // Called on the UI thread once per received cluster.
    virtual void SetOnRxClusterEvent(std::function<void()> handler) = 0;
    // The rule by which a cluster ends as soon as one whole reply has arrived, called on the
    // serial worker's thread; a port that hands over every reply whole has no use for it.
    virtual void SetCompleteReplyRule(std::function<bool(std::string_view received)>) {}
};
