#include "AlarmTable.h"

#include "protocol/PayloadNumbers.h"
#include "protocol/RequestBuilders.h"

namespace AlarmTable {

namespace {

constexpr std::size_t kLineLength = 29;

} // namespace

const std::vector<std::string>& TypeNames() {
    static const std::vector<std::string> names{"OFF", "ON", "HIGH", "LOW", "BAND"};
    return names;
}

const std::vector<std::string>& PolarityNames() {
    static const std::vector<std::string> names{"Normal", "Inverted"};
    return names;
}

protocol::AlarmOutputSetting InitialSetting(int output) {
    return {output, kTypeOff, output, 20, 1, 1, 0};
}

std::string FileLine(const protocol::AlarmOutputSetting& setting) {
    return protocol::TwoDigitField(setting.output) + "," + protocol::TwoDigitField(setting.type) +
           "," + protocol::TwoDigitField(setting.input) + "," +
           protocol::FiveCharacterField(setting.trigger) + "," +
           protocol::FiveCharacterField(setting.band) + "," +
           protocol::FiveCharacterField(setting.hysteresis) + "," +
           protocol::LastCharacters(" " + std::to_string(setting.polarity), 2);
}

std::optional<protocol::AlarmOutputSetting> ParseFileLine(std::string_view line) {
    if (line.size() < kLineLength) {
        return std::nullopt;
    }
    const auto field = [line](std::size_t position, std::size_t width) {
        return protocol::PayloadField::Decimal(line, position, width);
    };
    const auto output = field(1, 2);
    const auto type = field(4, 2);
    const auto input = field(7, 2);
    const auto trigger = field(10, 5);
    const auto band = field(16, 5);
    const auto hysteresis = field(22, 5);
    const auto polarity = field(28, 2);
    if (!output || !type || !input || !trigger || !band || !hysteresis || !polarity) {
        return std::nullopt;
    }
    const protocol::AlarmOutputSetting setting{*output, *type,       *input,   *trigger,
                                               *band,   *hysteresis, *polarity};
    if (!protocol::InRange(setting)) {
        return std::nullopt;
    }
    return setting;
}

FileContent ParseFile(std::string_view bytes) {
    FileContent content;
    int lineNumber = 0;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++lineNumber;
        if (const auto setting = ParseFileLine(line)) {
            content.settings.push_back(*setting);
        } else {
            content.skippedLines.push_back(lineNumber);
        }
    }
    return content;
}

} // namespace AlarmTable
