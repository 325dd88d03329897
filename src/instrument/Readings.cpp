#include "Readings.h"

#include "NumberText.h"
#include "protocol/RequestBuilders.h"

namespace {

constexpr int kLogDecimals = 4;

} // namespace

std::string_view UnitSymbol(protocol::ReadingUnit unit) {
    switch (unit) {
    case protocol::ReadingUnit::Celsius:
        return "C";
    case protocol::ReadingUnit::Fahrenheit:
        return "F";
    case protocol::ReadingUnit::Millivolts:
        return "mV";
    case protocol::ReadingUnit::Ohms:
        return "Ohm";
    }
    return "";
}

std::optional<char> ReadingPoll(ReadingKind kind, std::optional<protocol::InputFamily> inputs) {
    const bool resistance = inputs == protocol::InputFamily::Resistance;
    switch (kind) {
    case ReadingKind::Temperature:
        return protocol::Poll::kTemperatures;
    case ReadingKind::RawSignal:
        return resistance ? protocol::Poll::kResistances : protocol::Poll::kMillivolts;
    case ReadingKind::LeadResistance:
        if (resistance) {
            return protocol::Poll::kLeadResistances;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<double> ReadingValue(const protocol::Readings& readings, int channel) {
    return ParseFloat(readings.texts[static_cast<std::size_t>(channel)]);
}

std::string PcLogLine(std::string_view timeStamp,
                      const std::array<std::string, protocol::kReadingChannels>& texts,
                      char decimalSeparator) {
    std::string line(timeStamp);
    for (const std::string& text : texts) {
        line += ';';
        line += WithDecimalSeparator(FixedWithTenDigits(TextToFloat(text), kLogDecimals),
                                     decimalSeparator);
    }
    return line;
}
