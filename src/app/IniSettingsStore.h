#pragma once

#include "serial/SettingsStore.h"

#include <QString>

// The per-user settings through QSettings: on Windows the registry key under
// HKEY_CURRENT_USER, elsewhere "<last part of the key>.ini" in the user's configuration folder
// ($XDG_CONFIG_HOME, default ~/.config), sections as INI groups. Every write is on disk (or
// reported as failed) before it returns.
class IniSettingsStore final : public SettingsStore {
public:
    std::optional<std::string> ReadValue(const std::string& key, const std::string& section,
                                         const std::string& name) override;
    void WriteValue(const std::string& key, const std::string& section, const std::string& name,
                    const std::string& value) override;

    // Where the settings of that key live.
    static QString Location(const std::string& key);
};
