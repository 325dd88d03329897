#pragma once

#include <array>
#include <cstdint>

namespace sim {

inline constexpr int kOutputs = 8;

enum class OutputType { Off = 0, On = 1, High = 2, Low = 3, Band = 4 };

// One alarm output as the outputs table sets it.
struct OutputSetting {
    int type = 0;     // OutputType code, 0 to 4
    int input = 1;    // channel 1 to 8
    int trigger = 20; // in the instrument's temperature unit
    int band = 1;
    int hysteresis = 1;
    int polarity = 0; // 0 normal, 1 inverted

    bool operator==(const OutputSetting&) const = default;
};

// The eight outputs: HIGH trips above the trigger and releases at or below trigger minus
// hysteresis; LOW trips below the trigger and releases at or above trigger plus hysteresis;
// BAND trips when the input is further than the band from the trigger and releases once it is
// back within band minus hysteresis. Inverted polarity drives the output while not in alarm.
class AlarmOutputs {
public:
    AlarmOutputs();

    const OutputSetting& Setting(int output) const { return settings_[output - 1]; }
    // A type 0 to 4, an input 1 to 8 and a polarity 0 or 1.
    static bool Valid(const OutputSetting& setting);
    // Changing an output starts its alarm afresh, judged at the next evaluation. An output
    // number outside 1 to 8 or an invalid setting changes nothing and gives false.
    bool Set(int output, const OutputSetting& setting);

    // Readings of channels 0 to 8 in the instrument's temperature unit.
    void Evaluate(const std::array<double, 9>& readings);

    bool Active(int output) const;
    // Bit n-1 set when output n is active.
    std::uint8_t States() const;

private:
    std::array<OutputSetting, kOutputs> settings_{};
    std::array<bool, kOutputs> in_alarm_{};
};

} // namespace sim
