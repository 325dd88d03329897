#include "ReadingMessages.h"

#include "JsonText.h"

namespace mqtt {

namespace {

std::string Topic(std::string_view prefix, std::string_view id, std::string_view leaf) {
    std::string topic;
    topic.reserve(prefix.size() + id.size() + leaf.size() + 2);
    return topic.append(prefix).append("/").append(id).append("/").append(leaf);
}

} // namespace

std::vector<Message> ReadingMessages(std::string_view prefix, std::string_view id,
                                     const Reading& reading) {
    std::vector<Message> messages;
    messages.reserve(kChannelCount);
    for (std::size_t channel = 0; channel < kChannelCount; ++channel) {
        const ChannelEntry& entry = reading.channels[channel];
        Json payload;
        payload["time"] = reading.time;
        payload["value"] = entry.value ? Json(*entry.value) : Json(nullptr); // NaN dumps as null
        payload["unit"] = reading.unit;
        payload["text"] = entry.text;
        messages.push_back(
            {Topic(prefix, id, "channel/" + std::to_string(channel)), JsonText(payload), false});
    }
    return messages;
}

Message InfoMessage(std::string_view prefix, std::string_view id, const InstrumentInfo& info) {
    Json payload;
    payload["model"] = info.model;
    payload["firmware"] = info.firmware;
    payload["unit"] = info.unit;
    return {Topic(prefix, id, "info"), JsonText(payload), true};
}

Message StatusMessage(std::string_view prefix, std::string_view id, bool online) {
    return {Topic(prefix, id, "status"), online ? "online" : "offline", true};
}

} // namespace mqtt
