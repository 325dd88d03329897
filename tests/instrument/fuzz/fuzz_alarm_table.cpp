// Every line of a table file is a setting in range that writes back as it reads, or is skipped.
#include "instrument/AlarmTable.h"
#include "support/FuzzRequire.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const AlarmTable::FileContent content = AlarmTable::ParseFile(bytes);
    const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    REQUIRE(content.settings.size() + content.skippedLines.size() ==
            lines + (bytes.empty() || bytes.ends_with('\n') ? 0 : 1));
    for (const protocol::AlarmOutputSetting& setting : content.settings) {
        REQUIRE(InRange(setting));
        REQUIRE(AlarmTable::ParseFileLine(AlarmTable::FileLine(setting)) == setting);
    }
    return 0;
}
