#include "ConnectionOptions.h"

void AddConnectionOptions(CLI::App& app, ConnectionOptions& options) {
    app.add_option("--port", options.port,
                   "The serial port: a name under /dev (ttyUSB0) or a path. Without it, the "
                   "port stored by the control panel ([Comms] CommPort)")
        ->type_name("PATH");
    app.add_option("--simulate", options.simulate,
                   "Talk to the built-in simulator of a V420 or V630 (default V630) instead of "
                   "a port")
        ->expected(0, 1)
        ->default_str("V630")
        ->check(CLI::IsMember({"V420", "V630"}))
        ->type_name("MODEL");
    app.add_option("--timeout", options.timeoutMs,
                   "How long to wait for each answer, in milliseconds (default 3000; 1000 for a "
                   "record of log download)")
        ->check(CLI::Range(1u, 600000u))
        ->type_name("MS");
    app.add_option("--attempts", options.attempts,
                   "How many times to ask before giving up (default 3; 1 for each reading of "
                   "read)")
        ->check(CLI::Range(1, 100))
        ->type_name("N");
}

CLI::App* AddInstrumentCommand(CLI::App& parent, const std::string& name,
                               const std::string& description, ConnectionOptions& options) {
    CLI::App* command = parent.add_subcommand(name, description);
    AddConnectionOptions(*command, options);
    return command;
}

void CheckConnectionOptions(const ConnectionOptions& options) {
    if (!options.port.empty() && !options.simulate.empty()) {
        throw CLI::ValidationError("--simulate", "excludes --port");
    }
}
