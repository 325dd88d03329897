#include "MqttSink.h"

#include "Messages.h"

MqttSink::MqttSink(mqtt::PublisherOptions options, const mqtt::InstrumentInfo& info)
    : publisher_(std::move(options)) {
    publisher_.SetInfo(info);
}

std::optional<SinkFailure> MqttSink::Take(const TimedReading& reading) {
    publisher_.PublishReading(mqtt::ReadingOf(reading.time, reading.readings));
    return Failure();
}

// Without a problem to tell: Finish says what to check, once, at the end of the run.
std::optional<SinkFailure> MqttSink::Failure() {
    if (!publisher_.LoginRefused()) {
        return std::nullopt;
    }
    return SinkFailure{"", ExitCode::LoginRefused};
}

ExitCode MqttSink::Finish() {
    publisher_.Stop();
    if (const std::uint64_t dropped = publisher_.DroppedReadings(); dropped > 0) {
        Tell("readings dropped, the oldest, while the MQTT broker was away: " +
             std::to_string(dropped));
    }
    if (!publisher_.LoginRefused()) {
        return ExitCode::Done;
    }
    Tell("no readings go to the MQTT broker without a login it accepts: check the user name in "
         "--mqtt and the password (--mqtt-password-file or VXXX_MQTT_PASSWORD)");
    return ExitCode::LoginRefused;
}
