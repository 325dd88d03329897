#pragma once

#include "base/SettingsStore.h"

#include <QString>
#include <memory>

class QSettings;

// The per-user settings through QSettings: on Windows the registry key under
// HKEY_CURRENT_USER, elsewhere "<last part of the key>.ini" in the user's configuration folder
// ($XDG_CONFIG_HOME, default ~/.config), sections as INI groups. Every write is on disk (or
// reported as failed) before it returns.
//
// A settings file that QSettings cannot read is renamed to "<file>.unreadable-<stamp>" (never
// over an earlier one) before it is used, so the program starts from the defaults and its
// close can store the settings again; the operator learns of it from TakeSetAsideNotice.
class IniSettingsStore final : public SettingsStore {
public:
    std::optional<std::string> ReadValue(const std::string& key, const std::string& section,
                                         const std::string& name) override;
    void WriteValue(const std::string& key, const std::string& section, const std::string& name,
                    const std::string& value) override;

    // Which file was set aside and where it was kept, or could not be; empty when nothing was,
    // and after the first call.
    QString TakeSetAsideNotice();

    // Where the settings of that key live.
    static QString Location(const std::string& key);

private:
    std::unique_ptr<QSettings> Open(const std::string& key);
    void SetAside(const QString& file);

    QString setAsideNotice_;
};
