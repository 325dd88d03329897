#include "PanelSettings.h"
#include "PanelSettingsFile.h"

#include <cstdlib>

namespace {

std::string SettingsFilePath() {
    const char* configuration = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (configuration != nullptr && *configuration != '\0') {
        folder = configuration;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home != nullptr ? home : "") + "/.config";
    }
    return folder + "/Vxxx Control Panel.ini";
}

} // namespace

std::unique_ptr<SettingsStore> OpenPanelSettings(std::string& problem) {
    auto file = std::make_unique<PanelSettingsFile>(SettingsFilePath());
    problem = file->Problem();
    return file;
}
