#pragma once

#include "base/Clock.h"
#include "sim/AlarmOutputs.h"
#include "sim/CivilTime.h"
#include "sim/InputSignals.h"
#include "sim/InstrumentLog.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// System flag bits of the status message.
inline constexpr std::uint8_t kFlagFahrenheit = 0x01;
inline constexpr std::uint8_t kFlagAudible = 0x02;
inline constexpr std::uint8_t kFlagAutoscan = 0x04;
inline constexpr std::uint8_t kFlagLogging = 0x10;
inline constexpr std::uint8_t kFlagResistanceInputs = 0x80;

// How the instrument is built and how it starts.
struct InstrumentOptions {
    std::string model = "V630"; // "V420" or "V630"
    InputFamily inputs = InputFamily::Thermocouple;
    bool fahrenheit = false;
    std::string firmware = "2.1"; // three characters, major digit first
    std::int64_t records = 0;     // logged records already in memory at start
    std::uint32_t seed = 1;       // the bench noise repeats for the same seed
    std::vector<InputStep> steps;
};

// Sensor type and linear scaling y = m x + c of one channel. m = 0 is the uncalibrated state
// that the calibration's reset leaves: the raw signal passes with only c added.
struct ChannelSetup {
    int type_code = 0;
    double m = 1.0;
    double c = 0.0;

    bool operator==(const ChannelSetup&) const = default;
};

// What the instrument measured last, channels 0 to 8.
struct Readings {
    std::array<double, kChannels> celsius{};
    std::array<double, kChannels> raw{};  // mV of thermocouple inputs; ohms of PT100
                                          // inputs and of the cold-junction sensor
    std::array<double, kChannels> lead{}; // PT100 lead resistance, ohms
};

// The instrument: its clock, settings, channels, outputs and log, measuring the bench inputs
// twice a second on the time of an injected clock.
class InstrumentModel {
public:
    static constexpr std::uint32_t kMeasurementMilliseconds = 500;

    InstrumentModel(const InstrumentOptions& options, Clock& clock);

    // Runs every measurement due up to the clock's present time.
    void Update();

    const std::string& ModelName() const { return options_.model; }
    const std::string& Firmware() const { return options_.firmware; }
    InputFamily Family() const { return options_.inputs; }
    CivilTime Now() const;
    std::uint8_t Flags() const { return flags_; }
    bool Fahrenheit() const { return (flags_ & kFlagFahrenheit) != 0; }
    int AutoscanInterval() const { return autoscan_seconds_; }
    int LoggingInterval() const { return logging_seconds_; }
    const Readings& Latest() const { return latest_; }
    // The latest temperatures in the unit the instrument is set to now.
    std::array<double, kChannels> Temperatures() const;
    const ChannelSetup& Channel(int channel) const { return channels_[channel]; }
    const AlarmOutputs& Outputs() const { return outputs_; }
    // The outputs as driven: none on the V420, which has no output stage.
    std::uint8_t OutputStates() const;
    const InstrumentLog& Log() const { return log_; }
    const std::string& Serial() const { return serial_; }
    // The 32 clock-chip registers, two characters each.
    std::string Registers() const;
    const std::string& FilterConstant() const { return filter_constant_; }
    bool Mains60Hz() const { return mains_60hz_; }

    void SetClock(const CivilTime& time);
    // The resistance-inputs bit belongs to the build and is kept whatever is sent.
    void SetFlags(std::uint8_t flags);
    void SetAutoscanInterval(int seconds) { autoscan_seconds_ = seconds; }
    void SetLoggingInterval(int seconds);
    // A type code this channel cannot take leaves its type as it was; m and c are taken.
    void SetChannel(int channel, std::optional<int> type_code, double m, double c);
    bool SetOutput(int output, const OutputSetting& setting);
    void ResetLog() { log_.Clear(); }
    void TestLogMemory() { log_.Clear(); }
    void SaveFactoryCalibration() { factory_ = channels_; }
    void RestoreFactoryCalibration() { channels_ = factory_; }
    void SetSerial(std::string_view serial);
    // 64 characters, register 00 first; false (and nothing changed) for any other length.
    // Valid time registers also set the clock.
    bool WriteRegisters(std::string_view text);
    void SetFilter(std::string_view constant, bool mains_60hz);
    // Moves a channel now, or at its time after the start.
    void Step(const InputStep& step);

    static constexpr std::size_t kSerialLength = 32;

private:
    bool TypeCodeFits(int channel, int type_code) const;
    CivilTime TimeAt(std::uint64_t at_milliseconds) const;
    std::array<int, kChannels> TypeCodes() const;
    void Measure(std::uint64_t at_milliseconds);
    Readings Convert(const RawSample& sample) const;
    void LogIfDue(std::uint64_t at_milliseconds);
    void ApplyStep(const InputStep& step);
    void FillLogAtStart(std::int64_t records);

    InstrumentOptions options_;
    Clock& clock_;
    std::uint32_t last_tick_;
    std::uint64_t elapsed_milliseconds_ = 0;
    std::uint64_t next_measurement_ = 0;
    std::int64_t clock_offset_milliseconds_ = 0; // instrument time minus elapsed time

    std::uint8_t flags_ = 0;
    int autoscan_seconds_ = 2;
    int logging_seconds_ = 60;
    std::uint64_t next_log_ = 0;

    std::array<ChannelSetup, kChannels> channels_{};
    std::array<ChannelSetup, kChannels> factory_{};
    AlarmOutputs outputs_;
    InstrumentLog log_;
    std::string serial_ = "20190919133931";
    std::array<std::string, 32> registers_{};
    std::string filter_constant_ = "08";
    bool mains_60hz_ = false;

    InputSignals signals_;
    std::vector<InputStep> pending_steps_;
    Readings latest_{};
};

} // namespace sim
