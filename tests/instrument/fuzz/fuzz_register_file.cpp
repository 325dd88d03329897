// A register file gives 32 texts of at most two characters, each from within one line.
#include "instrument/RegisterFile.h"
#include "support/FuzzRequire.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& text : RegisterFile::Parse(bytes)) {
        REQUIRE(text.size() <= 2 && text.find('\n') == std::string::npos);
    }
    return 0;
}
