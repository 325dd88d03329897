#include "CommandLine.h"

#include <array>
#include <string_view>

namespace {

bool IsModel(const std::string& text) {
    return text == "V420" || text == "V630";
}

// The options Qt's application object takes out of the command line itself; each may start
// with one dash or two.
// clang-format off
constexpr std::array<std::string_view, 18> kQtOptionsWithValue = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowtitle", "title", "qwindowicon", "icon", "session", "display", "name", "visual",
    "ncols", "cmap", "style", "stylesheet"};
constexpr std::array<std::string_view, 6> kQtFlags = {
    "reverse", "testability", "nograb", "dograb", "widgetcount", "sync"};
constexpr std::array<std::string_view, 3> kQtOptionsWithAttachedValue = {
    "style=", "stylesheet=", "qmljsdebugger="};
// clang-format on

// The option's name without its dashes, or nothing when the text is not a Qt-style option.
std::optional<std::string_view> QtOptionName(std::string_view argument) {
    if (argument.starts_with("--")) {
        argument.remove_prefix(2);
    } else if (argument.starts_with('-')) {
        argument.remove_prefix(1);
    } else {
        return std::nullopt;
    }
    return argument;
}

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::array<std::string_view, N>& names) {
    for (const std::string_view candidate : names) {
        if (name == candidate) {
            return true;
        }
    }
    return false;
}

bool HasAttachedValue(std::string_view name) {
    for (const std::string_view prefix : kQtOptionsWithAttachedValue) {
        if (name.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

} // namespace

PanelCommandLine ParsePanelCommandLine(const std::vector<std::string>& arguments) {
    PanelCommandLine result;
    for (std::size_t i = 0; i < arguments.size() && result.error.empty(); ++i) {
        const std::string& argument = arguments[i];
        const auto qtName = QtOptionName(argument);
        if (argument == "--help" || argument == "-h") {
            result.help = true;
        } else if (argument == "--version") {
            result.version = true;
        } else if (argument == "--port") {
            if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
                result.error = "--port needs a port name";
            } else {
                result.port = arguments[++i];
            }
        } else if (argument == "--simulate") {
            result.simulatedModel = "V630";
            // A word after it is the model, so a mistyped one is not taken for a file.
            if (i + 1 < arguments.size() && !arguments[i + 1].starts_with('-')) {
                if (!IsModel(arguments[i + 1])) {
                    result.error = "--simulate takes V420 or V630, not " + arguments[i + 1];
                }
                result.simulatedModel = arguments[++i];
            }
        } else if (qtName && IsOneOf(*qtName, kQtOptionsWithValue)) {
            if (i + 1 == arguments.size()) {
                result.error = argument + " needs a value";
            }
            ++i;
        } else if (qtName && (IsOneOf(*qtName, kQtFlags) || HasAttachedValue(*qtName))) {
            // Qt's own.
        } else if (!qtName && !argument.empty()) {
            if (result.file) {
                result.error = "one file at a time: " + argument;
            }
            result.file = argument;
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
    return "Usage: control-panel [--port NAME] [--simulate [V420|V630]] [FILE]\n"
           "  --port NAME       open this serial port for this run (a name without '/' opens\n"
           "                    /dev/NAME); the port stored in the settings stays as it is\n"
           "  --simulate MODEL  run a simulated instrument inside the program and connect to it\n"
           "                    (V630 when no model is given)\n"
           "  FILE              show this logged file (a download, a PC log or chart data) in\n"
           "                    the chart window\n"
           "  --help            show this text\n"
           "  --version         show the program's version\n"
           "Qt's own options (-platform NAME, -style NAME, -reverse ...) are accepted too.\n";
}

std::string PanelVersion() {
    return std::string("control-panel (Vxxx Control Panel) ") + VXXX_VERSION + "\n";
}
