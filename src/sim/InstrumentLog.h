#pragma once

#include "sim/CivilTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace sim {

// One record of the instrument's own log: when, and the eight input readings.
struct LoggedRecord {
    CivilTime time;
    std::array<float, 8> values{};
};

// The log memory: records numbered from 1, filled until the memory is full (the record count
// travels as four hex digits), emptied by the pointer reset and by the memory test.
class InstrumentLog {
public:
    static constexpr std::size_t kCapacity = 0xFFFF;

    // False when the memory is full and the record was not kept.
    bool Add(const LoggedRecord& record);
    void Clear() { records_.clear(); }
    std::size_t Count() const { return records_.size(); }
    // Record `number` (1 to Count()), or nothing.
    std::optional<LoggedRecord> Record(std::int64_t number) const;

private:
    std::vector<LoggedRecord> records_;
};

} // namespace sim
