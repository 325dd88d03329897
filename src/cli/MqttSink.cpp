#include "MqttSink.h"

#include "Messages.h"
#include "instrument/TextEncoding.h"
#include "protocol/MessageCatalogue.h"

namespace {

// The instrument pads its fixed-width fields with spaces; MQTT carries UTF-8.
std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos
               ? ""
               : Utf8FromWindows1252(text.substr(first, text.find_last_not_of(' ') + 1 - first));
}

mqtt::Reading MqttReading(const TimedReading& reading) {
    const protocol::Readings& readings = reading.readings;
    mqtt::Reading message{Iso8601Text(reading.time), std::string(UnitSymbol(readings.unit)), {}};
    for (int channel = 0; channel < protocol::kReadingChannels; ++channel) {
        message.channels[static_cast<std::size_t>(channel)] = {
            Trimmed(readings.texts[static_cast<std::size_t>(channel)]),
            ReadingValue(readings, channel)};
    }
    return message;
}

} // namespace

mqtt::InstrumentInfo InstrumentInfoOf(const protocol::InstrumentStatus& status) {
    return {Trimmed(status.modelName), Trimmed(status.firmware),
            status.Flag(protocol::SystemFlag::kFahrenheit) ? "F" : "C"};
}

MqttSink::MqttSink(mqtt::PublisherOptions options, const mqtt::InstrumentInfo& info)
    : publisher_(std::move(options)) {
    publisher_.SetInfo(info);
}

std::optional<SinkFailure> MqttSink::Take(const TimedReading& reading) {
    publisher_.PublishReading(MqttReading(reading));
    return Failure();
}

// Without a problem to tell: Finish says what to check, once, at the end of the run.
std::optional<SinkFailure> MqttSink::Failure() {
    if (!publisher_.GaveUp()) {
        return std::nullopt;
    }
    return SinkFailure{"", ExitCode::BrokerRefused};
}

ExitCode MqttSink::Finish() {
    publisher_.Stop();
    if (const std::uint64_t dropped = publisher_.DroppedReadings(); dropped > 0) {
        Tell("readings dropped, the oldest, while the MQTT broker was away: " +
             std::to_string(dropped));
    }
    if (publisher_.LoginRefused()) {
        Tell("no readings go to the MQTT broker without a login it accepts: check the user name "
             "in --mqtt and the password (--mqtt-password-credential, --mqtt-password-file or "
             "VXXX_MQTT_PASSWORD)");
    } else if (publisher_.CertificateRejected()) {
        Tell("no readings go to an MQTT broker whose certificate failed verification: check the "
             "host in --mqtt and --mqtt-ca");
    }
    return publisher_.GaveUp() ? ExitCode::BrokerRefused : ExitCode::Done;
}
