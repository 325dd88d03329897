#pragma once

#include "ReadingSinks.h"
#include "mqtt/InstrumentMessages.h"
#include "mqtt/Publisher.h"

// Each reading to an MQTT broker as well: a message per channel, with the instrument's info and
// its online status beside them. The publisher queues what the broker cannot take yet, so a
// broker that is away never holds up the readings; only a refused login ends the run.
class MqttSink final : public ReadingSink {
public:
    // Starts connecting. Throws std::invalid_argument, as the publisher does, for options that
    // could never work.
    MqttSink(mqtt::PublisherOptions options, const mqtt::InstrumentInfo& info);

    std::optional<SinkFailure> Take(const TimedReading& reading) override;
    std::optional<SinkFailure> Failure() override;
    // Delivers what waits within a short bound and marks the instrument offline; says how many
    // readings were dropped, if any. LoginRefused, with what to check, when the broker refused
    // the login. Call it once, at the end of the run.
    ExitCode Finish();

private:
    mqtt::Publisher publisher_;
};
