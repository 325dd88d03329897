#include "MessageCatalogue.h"

#include "PayloadNumbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace protocol {

using PayloadField::Decimal;
using PayloadField::Hex;
using PayloadField::Text;

namespace {

std::string DayMonthYear(std::string_view payload, std::size_t yearPosition) {
    return Text(payload, yearPosition + 4, 2) + "/" + Text(payload, yearPosition + 2, 2) + "/" +
           Text(payload, yearPosition, 2);
}

std::string HoursMinutesSeconds(std::string_view payload, std::size_t hoursPosition) {
    return Text(payload, hoursPosition, 2) + ":" + Text(payload, hoursPosition + 2, 2) + ":" +
           Text(payload, hoursPosition + 4, 2);
}

// Eight-character fields of channels first .. last, the one of `first` at `firstPosition`.
std::string ChannelField(std::string_view payload, int channel, int first, int last,
                         std::size_t firstPosition) {
    if (channel < first || channel > last) {
        return {};
    }
    return Text(payload, firstPosition + 8 * static_cast<std::size_t>(channel - first), 8);
}

} // namespace

namespace ChannelConfigurationReply {
std::optional<int> Channel(std::string_view payload) {
    return Decimal(payload, 1, 1);
}
std::optional<int> SensorType(std::string_view payload) {
    return Decimal(payload, 2, 2);
}
std::string ScalingM(std::string_view payload) {
    return Text(payload, 4, 8);
}
std::string ScalingC(std::string_view payload) {
    return Text(payload, 12, 8);
}
} // namespace ChannelConfigurationReply

Model ModelNamed(std::string_view name) {
    if (name == "V420") {
        return Model::V420;
    }
    return name == "V630" ? Model::V630 : Model::Unknown;
}

char InputFamilyLetter(InputFamily inputs) {
    return inputs == InputFamily::Resistance ? 'P' : 'T';
}

namespace StatusReply {
std::string DateText(std::string_view payload) {
    return DayMonthYear(payload, 2);
}
std::string TimeText(std::string_view payload) {
    return HoursMinutesSeconds(payload, 8);
}
std::string SystemFlagText(std::string_view payload) {
    return Text(payload, 14, 2);
}
int SystemFlags(std::string_view payload) {
    return Hex(payload, 14, 2).value_or(0);
}
int AutoscanInterval(std::string_view payload) {
    return Hex(payload, 16, 2).value_or(2);
}
int LoggedRecordCount(std::string_view payload) {
    return Hex(payload, 18, 4).value_or(512);
}
int LoggingInterval(std::string_view payload) {
    return Hex(payload, 22, 4).value_or(60);
}
InputFamily Inputs(std::string_view payload) {
    return (SystemFlags(payload) & SystemFlag::kResistanceInputs) != 0 ? InputFamily::Resistance
                                                                       : InputFamily::Thermocouple;
}
std::string ModelName(std::string_view payload) {
    return Text(payload, 26, 4);
}
std::string FirmwareVersion(std::string_view payload) {
    return Text(payload, 31, 3);
}
std::string Caption(std::string_view payload) {
    return Text(payload, 26, 17);
}
InstrumentStatus Decode(std::string_view payload) {
    InstrumentStatus status;
    status.date = DateText(payload);
    status.time = TimeText(payload);
    status.systemFlagText = SystemFlagText(payload);
    status.flags = SystemFlags(payload);
    status.autoscanInterval = AutoscanInterval(payload);
    status.recordCount = LoggedRecordCount(payload);
    status.loggingInterval = LoggingInterval(payload);
    status.modelName = ModelName(payload);
    status.model = ModelNamed(status.modelName);
    status.firmware = FirmwareVersion(payload);
    status.inputs = Inputs(payload);
    status.caption = Caption(payload);
    return status;
}
} // namespace StatusReply

namespace ReadingsReply {
std::optional<ReadingUnit> Unit(std::string_view payload) {
    switch (payload.empty() ? '\0' : payload.front()) {
    case 'M':
        return ReadingUnit::Millivolts;
    case 'R':
    case 'r':
        return ReadingUnit::Ohms;
    case 'T': {
        const auto flags = UnitFlags(payload);
        if (!flags) {
            return std::nullopt;
        }
        return (*flags & kFahrenheitUnitFlag) != 0 ? ReadingUnit::Fahrenheit : ReadingUnit::Celsius;
    }
    default:
        return std::nullopt;
    }
}
std::string ReadingText(std::string_view payload, int channel) {
    return ChannelField(payload, channel, 0, 8, 2);
}
std::optional<int> UnitFlags(std::string_view payload) {
    return Decimal(payload, 74, 2);
}
std::optional<Readings> Decode(std::string_view payload) {
    const std::optional<ReadingUnit> unit = Unit(payload);
    if (!unit) {
        return std::nullopt;
    }
    Readings readings;
    readings.unit = *unit;
    // The resistance replies carry channels 1 to 8 only, at their own positions.
    readings.hasColdJunction = *unit != ReadingUnit::Ohms;
    for (int channel = readings.hasColdJunction ? 0 : 1; channel < kReadingChannels; ++channel) {
        readings.texts[static_cast<std::size_t>(channel)] =
            readings.hasColdJunction ? ReadingText(payload, channel)
                                     : ResistanceReply::ReadingText(payload, channel);
    }
    return readings;
}
} // namespace ReadingsReply

namespace ResistanceReply {
std::string ReadingText(std::string_view payload, int channel) {
    return ChannelField(payload, channel, 1, 8, 2);
}
} // namespace ResistanceReply

namespace OutputStatesReply {
std::optional<int> States(std::string_view payload) {
    return Hex(payload, 2, 2);
}
} // namespace OutputStatesReply

namespace RegistersReply {
std::string RegisterText(std::string_view payload, int registerNumber) {
    if (registerNumber < 0 || registerNumber >= kRegisterCount) {
        return {};
    }
    return Text(payload, 2 + 2 * static_cast<std::size_t>(registerNumber), 2);
}
} // namespace RegistersReply

namespace FilterConstantReply {
std::string ConstantText(std::string_view payload) {
    return Text(payload, 2, 2);
}
std::optional<int> MainsFlag(std::string_view payload) {
    return Decimal(payload, 4, 2);
}
} // namespace FilterConstantReply

bool InRange(const AlarmOutputSetting& setting) {
    const auto oneToEight = [](int number) { return number >= 1 && number <= kAlarmOutputs; };
    const auto fits = [](int number) {
        return number >= kAlarmFieldMinimum && number <= kAlarmFieldMaximum;
    };
    return oneToEight(setting.output) && setting.type >= 0 && setting.type <= 4 &&
           oneToEight(setting.input) && fits(setting.trigger) && fits(setting.band) &&
           fits(setting.hysteresis) && (setting.polarity == 0 || setting.polarity == 1);
}

namespace AlarmOutputReply {
int OutputNumber(std::string_view payload) {
    return Decimal(payload, 2, 2).value_or(1);
}
int Type(std::string_view payload) {
    return Decimal(payload, 5, 2).value_or(0);
}
int Input(std::string_view payload) {
    return Decimal(payload, 8, 2).value_or(1);
}
int Trigger(std::string_view payload) {
    return Decimal(payload, 11, 5).value_or(0);
}
int Band(std::string_view payload) {
    return Decimal(payload, 17, 5).value_or(0);
}
int Hysteresis(std::string_view payload) {
    return Decimal(payload, 23, 5).value_or(0);
}
int Polarity(std::string_view payload) {
    return Decimal(payload, 29, 2).value_or(0);
}
AlarmOutputSetting Setting(std::string_view payload) {
    return {OutputNumber(payload), Type(payload),       Input(payload),   Trigger(payload),
            Band(payload),         Hysteresis(payload), Polarity(payload)};
}
bool InRange(std::string_view payload) {
    return protocol::InRange(Setting(payload));
}
} // namespace AlarmOutputReply

namespace LoggedRecordReply {
std::string RecordNumberText(std::string_view payload) {
    return Text(payload, 2, 4);
}
bool Readable(std::string_view payload) {
    // Letter, record number, six two-digit time fields, eight values of eight hex digits.
    constexpr std::size_t kTimeFrom = 5;
    constexpr std::size_t kValuesFrom = 17;
    constexpr std::size_t kEnd = kValuesFrom + 64;
    const auto all = [&](std::size_t from, std::size_t to, int (*test)(int)) {
        return std::all_of(payload.begin() + static_cast<std::ptrdiff_t>(from),
                           payload.begin() + static_cast<std::ptrdiff_t>(to),
                           [test](char c) { return test(static_cast<unsigned char>(c)) != 0; });
    };
    return payload.size() >= kEnd && all(kTimeFrom, kValuesFrom, ::isdigit) &&
           all(kValuesFrom, kEnd, ::isxdigit);
}
std::string DateText(std::string_view payload) {
    return DayMonthYear(payload, 6);
}
std::string TimeText(std::string_view payload) {
    return HoursMinutesSeconds(payload, 12);
}

std::string ChannelText(std::string_view payload, int channel) {
    return ChannelField(payload, channel, 1, 8, 18);
}

double ChannelValue(std::string_view payload, int channel) {
    return DecodeValue(ChannelText(payload, channel));
}

double DecodeValue(std::string_view eightHexDigits) {
    const auto byte = [&](std::size_t index) {
        return Hex(eightHexDigits, 1 + 2 * index, 2).value_or(0);
    };
    const int b0 = byte(0);
    const int b1 = byte(1);
    const int b2 = byte(2);
    const int b3 = byte(3);
    if (b3 == 0) {
        return 0.0;
    }
    const bool negative = (b3 & 0x80) != 0;
    const int exponent = 2 * (b3 & 0x7F) + ((b2 & 0x80) != 0 ? 1 : 0);
    const double mantissa = 65536.0 * (b2 | 0x80) + 256.0 * b1 + b0;
    const double magnitude = std::ldexp(mantissa, exponent - 150);
    return negative ? -magnitude : magnitude;
}
} // namespace LoggedRecordReply

namespace SerialNumberReply {
std::string SerialNumber(std::string_view payload) {
    if (payload.size() < 5) {
        return {};
    }
    return std::string(payload.substr(1, payload.size() - 4));
}
} // namespace SerialNumberReply

} // namespace protocol
