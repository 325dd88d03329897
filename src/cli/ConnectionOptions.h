#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>

// The options every command that talks to the instrument takes, before the command or after it.
struct ConnectionOptions {
    std::string port;            // empty: the port stored in the panel's settings
    std::string simulate;        // "V420" or "V630": the built-in simulator instead of a port
    std::uint32_t timeoutMs = 0; // per attempt; 0: the command's own
    int attempts = 0;            // 0: the command's own
};

// --port, --simulate, --timeout, --attempts, on the program (before the command) or on a
// command (after it); both write the one set of options.
void AddConnectionOptions(CLI::App& app, ConnectionOptions& options);

// A command that talks to the instrument, with the connection options after its name.
CLI::App* AddInstrumentCommand(CLI::App& parent, const std::string& name,
                               const std::string& description, ConnectionOptions& options);

// The check between options, once all are parsed wherever they stood: a port and the simulator
// exclude each other. Throws CLI::ValidationError.
void CheckConnectionOptions(const ConnectionOptions& options);
