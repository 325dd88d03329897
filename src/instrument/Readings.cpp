#include "Readings.h"

#include "NumberText.h"
#include "protocol/MessageCatalogue.h"
#include "protocol/RequestBuilders.h"

namespace {

constexpr int kLogDecimals = 4;

} // namespace

std::string_view UnitSymbol(ReadingUnit unit) {
    switch (unit) {
    case ReadingUnit::Celsius:
        return "C";
    case ReadingUnit::Fahrenheit:
        return "F";
    case ReadingUnit::Millivolts:
        return "mV";
    case ReadingUnit::Ohms:
        return "Ohm";
    }
    return "";
}

char ReadingPoll(InputMode mode, bool signals) {
    if (!signals) {
        return Poll::kTemperatures;
    }
    return mode == InputMode::Resistance ? Poll::kResistances : Poll::kMillivolts;
}

std::optional<double> Readings::Value(int channel) const {
    return ParseFloat(texts[static_cast<std::size_t>(channel)]);
}

std::optional<Readings> ReadReadings(std::string_view payload) {
    if (payload.empty()) {
        return std::nullopt;
    }
    Readings readings;
    const char letter = payload.front();
    if (letter == Poll::kTemperatures || letter == Poll::kMillivolts) {
        for (int channel = 0; channel < kReadingChannels; ++channel) {
            readings.texts[channel] = ReadingsReply::ReadingText(payload, channel);
        }
        if (letter == Poll::kMillivolts) {
            readings.unit = ReadingUnit::Millivolts;
            return readings;
        }
        const std::optional<int> flags = ReadingsReply::UnitFlags(payload);
        if (!flags) {
            return std::nullopt;
        }
        const bool fahrenheit = (*flags & ReadingsReply::kFahrenheitUnitFlag) != 0;
        readings.unit = fahrenheit ? ReadingUnit::Fahrenheit : ReadingUnit::Celsius;
        return readings;
    }
    if (letter == Poll::kResistances || letter == Poll::kLeadResistances) {
        for (int channel = 1; channel < kReadingChannels; ++channel) {
            readings.texts[channel] = ResistanceReply::ReadingText(payload, channel);
        }
        readings.unit = ReadingUnit::Ohms;
        readings.hasColdJunction = false;
        return readings;
    }
    return std::nullopt;
}

std::string PcLogLine(std::string_view timeStamp,
                      const std::array<std::string, kReadingChannels>& texts,
                      char decimalSeparator) {
    std::string line(timeStamp);
    for (const std::string& text : texts) {
        line += ';';
        line += WithDecimalSeparator(FixedWithTenDigits(TextToFloat(text), kLogDecimals),
                                     decimalSeparator);
    }
    return line;
}
