#include "SettingsStore.h"

#include <charconv>

std::optional<long long> ParseDecimal(const std::string& text) {
    long long value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) {
        return std::nullopt;
    }
    return value;
}

namespace {

std::optional<std::string> ReadOrNothing(SettingsStore& store, const std::string& section,
                                         const std::string& name) {
    try {
        return store.ReadValue(kSettingsKey, section, name);
    } catch (const SettingsStoreError&) {
        return std::nullopt;
    }
}

} // namespace

int ReadInteger(SettingsStore& store, const std::string& section, const std::string& name,
                int defaultValue) {
    const auto text = ReadOrNothing(store, section, name);
    if (!text) {
        return defaultValue;
    }
    return ParseInRange<int>(*text).value_or(defaultValue);
}

void WriteInteger(SettingsStore& store, const std::string& section, const std::string& name,
                  int value) {
    store.WriteValue(kSettingsKey, section, name, std::to_string(value));
}

bool ReadFlag(SettingsStore& store, const std::string& section, const std::string& name,
              bool defaultValue) {
    const auto text = ReadOrNothing(store, section, name);
    if (!text) {
        return defaultValue;
    }
    const auto value = ParseDecimal(*text);
    return value ? *value != 0 : defaultValue;
}

void WriteFlag(SettingsStore& store, const std::string& section, const std::string& name,
               bool value) {
    store.WriteValue(kSettingsKey, section, name, value ? "1" : "0");
}

std::string ReadText(SettingsStore& store, const std::string& section, const std::string& name,
                     const std::string& defaultValue) {
    return ReadOrNothing(store, section, name).value_or(defaultValue);
}
