#include "InstrumentMessages.h"

#include "instrument/ClockText.h"
#include "instrument/Readings.h"

#include <filesystem>

namespace mqtt {

namespace {

// The instrument pads its fixed-width fields with spaces.
std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

} // namespace

InstrumentInfo InstrumentInfoOf(const protocol::InstrumentStatus& status) {
    return {Trimmed(status.modelName), Trimmed(status.firmware),
            status.Flag(protocol::SystemFlag::kFahrenheit) ? "F" : "C"};
}

Reading ReadingOf(const LocalTime& time, const protocol::Readings& readings) {
    Reading message{Iso8601Text(time), std::string(UnitSymbol(readings.unit)), {}};
    for (int channel = 0; channel < protocol::kReadingChannels; ++channel) {
        message.channels[static_cast<std::size_t>(channel)] = {
            Trimmed(readings.texts[static_cast<std::size_t>(channel)]),
            ReadingValue(readings, channel)};
    }
    return message;
}

std::string DefaultId(std::string_view model, std::string_view port) {
    return std::string(model) + "-" + std::filesystem::path(port).filename().string();
}

} // namespace mqtt
