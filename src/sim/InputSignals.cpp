#include "sim/InputSignals.h"

#include "sim/FieldText.h"
#include "sim/Sensors.h"

#include <cmath>
#include <numbers>
#include <string>

namespace sim {

std::optional<InputStep> ParseInputStep(std::string_view text) {
    const auto equals = text.find('=');
    if (equals != 1 || text[0] < '0' || text[0] > '8') {
        return std::nullopt;
    }
    InputStep step;
    step.channel = text[0] - '0';
    std::string_view value = text.substr(2);
    if (const auto at = value.find('@'); at != value.npos) {
        const auto seconds = ParseNumber(value.substr(at + 1));
        if (!seconds || *seconds < 0) {
            return std::nullopt;
        }
        step.after_seconds = *seconds;
        value = value.substr(0, at);
    }
    if (value == "free") {
        return step;
    }
    step.kind = InputLevel::Kind::Celsius;
    for (const std::string_view unit : {"mV", "R"}) {
        if (value.size() > unit.size() && value.ends_with(unit)) {
            step.kind = InputLevel::Kind::Raw;
            value.remove_suffix(unit.size());
            break;
        }
    }
    const auto number = ParseNumber(value);
    if (!number) {
        return std::nullopt;
    }
    step.value = *number;
    return step;
}

InputSignals::InputSignals(std::uint32_t seed) : random_(seed) {
    for (int index = 0; index < kChannels; ++index) {
        Channel& channel = channels_[index];
        const bool cold_junction = index == 0;
        channel.base_celsius = (cold_junction ? 25.0 : 21.0) + Noise(cold_junction ? 0.3 : 0.8);
        channel.drift_celsius = cold_junction ? 0.1 : 0.45 + Noise(0.15);
        channel.drift_period_seconds = cold_junction ? 1200.0 : 600.0 + Noise(300.0);
        channel.drift_phase = std::numbers::pi * (1.0 + Noise(1.0));
        channel.lead_ohms = 0.3 + Noise(0.03);
    }
}

void InputSignals::Set(int channel, InputLevel level) {
    if (channel >= 0 && channel < kChannels) {
        channels_[channel].level = level;
    }
}

double InputSignals::Noise(double amplitude) {
    // Mapped by hand rather than through a distribution so every library gives the same run.
    const double unit = static_cast<double>(random_()) / static_cast<double>(random_.max());
    return amplitude * (2.0 * unit - 1.0);
}

double InputSignals::BenchCelsius(const Channel& channel, double seconds) {
    const double angle =
        2.0 * std::numbers::pi * seconds / channel.drift_period_seconds + channel.drift_phase;
    return channel.base_celsius + channel.drift_celsius * std::sin(angle);
}

double InputSignals::Celsius(const Channel& channel, double seconds) {
    const bool fixed = channel.level.kind == InputLevel::Kind::Celsius;
    return (fixed ? channel.level.value : BenchCelsius(channel, seconds)) + Noise(0.01);
}

RawSample InputSignals::Sample(double seconds, InputFamily family,
                               const std::array<int, kChannels>& type_codes) {
    RawSample sample;
    Channel& junction = channels_[0];
    sample.cold_junction_celsius = Celsius(junction, seconds);
    sample.raw[0] = junction.level.kind == InputLevel::Kind::Raw
                        ? junction.level.value + Noise(0.002)
                        : Pt100Resistance(sample.cold_junction_celsius);
    for (int index = 1; index < kChannels; ++index) {
        Channel& channel = channels_[index];
        const bool resistance = family == InputFamily::Resistance;
        if (channel.level.kind == InputLevel::Kind::Raw) {
            sample.raw[index] = channel.level.value + Noise(resistance ? 0.002 : 0.0004);
        } else if (resistance) {
            sample.raw[index] = Pt100Resistance(Celsius(channel, seconds));
        } else {
            sample.raw[index] = ThermocoupleSensitivity(type_codes[index]) *
                                (Celsius(channel, seconds) - sample.cold_junction_celsius);
        }
        sample.lead[index] = resistance ? channel.lead_ohms + Noise(0.001) : 0.0;
    }
    return sample;
}

} // namespace sim
