#include "LogJobs.h"

#include "LoggedRecords.h"
#include "protocol/RequestBuilders.h"

#include <algorithm>

namespace jobs {

namespace {

RecordResult ResultOf(int record, const protocol::ExchangeResult& reply) {
    RecordResult result{record, RecordFate::NotAnswered, {}};
    if (reply.outcome == protocol::Outcome::Refused) {
        result.fate = RecordFate::Unreadable;
    } else if (reply.Answered()) {
        const bool readable = LoggedRecords::RecordLine(reply.reply, record, '.').has_value();
        result.fate = readable ? RecordFate::Fetched : RecordFate::Unreadable;
        result.reply = readable ? reply.reply : std::string();
    }
    return result;
}

} // namespace

DownloadReport DownloadRecords(const JobLink& link, int first, int last, DownloadSink& sink) {
    DownloadReport report;
    report.wanted = last;
    report.last = std::min(last, LoggedRecords::kLastAddressableRecord);
    report.handled = first - 1;
    protocol::SilenceWatch silence;
    for (int record = first; record <= report.last && !link.stop.stop_requested(); ++record) {
        sink.Fetching(record);
        const protocol::ExchangeResult reply = link.Ask(protocol::Question::LoggedRecord(record));
        if (Stopped(reply.outcome)) {
            break;
        }
        silence.Note(reply.outcome);
        const RecordResult result = ResultOf(record, reply);
        report.handled = record;
        if (result.fate == RecordFate::NotAnswered) {
            report.notAnswered.push_back(record);
        } else if (result.fate == RecordFate::Unreadable) {
            report.unreadable.push_back(record);
        }
        if (!sink.Take(result)) {
            break;
        }
        if (silence.Silent()) {
            report.instrumentSilent = true;
            break;
        }
    }
    return report;
}

protocol::Outcome ResetLogPointer(const JobLink& link) {
    return link.Ask(*protocol::Question::Request(protocol::LogPointerResetRequest())).outcome;
}

protocol::Outcome TestLogMemory(const JobLink& link) {
    return link.Ask(*protocol::Question::Request(protocol::MemoryTestRequest())).outcome;
}

} // namespace jobs
