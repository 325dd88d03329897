#include "sim/InstrumentModel.h"

#include "sim/ClockRegisters.h"
#include "sim/Sensors.h"

#include <algorithm>
#include <chrono>

namespace sim {

namespace {

constexpr int kThermocoupleK = 1;

std::int64_t MillisecondsOf(std::chrono::system_clock::time_point when) {
    const auto since = when.time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(since).count() % 1000;
}

std::array<double, kChannels> InUnit(std::array<double, kChannels> celsius, bool fahrenheit) {
    if (fahrenheit) {
        for (double& temperature : celsius) {
            temperature = CelsiusToFahrenheit(temperature);
        }
    }
    return celsius;
}

LoggedRecord RecordOf(const CivilTime& time, const std::array<double, kChannels>& temperatures) {
    LoggedRecord record;
    record.time = time;
    for (int channel = 1; channel < kChannels; ++channel) {
        record.values[channel - 1] = static_cast<float>(temperatures[channel]);
    }
    return record;
}

} // namespace

InstrumentModel::InstrumentModel(const InstrumentOptions& options, Clock& clock)
    : options_(options), clock_(clock), last_tick_(clock.TickCount()), signals_(options.seed) {
    const auto wall = clock_.Now();
    clock_offset_milliseconds_ = ToSeconds(LocalCivilTime(wall)) * 1000 + MillisecondsOf(wall);

    const bool resistance = options_.inputs == InputFamily::Resistance;
    flags_ = static_cast<std::uint8_t>((options_.fahrenheit ? kFlagFahrenheit : 0) |
                                       (resistance ? kFlagResistanceInputs : 0));
    for (int channel = 1; channel < kChannels; ++channel) {
        channels_[channel].type_code = resistance ? 0 : kThermocoupleK;
    }
    factory_ = channels_;
    registers_.fill("00");

    for (const InputStep& step : options_.steps) {
        Step(step);
    }
    FillLogAtStart(options_.records);
    Measure(0);
    next_measurement_ = kMeasurementMilliseconds;
}

void InstrumentModel::Update() {
    const std::uint32_t tick = clock_.TickCount();
    elapsed_milliseconds_ += static_cast<std::uint32_t>(tick - last_tick_);
    last_tick_ = tick;
    while (next_measurement_ <= elapsed_milliseconds_) {
        Measure(next_measurement_);
        next_measurement_ += kMeasurementMilliseconds;
    }
}

CivilTime InstrumentModel::Now() const {
    return TimeAt(elapsed_milliseconds_);
}

CivilTime InstrumentModel::TimeAt(std::uint64_t at_milliseconds) const {
    return FromMilliseconds(static_cast<std::int64_t>(at_milliseconds) +
                            clock_offset_milliseconds_);
}

std::array<int, kChannels> InstrumentModel::TypeCodes() const {
    std::array<int, kChannels> types{};
    for (int channel = 0; channel < kChannels; ++channel) {
        types[channel] = channels_[channel].type_code;
    }
    return types;
}

std::array<double, kChannels> InstrumentModel::Temperatures() const {
    return InUnit(latest_.celsius, Fahrenheit());
}

std::uint8_t InstrumentModel::OutputStates() const {
    return options_.model == "V420" ? 0 : outputs_.States();
}

std::string InstrumentModel::Registers() const {
    std::string text = ClockRegisterText(Now());
    for (std::size_t index = 7; index < registers_.size(); ++index) {
        text += registers_[index];
    }
    return text;
}

void InstrumentModel::SetClock(const CivilTime& time) {
    clock_offset_milliseconds_ =
        ToSeconds(time) * 1000 - static_cast<std::int64_t>(elapsed_milliseconds_);
}

void InstrumentModel::SetFlags(std::uint8_t flags) {
    const bool was_logging = (flags_ & kFlagLogging) != 0;
    flags_ = static_cast<std::uint8_t>((flags & ~kFlagResistanceInputs) |
                                       (flags_ & kFlagResistanceInputs));
    if (!was_logging && (flags_ & kFlagLogging) != 0) {
        next_log_ = elapsed_milliseconds_ + 1000ull * std::max(logging_seconds_, 1);
    }
}

void InstrumentModel::SetLoggingInterval(int seconds) {
    logging_seconds_ = seconds;
    next_log_ = elapsed_milliseconds_ + 1000ull * std::max(logging_seconds_, 1);
}

bool InstrumentModel::TypeCodeFits(int channel, int type_code) const {
    if (channel == 0 || options_.inputs == InputFamily::Resistance) {
        return type_code == 0;
    }
    return type_code >= 0 && type_code < kThermocoupleTypes;
}

void InstrumentModel::SetChannel(int channel, std::optional<int> type_code, double m, double c) {
    if (channel < 0 || channel >= kChannels) {
        return;
    }
    ChannelSetup& setup = channels_[channel];
    if (type_code && TypeCodeFits(channel, *type_code)) {
        setup.type_code = *type_code;
    }
    setup.m = m;
    setup.c = c;
}

bool InstrumentModel::SetOutput(int output, const OutputSetting& setting) {
    return outputs_.Set(output, setting);
}

void InstrumentModel::SetSerial(std::string_view serial) {
    serial_ = std::string(serial.substr(0, kSerialLength));
}

bool InstrumentModel::WriteRegisters(std::string_view text) {
    if (text.size() != 2 * registers_.size()) {
        return false;
    }
    if (const auto time = ClockFromRegisterText(text.substr(0, 14))) {
        SetClock(*time);
    }
    for (std::size_t index = 7; index < registers_.size(); ++index) {
        registers_[index] = std::string(text.substr(2 * index, 2));
    }
    return true;
}

void InstrumentModel::SetFilter(std::string_view constant, bool mains_60hz) {
    filter_constant_ = std::string(constant.substr(0, 2));
    mains_60hz_ = mains_60hz;
}

void InstrumentModel::Step(const InputStep& step) {
    const double now_seconds = static_cast<double>(elapsed_milliseconds_) / 1000.0;
    if (step.after_seconds <= now_seconds) {
        ApplyStep(step);
        return;
    }
    const auto later = std::upper_bound(
        pending_steps_.begin(), pending_steps_.end(), step,
        [](const InputStep& a, const InputStep& b) { return a.after_seconds < b.after_seconds; });
    pending_steps_.insert(later, step);
}

void InstrumentModel::ApplyStep(const InputStep& step) {
    double value = step.value;
    if (step.kind == InputLevel::Kind::Celsius && Fahrenheit()) {
        value = FahrenheitToCelsius(value);
    }
    signals_.Set(step.channel, InputLevel{step.kind, value});
}

void InstrumentModel::Measure(std::uint64_t at_milliseconds) {
    const double seconds = static_cast<double>(at_milliseconds) / 1000.0;
    while (!pending_steps_.empty() && pending_steps_.front().after_seconds <= seconds) {
        ApplyStep(pending_steps_.front());
        pending_steps_.erase(pending_steps_.begin());
    }
    latest_ = Convert(signals_.Sample(seconds, options_.inputs, TypeCodes()));
    outputs_.Evaluate(Temperatures());
    LogIfDue(at_milliseconds);
}

Readings InstrumentModel::Convert(const RawSample& sample) const {
    Readings readings;
    for (int channel = 0; channel < kChannels; ++channel) {
        const ChannelSetup& setup = channels_[channel];
        const double raw = sample.raw[channel];
        readings.raw[channel] = (setup.m == 0.0 ? raw : setup.m * raw) + setup.c;
        readings.lead[channel] = sample.lead[channel];
    }
    const double junction_celsius = Pt100Temperature(readings.raw[0]);
    readings.celsius[0] = junction_celsius;
    for (int channel = 1; channel < kChannels; ++channel) {
        readings.celsius[channel] =
            options_.inputs == InputFamily::Resistance
                ? Pt100Temperature(readings.raw[channel])
                : junction_celsius +
                      readings.raw[channel] / ThermocoupleSensitivity(channels_[channel].type_code);
    }
    return readings;
}

void InstrumentModel::LogIfDue(std::uint64_t at_milliseconds) {
    if ((flags_ & kFlagLogging) == 0 || at_milliseconds < next_log_) {
        return;
    }
    const std::uint64_t interval = 1000ull * std::max(logging_seconds_, 1);
    next_log_ += interval;
    if (next_log_ <= at_milliseconds) {
        next_log_ = at_milliseconds + interval;
    }
    log_.Add(RecordOf(TimeAt(at_milliseconds), Temperatures()));
}

void InstrumentModel::FillLogAtStart(std::int64_t records) {
    const std::int64_t count =
        std::clamp<std::int64_t>(records, 0, static_cast<std::int64_t>(InstrumentLog::kCapacity));
    const std::int64_t start = ToSeconds(Now());
    for (std::int64_t number = 1; number <= count; ++number) {
        const std::int64_t before = (count - number + 1) * std::int64_t{logging_seconds_};
        const Readings readings =
            Convert(signals_.Sample(-static_cast<double>(before), options_.inputs, TypeCodes()));
        log_.Add(RecordOf(FromSeconds(start - before), InUnit(readings.celsius, Fahrenheit())));
    }
}

} // namespace sim
