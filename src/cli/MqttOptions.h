#pragma once

#include "ExitCode.h"
#include "mqtt/Publisher.h"

#include <CLI/CLI.hpp>
#include <cstddef>
#include <string>
#include <string_view>

// The read command's MQTT options as the command line gives them.
struct MqttOptions {
    std::string url; // empty: no MQTT
    std::string passwordFile;
    std::string caFile;
    std::string id; // empty: the model and the port's base name
    std::size_t queueReadings = 10'000;
    std::string discoveryPrefix; // empty: no discovery configurations
};

// --mqtt, --mqtt-password-file, --mqtt-ca, --mqtt-id, --mqtt-queue, --mqtt-discovery.
void AddMqttOptions(CLI::App& command, MqttOptions& options);

// The publisher's options, checked before anything is sent to the instrument: Done, or the
// exit status of a run that ends here (the reason told): Usage for what the command line got
// wrong, FileError for a file that cannot be read. The id stays to be named with MqttId.
ExitCode CheckMqttOptions(const MqttOptions& given, mqtt::PublisherOptions& checked);

// The given id, else the model and the port's base name: "V630-ttyUSB0".
std::string MqttId(const MqttOptions& given, std::string_view model, std::string_view port);
