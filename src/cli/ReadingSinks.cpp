#include "ReadingSinks.h"

#include <nlohmann/json.hpp>

namespace {

nlohmann::json Number(const std::optional<double>& value) {
    return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
}

} // namespace

std::string PcLogText(const TimedReading& reading) {
    return PcLogLine(PcLogTimeStamp(reading.time, ':'), reading.readings.texts, '.');
}

std::string JsonText(const TimedReading& reading) {
    const protocol::Readings& readings = reading.readings;
    nlohmann::json channels = nlohmann::json::array();
    for (int channel = 1; channel < protocol::kReadingChannels; ++channel) {
        channels.push_back(Number(ReadingValue(readings, channel)));
    }
    const nlohmann::ordered_json line{
        {"time", Iso8601Text(reading.time)},
        {"unit", UnitSymbol(readings.unit)},
        {"cold_junction",
         Number(readings.hasColdJunction ? ReadingValue(readings, 0) : std::optional<double>())},
        {"channels", channels},
    };
    return line.dump();
}

std::optional<SinkFailure> LineSink::Take(const TimedReading& reading) {
    if (output_.Write(format_(reading))) {
        return std::nullopt;
    }
    return SinkFailure{output_.Problem()};
}
