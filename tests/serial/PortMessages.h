#pragma once

#include "serial/SerialPort.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct PortMessage {
    std::uint32_t place;
    std::uint32_t code;
    std::string msg;
    std::uint8_t noise;
    bool operator==(const PortMessage&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const PortMessage& m) {
    return out << "{" << m.place << ", " << m.code << ", \"" << m.msg << "\", " << int(m.noise)
               << "}";
}

// Collects what a port reports through OnProcessError (run on the test's thread).
class PortMessages {
public:
    explicit PortMessages(TSerialPort& port) {
        port.OnProcessError = [this](TSerialPort&, std::uint32_t place, std::uint32_t code,
                                     const std::string& msg, std::uint8_t noise) {
            all.push_back({place, code, msg, noise});
        };
    }

    std::vector<std::uint32_t> Places() const {
        std::vector<std::uint32_t> places;
        for (const auto& m : all) {
            places.push_back(m.place);
        }
        return places;
    }

    std::size_t CountOf(std::uint32_t place) const {
        return static_cast<std::size_t>(std::count_if(
            all.begin(), all.end(), [&](const PortMessage& m) { return m.place == place; }));
    }

    std::vector<PortMessage> all;
};
