#pragma once

#include "base/SettingsStore.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>

// The panel's settings file, read only, as the panel writes it through QSettings' INI format:
// "[Section]" lines, then "name=value" lines, a name with '%' escapes ("%20" for a blank), a
// value plain or in double quotes with backslash escapes. A missing file holds no values.
class PanelSettingsFile final : public SettingsStore {
public:
    // Far more than the panel ever writes: a larger file is not its settings, and is not read.
    static constexpr std::size_t kLargestFile = 256 * 1024;

    explicit PanelSettingsFile(const std::string& path);

    // The values of the file's text, (section, name) to value.
    using Values = std::map<std::pair<std::string, std::string>, std::string>;
    static Values Parse(std::string_view text);

    // Why a file that is there could not be read; empty when it was read or is missing.
    const std::string& Problem() const { return problem_; }

    std::optional<std::string> ReadValue(const std::string& key, const std::string& section,
                                         const std::string& name) override;
    // The tool never changes the panel's settings.
    void WriteValue(const std::string& key, const std::string& section, const std::string& name,
                    const std::string& value) override;

private:
    Values values_;
    std::string problem_;
};
