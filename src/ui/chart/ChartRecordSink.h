#pragma once

#include "PointKeys.h"
#include "instrument/LoggedFileReader.h"

#include <array>
#include <functional>
#include <span>
#include <vector>

class LineSeries;

// Puts the records of a logged file into a chart: channel N into series N, the times, where the
// file has them, into the keys. Points go to the series in batches, so a file of millions of
// lines does not ask for a redraw per point, and between batches `meanwhile` runs.
class ChartRecordSink final : public LoggedRecordSink {
public:
    ChartRecordSink(PointKeys& keys, std::span<LineSeries* const> series,
                    std::function<void()> meanwhile);

    // Empties the chart.
    void Begin(LoggedFileKind kind) override;
    void Add(const LoggedRecord& record) override;
    // Hands on the points still held; runs after the last record.
    void Finish();

private:
    void Flush();

    PointKeys& keys_;
    std::vector<LineSeries*> series_;
    std::function<void()> meanwhile_;
    bool timed_ = false;
    std::array<std::vector<float>, 8> held_;
};
