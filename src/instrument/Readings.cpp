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

char ReadingPoll(InputFamily inputs, bool rawSignals) {
    if (!rawSignals) {
        return Poll::kTemperatures;
    }
    return inputs == InputFamily::Resistance ? Poll::kResistances : Poll::kMillivolts;
}

std::optional<double> Readings::Value(int channel) const {
    return ParseFloat(texts[static_cast<std::size_t>(channel)]);
}

std::optional<Readings> ReadReadings(std::string_view payload) {
    const std::optional<ReadingUnit> unit = ReadingsReply::Unit(payload);
    if (!unit) {
        return std::nullopt;
    }
    Readings readings;
    readings.unit = *unit;
    // The resistance replies carry channels 1 to 8 only, at their own positions.
    readings.hasColdJunction = *unit != ReadingUnit::Ohms;
    for (int channel = readings.hasColdJunction ? 0 : 1; channel < kReadingChannels; ++channel) {
        readings.texts[channel] = readings.hasColdJunction
                                      ? ReadingsReply::ReadingText(payload, channel)
                                      : ResistanceReply::ReadingText(payload, channel);
    }
    return readings;
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
