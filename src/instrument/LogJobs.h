#pragma once

#include "JobLink.h"

#include <string>
#include <vector>

// The instrument's log memory: the download of its logged records, the log pointer reset and the
// memory test.
namespace jobs {

// A record's reply is waited for a second and asked for three times in all.
inline constexpr protocol::Bounds kRecordBounds{1000, 3};

enum class RecordFate {
    Fetched,     // its line is made from its own reply
    NotAnswered, // no reply of its own came
    Unreadable,  // its reply came but cannot be read (garbled, or memory never written)
};

struct RecordResult {
    int record = 1;
    RecordFate fate = RecordFate::NotAnswered;
    // Its reply when fetched, whole and readable: LoggedRecords::RecordLine makes its line.
    std::string reply;
};

// Where a download's records go, one by one as they come.
class DownloadSink {
public:
    virtual ~DownloadSink() = default;
    // The record is about to be asked for.
    virtual void Fetching(int /*record*/) {}
    // The record's result; false stops the download (its line could not be written).
    virtual bool Take(const RecordResult& result) = 0;
};

// How a download went. Records `handled` + 1 to `last` were not fetched: it was stopped, or the
// instrument stopped answering; records beyond `last` up to `wanted` cannot be asked for.
struct DownloadReport {
    std::vector<int> notAnswered; // ascending
    std::vector<int> unreadable;  // ascending
    int handled = 0;              // the records up to this one were fetched or tried in full
    int last = 0;                 // the last record asked for
    int wanted = 0;               // the last record wanted
    bool instrumentSilent = false;

    bool Whole() const {
        return notAnswered.empty() && unreadable.empty() && handled == last && last == wanted;
    }
};

// Records `first` to `last` (those a four-digit number can address), each asked for within
// `link.bounds` (kRecordBounds), each result handed to the sink as it comes. Three records in a
// row without a reply mean the instrument has stopped answering, and the download ends there;
// so does a stop, and a sink that takes no more.
DownloadReport DownloadRecords(const JobLink& link, int first, int last, DownloadSink& sink);

// The "Z" request and its pause.
protocol::Outcome ResetLogPointer(const JobLink& link);
// The "T" request and its pause, in which the instrument overwrites its log memory.
protocol::Outcome TestLogMemory(const JobLink& link);

} // namespace jobs
