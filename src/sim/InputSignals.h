#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string_view>

namespace sim {

inline constexpr int kChannels = 9; // 0 is the cold junction, 1 to 8 the inputs

enum class InputFamily { Thermocouple, Resistance };

// What is connected to a channel's terminals: the bench's own slowly drifting signal, a fixed
// temperature, or a fixed raw signal (millivolts on a thermocouple input, ohms on a PT100 input
// and on the cold-junction sensor), as a calibrator would give.
struct InputLevel {
    enum class Kind { Free, Celsius, Raw };
    Kind kind = Kind::Free;
    double value = 0.0;
};

// A move of one channel asked for on the command line or in the control file:
// "CH=VALUE" a temperature in the instrument's unit, "CH=VALUEmV" or "CH=VALUER" a raw signal,
// "CH=free" back to the bench signal; "@SECONDS" delays the move to that time after the start.
struct InputStep {
    int channel = 1;
    InputLevel::Kind kind = InputLevel::Kind::Free;
    double value = 0.0; // degrees in the instrument's unit, or the raw signal
    double after_seconds = 0.0;
};
std::optional<InputStep> ParseInputStep(std::string_view text);

// The signals at the terminals at one moment, before the instrument's scaling.
struct RawSample {
    double cold_junction_celsius = 25.0;
    std::array<double, kChannels> raw{};  // [0] cold-junction ohms; inputs mV or ohms
    std::array<double, kChannels> lead{}; // lead resistance of PT100 inputs, ohms
};

// The bench: every input near room temperature with its own slow drift, the cold junction
// near 25 degrees, PT100 leads near 0.3 ohm, all with a little repeatable noise. The noise
// stays below the calibration's settling thresholds so a steady input settles.
class InputSignals {
public:
    explicit InputSignals(std::uint32_t seed);

    void Set(int channel, InputLevel level);
    RawSample Sample(double seconds, InputFamily family,
                     const std::array<int, kChannels>& type_codes);

private:
    struct Channel {
        double base_celsius;
        double drift_celsius;
        double drift_period_seconds;
        double drift_phase;
        double lead_ohms;
        InputLevel level;
    };
    double Noise(double amplitude);
    double BenchCelsius(const Channel& channel, double seconds);
    double Celsius(const Channel& channel, double seconds);

    std::mt19937 random_;
    std::array<Channel, kChannels> channels_{};
};

} // namespace sim
