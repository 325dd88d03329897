#pragma once

#include "base/SettingsStore.h"

#include <cstddef>
#include <string>

// The panel's MQTT settings, section "Mqtt" of its settings file. The password is not among
// them: it lives in the desktop's keyring.
struct BrokerSettings {
    std::string url; // empty: no publishing, no connection
    std::string id;  // empty: the model and the port's base name
    bool discovery = false;
    std::size_t queueReadings = 10'000;
    std::string caFile;
};

inline const std::string kBrokerSection = "Mqtt";

BrokerSettings ReadBrokerSettings(SettingsStore& store);
// Throws SettingsStoreError, as the store does.
void WriteBrokerSettings(SettingsStore& store, const BrokerSettings& settings);
