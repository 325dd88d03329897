#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A framed reply as the panel's receive handler sees it: checked by the BCC rule (the XOR of
// everything between STX and the first ETX, ETX included, must be the byte after it) and
// handed on without its STX, still ending with ETX and BCC.
inline std::optional<std::string> PanelPayload(const std::string& cluster) {
    if (cluster.size() < 2 || cluster[0] != '\x02') {
        return std::nullopt;
    }
    std::uint8_t check = 0;
    std::size_t check_at = cluster.size() - 1;
    for (std::size_t index = 1; index + 1 < cluster.size(); ++index) {
        check ^= static_cast<std::uint8_t>(cluster[index]);
        if (cluster[index] == '\x03') {
            check_at = index + 1;
            break;
        }
    }
    if (static_cast<std::uint8_t>(cluster[check_at]) != check) {
        return std::nullopt;
    }
    return cluster.substr(1);
}

// Characters `from` to `to` of a payload, counted from 1.
inline std::string Field(const std::string& payload, std::size_t from, std::size_t to) {
    return from >= 1 && from <= payload.size() ? payload.substr(from - 1, to - from + 1) : "";
}
