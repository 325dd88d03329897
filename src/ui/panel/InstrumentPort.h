#pragma once

#include "base/SettingsStore.h"
#include "protocol/ClusterLink.h"

#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>

// What the windows need of the serial port object (SerialPort1): the cluster link of the frame
// layer, the port's own settings in section "Comms", opening and closing, the port name, the
// ports present, the received-cluster event and a device that goes away and comes back. The
// program forwards it to the instrument link.
class InstrumentPort : public protocol::ClusterLink {
public:
    virtual void RestoreSettings(SettingsStore& store) = 0;
    virtual void StoreSettings(SettingsStore& store) = 0;
    virtual void SetBaudRate(std::uint32_t baudRate) = 0;
    virtual bool Active() = 0;
    virtual void SetActive(bool active) = 0;
    virtual std::string CommPort() = 0;
    virtual void SetCommPort(const std::string& name) = 0;
    // Why the port is not open: the port's last open failure, or the loss of its device while
    // it is waited for, with the system's error, in the system's 8-bit text; empty while it is
    // open or when no open has failed.
    virtual std::string LastOpenFailure() = 0;
    // Appends each serial port present that the list lacks, as SetCommPort opens it.
    virtual void AddPortsPresent(QStringList& names) = 0;
    // Called on the UI thread once per received cluster.
    virtual void SetOnRxClusterEvent(std::function<void()> handler) = 0;
    // The port is open but its device went away; the port opens it again by itself as soon as
    // it is back. The handler is called on the UI thread when it goes and when it is back.
    virtual bool DeviceLost() = 0;
    virtual void SetOnDeviceChange(std::function<void()> handler) = 0;
};
