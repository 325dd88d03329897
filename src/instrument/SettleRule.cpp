#include "SettleRule.h"

#include <cmath>

namespace SettleRule {

float Threshold(std::optional<protocol::InputFamily> inputs, int channel) {
    constexpr float kResistance = 0.01f;
    constexpr float kThermocouple = 0.004f;
    if (inputs == protocol::InputFamily::Resistance || channel == 0) {
        return kResistance;
    }
    return kThermocouple;
}

bool Apply(int& countdown, float newReading, float previousReading, float threshold) {
    if (countdown == 0) {
        return true;
    }
    if (std::fabs(newReading - previousReading) >= threshold) {
        countdown = kSettledTicks;
        return false;
    }
    --countdown;
    return countdown == 0;
}

} // namespace SettleRule
