#include "sim/AlarmOutputs.h"

#include <cmath>

namespace sim {

AlarmOutputs::AlarmOutputs() {
    for (int output = 1; output <= kOutputs; ++output) {
        settings_[output - 1].input = output;
    }
}

bool AlarmOutputs::Valid(const OutputSetting& setting) {
    return setting.type >= 0 && setting.type <= 4 && setting.input >= 1 && setting.input <= 8 &&
           (setting.polarity == 0 || setting.polarity == 1);
}

bool AlarmOutputs::Set(int output, const OutputSetting& setting) {
    if (output < 1 || output > kOutputs || !Valid(setting)) {
        return false;
    }
    settings_[output - 1] = setting;
    in_alarm_[output - 1] = false;
    return true;
}

void AlarmOutputs::Evaluate(const std::array<double, 9>& readings) {
    for (int index = 0; index < kOutputs; ++index) {
        const OutputSetting& setting = settings_[index];
        const double value = readings[setting.input];
        bool& alarm = in_alarm_[index];
        switch (static_cast<OutputType>(setting.type)) {
        case OutputType::High:
            alarm = alarm ? value > setting.trigger - setting.hysteresis : value > setting.trigger;
            break;
        case OutputType::Low:
            alarm = alarm ? value < setting.trigger + setting.hysteresis : value < setting.trigger;
            break;
        case OutputType::Band: {
            const double deviation = std::fabs(value - setting.trigger);
            alarm =
                alarm ? deviation > setting.band - setting.hysteresis : deviation > setting.band;
            break;
        }
        case OutputType::Off:
        case OutputType::On:
            alarm = false;
            break;
        }
    }
}

bool AlarmOutputs::Active(int output) const {
    const OutputSetting& setting = settings_[output - 1];
    switch (static_cast<OutputType>(setting.type)) {
    case OutputType::Off:
        return false;
    case OutputType::On:
        return true;
    default:
        return in_alarm_[output - 1] != (setting.polarity == 1);
    }
}

std::uint8_t AlarmOutputs::States() const {
    std::uint8_t states = 0;
    for (int output = 1; output <= kOutputs; ++output) {
        if (Active(output)) {
            states |= static_cast<std::uint8_t>(1u << (output - 1));
        }
    }
    return states;
}

} // namespace sim
