#include "RequestBuilders.h"

#include "FrameCharacters.h"
#include "PayloadNumbers.h"

#include <cstdint>

namespace protocol {

namespace {

// Upper-case hexadecimal with at least `digits` digits; a negative number as its 32-bit pattern.
std::string UpperHex(int value, std::size_t digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    auto rest = static_cast<std::uint32_t>(value);
    std::string text;
    do {
        text.insert(text.begin(), kDigits[rest % 16]);
        rest /= 16;
    } while (rest != 0);
    if (text.size() < digits) {
        text.insert(0, digits - text.size(), '0');
    }
    return text;
}

// The characters at positions first .. first + 1 (from 1) of a text; fewer when it is shorter.
std::string TwoAt(std::string_view text, std::size_t first) {
    return PayloadField::Text(text, first, 2);
}

} // namespace

namespace Poll {
char Channel(int channel) {
    return static_cast<char>('0' + channel);
}
} // namespace Poll

std::string LastCharacters(std::string_view text, std::size_t count) {
    return std::string(text.size() > count ? text.substr(text.size() - count) : text);
}

std::string TwoDigitField(int value) {
    return LastCharacters("0" + std::to_string(value), 2);
}

std::string FiveCharacterField(int value) {
    return LastCharacters("    " + std::to_string(value), 5);
}

std::string ScalingField(std::string_view fixedText) {
    return LastCharacters("  " + std::string(fixedText), 8);
}

std::string AlarmOutputPoll(int output) {
    return std::string(1, kEot) + "A" + TwoDigitField(output) + kEnq;
}

std::string LoggedRecordPoll(int record) {
    return std::string(1, kEot) + "D" + LastCharacters("0000" + std::to_string(record), 4) + kEnq;
}

std::string StatusRequest(const StatusRequestTexts& texts) {
    const int autoscan = ParseDecimal(texts.autoscanInterval).value_or(2);
    const int logging = ParseDecimal(texts.loggingInterval).value_or(60);
    return "S" + TwoAt(texts.date, 7) + TwoAt(texts.date, 4) + TwoAt(texts.date, 1) +
           TwoAt(texts.time, 1) + TwoAt(texts.time, 4) + TwoAt(texts.time, 7) + texts.systemFlag +
           UpperHex(autoscan, 2) + UpperHex(logging, 4);
}

std::string AlarmOutputRequest(const AlarmOutputSetting& setting) {
    return "A" + TwoDigitField(setting.output) + "," + TwoDigitField(setting.type) + "," +
           TwoDigitField(setting.input) + "," + FiveCharacterField(setting.trigger) + "," +
           FiveCharacterField(setting.band) + "," + FiveCharacterField(setting.hysteresis) + "," +
           TwoDigitField(setting.polarity);
}

std::string ChannelRequest(int channel, int sensorTypeIndex, std::string_view mFixedText,
                           std::string_view cFixedText) {
    return "C" + std::to_string(channel) + "0" + std::to_string(sensorTypeIndex) +
           ScalingField(mFixedText) + ScalingField(cFixedText);
}

std::string CalibrationRequest(int channel, int sensorTypeCode, std::string_view mFixedText,
                               std::string_view cFixedText) {
    return ChannelRequest(channel, sensorTypeCode, mFixedText, cFixedText) + "!";
}

std::string CalibrationResetRequest(int channel, int sensorTypeCode) {
    return ChannelRequest(channel, sensorTypeCode, "0.0000", "0.0000");
}

std::string FactorySaveRequest() {
    return "F";
}
std::string FactoryRestoreRequest() {
    return "R";
}
std::string LogPointerResetRequest() {
    return "Z";
}
std::string MemoryTestRequest() {
    return "T";
}

std::optional<std::string> SerialNumberRequest(std::string_view serial) {
    if (serial.empty()) {
        return std::nullopt;
    }
    return "Z" + std::string(serial);
}

std::string RegisterWriteRequest(const RegisterTexts& registers) {
    std::string payload = "X";
    for (const auto& text : registers) {
        payload += text;
    }
    return payload;
}

std::string FilterConstantRequest(std::string_view constantText, bool sixtyHertz) {
    return "f" + LastCharacters("00" + std::string(constantText), 2) + (sixtyHertz ? "01" : "00");
}

} // namespace protocol
