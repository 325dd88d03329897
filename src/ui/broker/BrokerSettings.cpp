#include "BrokerSettings.h"

namespace {

constexpr std::size_t kLargestQueue = 1'000'000;

} // namespace

BrokerSettings ReadBrokerSettings(SettingsStore& store) {
    BrokerSettings settings;
    settings.url = ReadText(store, kBrokerSection, "Url", "");
    settings.id = ReadText(store, kBrokerSection, "Id", "");
    settings.discovery = ReadFlag(store, kBrokerSection, "Discovery", false);
    const int queue =
        ReadInteger(store, kBrokerSection, "Queue", static_cast<int>(settings.queueReadings));
    if (queue >= 1 && static_cast<std::size_t>(queue) <= kLargestQueue) {
        settings.queueReadings = static_cast<std::size_t>(queue);
    }
    settings.caFile = ReadText(store, kBrokerSection, "CaFile", "");
    return settings;
}

void WriteBrokerSettings(SettingsStore& store, const BrokerSettings& settings) {
    store.WriteValue(kSettingsKey, kBrokerSection, "Url", settings.url);
    store.WriteValue(kSettingsKey, kBrokerSection, "Id", settings.id);
    WriteFlag(store, kBrokerSection, "Discovery", settings.discovery);
    WriteInteger(store, kBrokerSection, "Queue", static_cast<int>(settings.queueReadings));
    store.WriteValue(kSettingsKey, kBrokerSection, "CaFile", settings.caFile);
}
