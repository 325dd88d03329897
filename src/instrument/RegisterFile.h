#pragma once

#include "protocol/RequestBuilders.h"

#include <cstddef>
#include <string_view>

// The register file: one line per clock register, register 0 first, "1F=3C" for register 1F
// holding 3C, each line ended by CR LF, in Windows-1252.
namespace RegisterFile {

// 32 lines of seven bytes: a file much larger is no register file, and is not read
// (ReadBoundedFile).
inline constexpr std::size_t kLargestFile = 4096;

// The register texts the file holds: the lines are taken in order whatever number they start
// with, each giving its characters 4 and 5 (fewer when the line is shorter); lines past the end
// of the file give empty texts. Lines end with LF or CR LF.
protocol::RegisterTexts Parse(std::string_view bytes);

} // namespace RegisterFile
