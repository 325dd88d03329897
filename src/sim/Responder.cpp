#include "sim/Responder.h"

#include "sim/FieldText.h"

namespace sim {

namespace {

constexpr int kFieldWidth = 8;

// Exactly `width` characters: cut, or filled with blanks.
std::string Exactly(std::string_view text, std::size_t width) {
    std::string fixed(text.substr(0, width));
    fixed.resize(width, ' ');
    return fixed;
}

// A reply's first character, to build the rest onto.
std::string Letter(char letter) {
    return std::string(1, letter);
}

std::string TwoDigits(int value) {
    return ZeroPadded(value, 2);
}

std::string DateAndTime(const CivilTime& time) {
    return TwoDigits(time.year % 100) + TwoDigits(time.month) + TwoDigits(time.day) +
           TwoDigits(time.hour) + TwoDigits(time.minute) + TwoDigits(time.second);
}

// The digits after a poll letter, exactly `count` of them.
std::optional<std::int64_t> PollNumber(std::string_view body, std::size_t count) {
    if (body.size() != count + 1 || body.substr(1).find_first_not_of("0123456789") != body.npos) {
        return std::nullopt;
    }
    return ParseDecimal(body.substr(1));
}

std::optional<int> DecimalField(std::string_view payload, std::size_t position, std::size_t width) {
    const auto value = ParseDecimal(payload.substr(position - 1, width));
    return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
}

} // namespace

std::optional<std::string> Responder::Answer(const DecodedFrame& frame) {
    switch (frame.kind) {
    case DecodedFrame::Kind::Poll:
        if (auto payload = PollReply(frame.body)) {
            return FrameReply(*payload);
        }
        return std::nullopt;
    case DecodedFrame::Kind::Request:
        if (ApplyRequest(frame.body)) {
            return std::string(1, kAck);
        }
        return std::nullopt;
    case DecodedFrame::Kind::BadCheck:
    case DecodedFrame::Kind::TooLong:
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> Responder::PollReply(std::string_view body) const {
    if (body.empty()) {
        return std::nullopt;
    }
    const char letter = body.front();
    if (letter == 'A') {
        const auto output = PollNumber(body, 2);
        if (!output || *output < 1 || *output > kOutputs) {
            return std::nullopt;
        }
        return OutputReply(static_cast<int>(*output));
    }
    if (letter == 'D') {
        const auto number = PollNumber(body, 4);
        if (!number) {
            return std::nullopt;
        }
        return RecordReply(*number);
    }
    if (body.size() != 1) {
        return std::nullopt;
    }
    if (letter >= '0' && letter <= '8') {
        return ChannelReply(letter - '0');
    }
    switch (letter) {
    case 'S':
        return StatusReply();
    case 'T':
        return TemperatureReply();
    case 'M':
        return MillivoltReply();
    case 'R':
    case 'r':
        return ResistanceReply(letter);
    case 'O':
        return Letter('O') + Hex(model_.OutputStates(), 2);
    case 'Z':
        // The serial travels with the instrument's terminator before the ETX.
        return Letter('Z') + model_.Serial() + "\r";
    case 'X':
        return Letter('X') + model_.Registers();
    case 'f':
        return Letter('f') + Exactly(model_.FilterConstant(), 2) +
               (model_.Mains60Hz() ? "01" : "00");
    default:
        return std::nullopt;
    }
}

std::string Responder::StatusReply() const {
    const bool resistance = model_.Family() == InputFamily::Resistance;
    const std::string caption = Exactly(model_.ModelName(), 4) + " " +
                                Exactly(model_.Firmware(), 3) + " " +
                                (resistance ? "RT Input" : "TC Input");
    std::string reply = "S";
    reply += DateAndTime(model_.Now());
    reply += Hex(model_.Flags(), 2);
    reply += Hex(model_.AutoscanInterval() & 0xFF, 2);
    reply += Hex(model_.Log().Count() & 0xFFFF, 4);
    reply += Hex(model_.LoggingInterval() & 0xFFFF, 4);
    return reply + caption;
}

std::string Responder::TemperatureReply() const {
    std::string reply = "T";
    for (const double temperature : model_.Temperatures()) {
        reply += FitField(temperature, kFieldWidth, 1);
    }
    return reply + (model_.Fahrenheit() ? "01" : "00");
}

std::string Responder::MillivoltReply() const {
    const bool resistance = model_.Family() == InputFamily::Resistance;
    const auto& raw = model_.Latest().raw;
    std::string reply = "M";
    reply += FitField(raw[0], kFieldWidth, 2);
    for (int channel = 1; channel < kChannels; ++channel) {
        // A PT100 input runs at 1 mA, so its millivolts are its ohms.
        reply += FitField(raw[channel], kFieldWidth, resistance ? 2 : 3);
    }
    return reply;
}

std::string Responder::ResistanceReply(char letter) const {
    const bool resistance = model_.Family() == InputFamily::Resistance;
    const bool lead = letter == 'r';
    const auto& values = lead ? model_.Latest().lead : model_.Latest().raw;
    std::string reply(1, letter);
    for (int channel = 1; channel < kChannels; ++channel) {
        // A thermocouple instrument has no resistance inputs to report.
        reply += FitField(resistance ? values[channel] : 0.0, kFieldWidth, lead ? 3 : 2);
    }
    return reply;
}

std::string Responder::ChannelReply(int channel) const {
    const ChannelSetup& setup = model_.Channel(channel);
    return std::to_string(channel) + TwoDigits(setup.type_code) +
           FitField(setup.m, kFieldWidth, 4) + FitField(setup.c, kFieldWidth, 4);
}

std::string Responder::OutputReply(int output) const {
    const OutputSetting& setting = model_.Outputs().Setting(output);
    const auto number = [](int value) { return FitField(value, 5, 0); };
    return Letter('A') + TwoDigits(output) + "," + TwoDigits(setting.type) + "," +
           TwoDigits(setting.input) + "," + number(setting.trigger) + "," + number(setting.band) +
           "," + number(setting.hysteresis) + "," + TwoDigits(setting.polarity);
}

std::string Responder::RecordReply(std::int64_t number) const {
    std::string reply = Letter('D') + ZeroPadded(number, 4);
    if (const auto record = model_.Log().Record(number)) {
        reply += DateAndTime(record->time);
        for (const float value : record->values) {
            reply += FloatAsLittleEndianHex(value);
        }
    } else {
        // Beyond the last record the memory reads as zeros, which decode to 0.
        reply += std::string(12, '0') + std::string(64, '0');
    }
    return reply;
}

bool Responder::ApplyRequest(std::string_view payload) {
    if (payload.empty()) {
        return false;
    }
    const std::string_view rest = payload.substr(1);
    switch (payload.front()) {
    case 'S':
        ApplyStatusRequest(payload);
        return true;
    case 'A':
        ApplyOutputRequest(payload);
        return true;
    case 'C':
        ApplyChannelRequest(payload);
        return true;
    case 'Z':
        if (rest.empty()) {
            model_.ResetLog();
        } else {
            model_.SetSerial(rest);
        }
        return true;
    case 'T':
        if (rest.empty()) {
            model_.TestLogMemory();
        }
        return true;
    case 'F':
        if (rest.empty()) {
            model_.SaveFactoryCalibration();
        }
        return true;
    case 'R':
        if (rest.empty()) {
            model_.RestoreFactoryCalibration();
        }
        return true;
    case 'X':
        model_.WriteRegisters(rest);
        return true;
    case 'f':
        if (rest.size() == 4) {
            model_.SetFilter(rest.substr(0, 2), rest.substr(2) == "01");
        }
        return true;
    default:
        return false;
    }
}

// "S" yy mm dd hh mm ss, the flag text (normally two hex digits), autoscan in two hex
// digits, logging interval in four. Each field that does not read is left alone.
void Responder::ApplyStatusRequest(std::string_view payload) {
    constexpr std::size_t kShortest = 1 + 12 + 2 + 4;
    if (payload.size() < kShortest) {
        return;
    }
    int fields[6] = {};
    bool clock_reads = true;
    for (std::size_t index = 0; index < 6; ++index) {
        const auto field = DecimalField(payload, 2 + 2 * index, 2);
        clock_reads = clock_reads && field.has_value();
        fields[index] = field.value_or(0);
    }
    if (const auto time = clock_reads ? MakeCivilTime(2000 + fields[0], fields[1], fields[2],
                                                      fields[3], fields[4], fields[5])
                                      : std::nullopt) {
        model_.SetClock(*time);
    }
    const std::size_t tail = payload.size() - 6;
    if (const auto flags = ParseHex(payload.substr(13, tail - 13)); flags && *flags <= 0xFF) {
        model_.SetFlags(static_cast<std::uint8_t>(*flags));
    }
    if (const auto autoscan = ParseHex(payload.substr(tail, 2))) {
        model_.SetAutoscanInterval(static_cast<int>(*autoscan));
    }
    if (const auto interval = ParseHex(payload.substr(tail + 2, 4))) {
        model_.SetLoggingInterval(static_cast<int>(*interval));
    }
}

// "A" nn "," tt "," ii "," vvvvv "," bbbbb "," hhhhh "," pp: 30 characters.
void Responder::ApplyOutputRequest(std::string_view payload) {
    if (payload.size() < 30) {
        return;
    }
    const auto output = DecimalField(payload, 2, 2);
    const auto type = DecimalField(payload, 5, 2);
    const auto input = DecimalField(payload, 8, 2);
    const auto trigger = DecimalField(payload, 11, 5);
    const auto band = DecimalField(payload, 17, 5);
    const auto hysteresis = DecimalField(payload, 23, 5);
    const auto polarity = DecimalField(payload, 29, 2);
    if (output && type && input && trigger && band && hysteresis && polarity) {
        model_.SetOutput(*output,
                         OutputSetting{*type, *input, *trigger, *band, *hysteresis, *polarity});
    }
}

// "C", the channel digit, the sensor type code, m and c in eight characters each, and a
// closing "!" when the calibration sends it. The type code is read between the digit and the
// scaling, so a window that had no type selected ("-1") changes only m and c.
void Responder::ApplyChannelRequest(std::string_view payload) {
    std::string_view body = payload;
    if (body.ends_with('!')) {
        body.remove_suffix(1);
    }
    constexpr std::size_t kScaling = 2 * kFieldWidth;
    if (body.size() < 2 + kScaling || body[1] < '0' || body[1] > '8') {
        return;
    }
    const auto m = ParseNumber(body.substr(body.size() - kScaling, kFieldWidth));
    const auto c = ParseNumber(body.substr(body.size() - kFieldWidth));
    if (!m || !c) {
        return;
    }
    const auto type = ParseDecimal(body.substr(2, body.size() - kScaling - 2));
    model_.SetChannel(body[1] - '0',
                      type ? std::optional<int>(static_cast<int>(*type)) : std::nullopt, *m, *c);
}

} // namespace sim
