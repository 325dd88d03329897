// Any text read as the panel's settings gives at most one value per line, no name or value
// longer than the text.
#include "cli/PanelSettingsFile.h"
#include "support/FuzzRequire.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const PanelSettingsFile::Values values = PanelSettingsFile::Parse(text);
    REQUIRE(values.size() <=
            static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    for (const auto& [where, value] : values) {
        REQUIRE(where.second.size() <= text.size() && value.size() <= text.size());
    }
    return 0;
}
