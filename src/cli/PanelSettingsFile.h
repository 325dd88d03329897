#pragma once

#include "base/SettingsStore.h"

#include <map>
#include <string>
#include <utility>

// The panel's settings file, read only, as the panel writes it through QSettings' INI format:
// "[Section]" lines, then "name=value" lines, a name with '%' escapes ("%20" for a blank), a
// value plain or in double quotes with backslash escapes. A missing file holds no values.
class PanelSettingsFile final : public SettingsStore {
public:
    explicit PanelSettingsFile(const std::string& path);

    // Why a file that is there could not be read; empty when it was read or is missing.
    const std::string& Problem() const { return problem_; }

    std::optional<std::string> ReadValue(const std::string& key, const std::string& section,
                                         const std::string& name) override;
    // The tool never changes the panel's settings.
    void WriteValue(const std::string& key, const std::string& section, const std::string& name,
                    const std::string& value) override;

private:
    void ReadLine(const std::string& line, std::string& section);

    std::map<std::pair<std::string, std::string>, std::string> values_;
    std::string problem_;
};
