#pragma once

#include <memory>
#include <string>

// The simulated instrument built into the programs (--simulate), attached where the link opens
// its port: on POSIX a simulator serving a pseudo-terminal of its own for the whole run.
class BuiltInSimulator {
public:
    virtual ~BuiltInSimulator() = default;
    // The port the link opens to reach it.
    virtual std::string Port() const = 0;
};

// Starts the simulator of the model ("V420" or "V630"); throws std::exception when it cannot.
std::unique_ptr<BuiltInSimulator> AttachBuiltInSimulator(const std::string& model);
