#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

// The per-user settings tree: a key, sections under it, and named text values in each section.
// The program plugs in a persistent store; tests keep theirs in memory.
class SettingsStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the value is missing. Throws SettingsStoreError when
    // the store cannot be read.
    virtual std::optional<std::string> ReadValue(const std::string& key, const std::string& section,
                                                 const std::string& name) = 0;
    // Creates the key and the section as needed. Throws SettingsStoreError when the value
    // cannot be written.
    virtual void WriteValue(const std::string& key, const std::string& section,
                            const std::string& name, const std::string& value) = 0;
};

// The application's key; every window keeps its values in a section of it.
inline const std::string kSettingsKey = "Software\\Vxxx Control Panel";

// The text as a decimal integer (an optional sign, then digits only), or nothing.
std::optional<long long> ParseDecimal(const std::string& text);
// The same, when T holds it; never cut to T's width.
template <typename T> std::optional<T> ParseInRange(const std::string& text) {
    const std::optional<long long> value = ParseDecimal(text);
    if (!value || !std::in_range<T>(*value)) {
        return std::nullopt;
    }
    return static_cast<T>(*value);
}

// The windows' readers: a missing value, text that is not of the value's kind, or a store that
// cannot be read gives the caller's default, so a window always comes up.
// Integer values are decimal text.
int ReadInteger(SettingsStore& store, const std::string& section, const std::string& name,
                int defaultValue);
void WriteInteger(SettingsStore& store, const std::string& section, const std::string& name,
                  int value);
// Flags are "0" and "1"; any nonzero integer reads as true.
bool ReadFlag(SettingsStore& store, const std::string& section, const std::string& name,
              bool defaultValue);
void WriteFlag(SettingsStore& store, const std::string& section, const std::string& name,
               bool value);
std::string ReadText(SettingsStore& store, const std::string& section, const std::string& name,
                     const std::string& defaultValue);
