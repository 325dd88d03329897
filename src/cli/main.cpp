// vxxx: the Vxxx instruments from the command line, for scripts and unattended logging.
#include "Commands.h"
#include "StopSignal.h"

int main(int argc, char** argv) {
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
}
