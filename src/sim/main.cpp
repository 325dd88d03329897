// vxxx-sim: a V420/V630 instrument on a pseudo-terminal for the panel to talk to.
#include "sim/CommandLine.h"
#include "sim/InstrumentServer.h"

#include <csignal>
#include <exception>
#include <iostream>
#include <pthread.h>

// Whatever goes wrong ends the run with a message and a status, never with an abort and a core.
int main(int argc, char** argv) try {
    sim::CommandLine command = sim::ParseCommandLine({argv + 1, argv + argc});
    if (command.help) {
        std::cout << sim::Usage();
        return 0;
    }
    if (command.version) {
        std::cout << "vxxx-sim (Vxxx Control Panel) " VXXX_VERSION "\n";
        return 0;
    }
    if (!command.error.empty()) {
        std::cerr << "vxxx-sim: " << command.error << "\n\n" << sim::Usage();
        return 2;
    }

    // The signals that end the run are taken by sigwait below, never by a serving thread.
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGINT);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    command.options.on_new_path = [](const std::string& path) { std::cout << path << std::endl; };
    sim::InstrumentServer server(std::move(command.options));
    try {
        server.Start();
    } catch (const std::exception& error) {
        std::cerr << "vxxx-sim: " << error.what() << '\n';
        return 1;
    }
    std::cout << server.Path() << std::endl;

    int signal_number = 0;
    sigwait(&ending, &signal_number);
    server.Stop();
    return 0;
} catch (const std::exception& error) {
    std::cerr << "vxxx-sim: stopped by an internal fault: " << error.what() << '\n';
    return 1;
}
