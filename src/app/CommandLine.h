#pragma once

#include <optional>
#include <string>
#include <vector>

// control-panel [--port NAME] [--simulate [V420|V630]] [FILE] [--help] [--version], read before
// any window system is touched, so that the answering options work without a display. Qt's own
// options (-platform NAME, -style NAME, -reverse ...) are passed over and left to Qt.
struct PanelCommandLine {
    // The port to open for this run instead of the stored one.
    std::optional<std::string> port;
    // The model of the built-in simulator to connect to.
    std::optional<std::string> simulatedModel;
    // A logged file to show in the chart window.
    std::optional<std::string> file;
    bool help = false;
    bool version = false;
    std::string error; // empty when the arguments were understood
};

// The arguments without the program name.
PanelCommandLine ParsePanelCommandLine(const std::vector<std::string>& arguments);

std::string PanelUsage();
// The program's name and version, one line.
std::string PanelVersion();
