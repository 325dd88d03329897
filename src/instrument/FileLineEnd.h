#pragma once

#include <string_view>

// Every line of the files the program writes (PC log, download, alarm table) ends so.
inline constexpr std::string_view kFileLineEnd = "\r\n";
