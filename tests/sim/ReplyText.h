#pragma once

#include "protocol/FrameCharacters.h"
#include "protocol/FrameLayer.h"

#include <optional>
#include <string>

// A framed reply as the panel's receive handler sees it: a cluster that starts with STX, fits
// the check's range and passes the panel's BCC check, handed on without its STX, still ending
// with ETX and BCC.
inline std::optional<std::string> PanelPayload(const std::string& cluster) {
    if (cluster.empty() || cluster.front() != protocol::kStx ||
        cluster.size() > protocol::FrameLayer::kMaxCluster ||
        !protocol::FrameLayer::CheckBcc(cluster)) {
        return std::nullopt;
    }
    return cluster.substr(1);
}

// Characters `from` to `to` of a payload, counted from 1.
inline std::string Field(const std::string& payload, std::size_t from, std::size_t to) {
    return from >= 1 && from <= payload.size() ? payload.substr(from - 1, to - from + 1) : "";
}
