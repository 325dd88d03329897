#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>

// The per-user settings tree: a key, sections under it, and named text values in each section.
// The program plugs in a persistent store; tests use MemorySettingsStore.
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

class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<std::string> ReadValue(const std::string& key, const std::string& section,
                                         const std::string& name) override;
    void WriteValue(const std::string& key, const std::string& section, const std::string& name,
                    const std::string& value) override;

    // Makes every later read, or every later write, fail until cleared.
    void SetFailReads(bool fail) { failReads_ = fail; }
    void SetFailWrites(bool fail) { failWrites_ = fail; }
    // Makes the write of the value of this name fail.
    void FailWriteOf(std::string name) { failingName_ = std::move(name); }

    void Set(const std::string& section, const std::string& name, const std::string& value) {
        values_[{kSettingsKey, section, name}] = value;
    }
    std::optional<std::string> Get(const std::string& section, const std::string& name) const;
    std::size_t Size() const { return values_.size(); }

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
    bool failReads_ = false;
    bool failWrites_ = false;
    std::string failingName_;
};
