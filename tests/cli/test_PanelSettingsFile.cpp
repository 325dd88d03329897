#include "cli/PanelSettingsFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Values as QSettings writes them in its INI format.
TEST(PanelSettingsFile, ReadsTheValuesAsThePanelWroteThem) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("vxxx-ini-" + std::to_string(getpid()));
    std::ofstream(path) << "[Control]\r\nDiagnostic%20Level=30\r\nCommPort=elsewhere\r\n\r\n"
                           "[Comms]\nCommPort=\"/dev/serial/by-id/usb-rig 1, left\"\n"
                           "XONChar=\\x11\nParityErrorChar=\\0\nEventChar=\"a\\\"b\\\\\"\n"
                           "; a remark=x\nBaudRate = 9600 \n";
    PanelSettingsFile file(path.string());
    struct Case {
        std::string section, name;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"Control", "Diagnostic Level", "30"},
        {"Comms", "CommPort", "/dev/serial/by-id/usb-rig 1, left"},
        {"Comms", "XONChar", "\x11"},
        {"Comms", "ParityErrorChar", std::string(1, '\0')},
        {"Comms", "EventChar", "a\"b\\"},
        {"Comms", "BaudRate", "9600"},
        {"Comms", "; a remark", std::nullopt},
        {"Comms", "Active", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(file.ReadValue(kSettingsKey, c.section, c.name), c.value) << c.name;
    }
    EXPECT_TRUE(file.Problem().empty());
    // A file far larger than any the panel writes is not its settings: the defaults are used.
    std::ofstream(path, std::ios::app) << std::string(PanelSettingsFile::kLargestFile, ';');
    EXPECT_FALSE(PanelSettingsFile(path.string()).Problem().empty());
    EXPECT_FALSE(PanelSettingsFile(path.string()).ReadValue(kSettingsKey, "Comms", "BaudRate"));
    std::filesystem::remove(path);
    EXPECT_FALSE(PanelSettingsFile(path.string()).ReadValue(kSettingsKey, "Comms", "CommPort"));
}

} // namespace
