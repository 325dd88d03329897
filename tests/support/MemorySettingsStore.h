#pragma once

#include "base/SettingsStore.h"

#include <map>
#include <optional>
#include <string>
#include <tuple>

// The settings tree in memory, with switches that make reads or writes fail.
class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<std::string> ReadValue(const std::string& key, const std::string& section,
                                         const std::string& name) override {
        if (failReads_) {
            throw SettingsStoreError("settings store cannot be read");
        }
        const auto found = values_.find({key, section, name});
        if (found == values_.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    void WriteValue(const std::string& key, const std::string& section, const std::string& name,
                    const std::string& value) override {
        if (failWrites_ || (!failingName_.empty() && name == failingName_)) {
            throw SettingsStoreError("settings store cannot be written");
        }
        values_[{key, section, name}] = value;
    }

    // Makes every later read, or every later write, fail until cleared.
    void SetFailReads(bool fail) { failReads_ = fail; }
    void SetFailWrites(bool fail) { failWrites_ = fail; }
    // Makes the write of the value of this name fail.
    void FailWriteOf(std::string name) { failingName_ = std::move(name); }

    void Set(const std::string& section, const std::string& name, const std::string& value) {
        values_[{kSettingsKey, section, name}] = value;
    }
    std::optional<std::string> Get(const std::string& section, const std::string& name) const {
        const auto found = values_.find({kSettingsKey, section, name});
        if (found == values_.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    std::size_t Size() const { return values_.size(); }

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
    bool failReads_ = false;
    bool failWrites_ = false;
    std::string failingName_;
};
