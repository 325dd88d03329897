#include "CommandLine.h"

namespace {

bool IsModel(const std::string& text) {
    return text == "V420" || text == "V630";
}

} // namespace

PanelCommandLine ParsePanelCommandLine(const std::vector<std::string>& arguments) {
    PanelCommandLine result;
    for (std::size_t i = 0; i < arguments.size() && result.error.empty(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            result.help = true;
        } else if (argument == "--port") {
            if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
                result.error = "--port needs a port name";
            } else {
                result.port = arguments[++i];
            }
        } else if (argument == "--simulate") {
            result.simulatedModel = "V630";
            if (i + 1 < arguments.size() && IsModel(arguments[i + 1])) {
                result.simulatedModel = arguments[++i];
            }
        } else {
            result.error = "unknown argument " + argument;
        }
    }
    if (result.error.empty() && result.port && result.simulatedModel) {
        result.error = "--port and --simulate exclude each other";
    }
    return result;
}

std::string PanelUsage() {
    return "Usage: control-panel [--port NAME] [--simulate [V420|V630]]\n"
           "  --port NAME       open this serial port for this run (a name without '/' opens\n"
           "                    /dev/NAME); the port stored in the settings stays as it is\n"
           "  --simulate MODEL  run a simulated instrument inside the program and connect to it\n"
           "                    (V630 when no model is given)\n";
}
