// vxxx: the Vxxx instruments from the command line, for scripts and unattended logging.
#include "Commands.h"
#include "StopSignal.h"

#include <exception>
#include <iostream>

// Whatever goes wrong ends the run with a message and a status, never with an abort and a core.
int main(int argc, char** argv) try {
    CLI::App app("vxxx: a V420 or V630 instrument from the command line.", "vxxx");
    app.set_version_flag("--version", "vxxx " VXXX_VERSION);
    app.footer(kExitStatusHelp);
    app.require_subcommand(1);
    ConnectionOptions connection;
    AddConnectionOptions(app, connection);
    CommandRun run;
    AddStatusCommands(app, run, connection);
    AddReadCommand(app, run, connection);
    AddLogCommands(app, run, connection);
    AddOutputsCommands(app, run, connection);
    AddChannelCommand(app, run, connection);
    try {
        app.parse(argc, argv);
        CheckConnectionOptions(connection);
    } catch (const CLI::ParseError& error) {
        // Help and the version are results; anything else is a usage error.
        return app.exit(error) == 0 ? 0 : static_cast<int>(ExitCode::Usage);
    }
    CatchStopSignals();
    return static_cast<int>(run());
} catch (const std::exception& error) {
    std::cerr << "vxxx: stopped by an internal fault: " << error.what() << '\n';
    return static_cast<int>(ExitCode::NotDone);
}
