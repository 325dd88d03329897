#include "SensorTypes.h"

#include <algorithm>
#include <cctype>

const std::vector<std::string>& SensorTypeNames(std::optional<protocol::InputFamily> inputs,
                                                int channel) {
    static const std::vector<std::string> kResistance{"PT100"};
    static const std::vector<std::string> kThermocouple{"J", "K", "T", "E", "N", "R", "S", "B"};
    return inputs == protocol::InputFamily::Resistance || channel == 0 ? kResistance
                                                                       : kThermocouple;
}

bool IsSensorTypeCode(int code, std::optional<protocol::InputFamily> inputs, int channel) {
    return code >= 0 && code < static_cast<int>(SensorTypeNames(inputs, channel).size());
}

std::string SensorTypeName(int code, std::optional<protocol::InputFamily> inputs, int channel) {
    return IsSensorTypeCode(code, inputs, channel) ? SensorTypeNames(inputs, channel)[code]
                                                   : std::string();
}

std::optional<int> SensorTypeCode(std::string_view name,
                                  std::optional<protocol::InputFamily> inputs, int channel) {
    const std::vector<std::string>& names = SensorTypeNames(inputs, channel);
    const auto same = [name](const std::string& candidate) {
        return std::equal(candidate.begin(), candidate.end(), name.begin(), name.end(),
                          [](char a, char b) {
                              return std::toupper(static_cast<unsigned char>(a)) ==
                                     std::toupper(static_cast<unsigned char>(b));
                          });
    };
    const auto found = std::find_if(names.begin(), names.end(), same);
    if (found == names.end()) {
        return std::nullopt;
    }
    return static_cast<int>(found - names.begin());
}
