#include "DiscoveryMessages.h"

#include "JsonText.h"

#include <string>

namespace mqtt {

namespace {

struct UnitDescription {
    const char* symbol;      // as the dashboard shows it, UTF-8
    const char* deviceClass; // nullptr: none fits
};

UnitDescription Describe(std::string_view unit) {
    if (unit == "C") {
        return {"\u00b0C", "temperature"};
    }
    if (unit == "F") {
        return {"\u00b0F", "temperature"};
    }
    if (unit == "mV") {
        return {"mV", "voltage"};
    }
    if (unit == "Ohm") {
        return {"\u03a9", nullptr};
    }
    return {nullptr, nullptr};
}

Json Device(std::string_view id, const InstrumentInfo& info) {
    Json device;
    device["identifiers"] = Json::array({id});
    device["name"] = id;
    if (!info.model.empty()) {
        device["model"] = info.model;
    }
    if (!info.firmware.empty()) {
        device["sw_version"] = info.firmware;
    }
    return device;
}

} // namespace

std::vector<Message> DiscoveryMessages(std::string_view discoveryPrefix,
                                       std::string_view statePrefix, std::string_view id,
                                       const InstrumentInfo& info, std::string_view unit) {
    const UnitDescription description = Describe(unit);
    const std::string state = std::string(statePrefix) + "/" + std::string(id);
    std::vector<Message> messages;
    messages.reserve(kChannelCount);
    for (std::size_t channel = 0; channel < kChannelCount; ++channel) {
        const std::string object = "channel" + std::to_string(channel);
        Json config;
        config["name"] = channel == 0 ? "Cold junction" : "Channel " + std::to_string(channel);
        config["unique_id"] = std::string(id) + "_" + object;
        config["state_topic"] = state + "/channel/" + std::to_string(channel);
        // A value the instrument sent as text is null: the sensor shows unknown, not 0.
        config["value_template"] = "{{ value_json.value }}";
        if (description.symbol != nullptr) {
            config["unit_of_measurement"] = description.symbol;
        }
        if (description.deviceClass != nullptr) {
            config["device_class"] = description.deviceClass;
        }
        config["state_class"] = "measurement";
        config["availability_topic"] = state + "/status";
        config["payload_available"] = "online";
        config["payload_not_available"] = "offline";
        config["device"] = Device(id, info);
        messages.push_back(
            {std::string(discoveryPrefix) + "/sensor/" + std::string(id) + "/" + object + "/config",
             JsonText(config), true});
    }
    return messages;
}

} // namespace mqtt
