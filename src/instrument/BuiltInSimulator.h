#pragma once

#include "serial/SerialDevice.h"

#include <memory>
#include <string>

// The simulated instrument built into the programs (--simulate), attached where the link opens
// its port: on POSIX a simulator serving a pseudo-terminal of its own for the whole run, which
// the port opens as it opens any serial device; on Windows, which has no pseudo-terminals, the
// port's device itself.
class BuiltInSimulator {
public:
    virtual ~BuiltInSimulator() = default;
    // The port the link opens to reach it.
    virtual std::string Port() const = 0;
    // The device through which the port opens it; called once.
    virtual std::unique_ptr<SerialDevice> TakeDevice() = 0;
};

// Starts the simulator of the model ("V420" or "V630"); throws std::exception when it cannot.
std::unique_ptr<BuiltInSimulator> AttachBuiltInSimulator(const std::string& model);
