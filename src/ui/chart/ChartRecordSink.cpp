#include "ChartRecordSink.h"

#include "LineSeries.h"

namespace {

constexpr std::size_t kBatch = 16384;

} // namespace

ChartRecordSink::ChartRecordSink(PointKeys& keys, std::span<LineSeries* const> series,
                                 std::function<void()> meanwhile)
    : keys_(keys), series_(series.begin(), series.end()), meanwhile_(std::move(meanwhile)) {
    for (std::vector<float>& values : held_) {
        values.reserve(kBatch);
    }
}

void ChartRecordSink::Begin(LoggedFileKind kind) {
    keys_.Clear();
    for (LineSeries* series : series_) {
        series->Release();
    }
    timed_ = kind != LoggedFileKind::ChartData;
}

void ChartRecordSink::Add(const LoggedRecord& record) {
    if (timed_) {
        keys_.Append(static_cast<double>(record.time), record.newLine);
    }
    for (std::size_t channel = 0; channel < held_.size(); ++channel) {
        held_[channel].push_back(record.channels[channel]);
    }
    if (held_[0].size() == kBatch) {
        Flush();
        meanwhile_();
    }
}

void ChartRecordSink::Finish() {
    Flush();
}

void ChartRecordSink::Flush() {
    for (std::size_t channel = 0; channel < held_.size(); ++channel) {
        if (channel < series_.size()) {
            series_[channel]->AddY(held_[channel]);
        }
        held_[channel].clear();
    }
}
