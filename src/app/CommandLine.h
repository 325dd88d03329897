#pragma once

#include <optional>
#include <string>
#include <vector>

// control-panel [--port NAME] [--simulate [V420|V630]]
struct PanelCommandLine {
    // The port to open for this run instead of the stored one.
    std::optional<std::string> port;
    // The model of the built-in simulator to connect to.
    std::optional<std::string> simulatedModel;
    bool help = false;
    std::string error; // empty when the arguments were understood
};

// The arguments without the program name.
PanelCommandLine ParsePanelCommandLine(const std::vector<std::string>& arguments);

std::string PanelUsage();
