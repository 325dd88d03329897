#include "sim/InstrumentLog.h"

namespace sim {

bool InstrumentLog::Add(const LoggedRecord& record) {
    if (records_.size() >= kCapacity) {
        return false;
    }
    records_.push_back(record);
    return true;
}

std::optional<LoggedRecord> InstrumentLog::Record(std::int64_t number) const {
    if (number < 1 || static_cast<std::size_t>(number) > records_.size()) {
        return std::nullopt;
    }
    return records_[static_cast<std::size_t>(number) - 1];
}

} // namespace sim
