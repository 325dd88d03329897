#include "LoggedFileReader.h"

#include "BlockLines.h"
#include "LineFields.h"

namespace {

// A file whose kind is not known after this many lines is none of the kinds.
constexpr std::size_t kRecognitionLines = 1000;

// Reads lines in the layouts of the files.
class RecordLines {
public:
    explicit RecordLines(char decimalSeparator) : decimalSeparator_(decimalSeparator) {}

    // The record of a line in that layout, or nothing when the line does not read so.
    std::optional<LoggedRecord> Read(LoggedFileKind kind, std::string_view line) {
        LineFields fields(line, decimalSeparator_);
        LoggedRecord record;
        std::optional<std::int64_t> time;
        float coldJunction = 0;
        bool read = false;
        switch (kind) {
        case LoggedFileKind::Download:
            read = fields.SkipDigits() && fields.Take(',') &&
                   (time = fields.TimeStamp('/', ':', days_)) && fields.Take(';') &&
                   fields.Values(record.channels);
            break;
        case LoggedFileKind::PcLog:
            read = (time = fields.TimeStamp('.', std::nullopt, days_)) && fields.Take(';') &&
                   fields.Value(coldJunction) && fields.Take(';') && fields.Values(record.channels);
            break;
        case LoggedFileKind::ChartData:
            read = fields.Values(record.channels);
            break;
        }
        if (!read || !fields.AtEnd()) {
            return std::nullopt;
        }
        record.time = time.value_or(0);
        return record;
    }

private:
    char decimalSeparator_;
    DayCache days_;
};

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Decides which records start a new line and hands them on one behind, once the spacing after
// each is known.
class LineBreaks {
public:
    explicit LineBreaks(LoggedRecordSink& sink) : sink_(sink) {}

    void Add(const LoggedRecord& record) {
        if (pending_) {
            const std::int64_t after = record.time - pending_->time;
            HandOn(after);
            before_ = into_;
            into_ = after;
        }
        pending_ = record;
    }

    void Finish() {
        if (pending_) {
            HandOn(std::nullopt);
            pending_.reset();
        }
    }

private:
    void HandOn(std::optional<std::int64_t> after) {
        pending_->newLine = StartsLine(after);
        sink_.Add(*pending_);
    }

    bool StartsLine(std::optional<std::int64_t> after) const {
        if (!into_) {
            return false;
        }
        if (*into_ < 0) {
            return true;
        }
        std::optional<std::int64_t> usual;
        for (const auto& neighbour : {before_, after}) {
            if (neighbour && *neighbour > 0 && (!usual || *neighbour < *usual)) {
                usual = neighbour;
            }
        }
        return usual && *into_ > 2 * *usual;
    }

    LoggedRecordSink& sink_;
    std::optional<LoggedRecord> pending_;
    // The spacing into the pending record and the one into the record before it.
    std::optional<std::int64_t> into_;
    std::optional<std::int64_t> before_;
};

// The kind the line reads as: a chart data file's first line is its title, so values from the
// second line on.
std::optional<std::pair<LoggedFileKind, LoggedRecord>>
Recognise(RecordLines& lines, std::string_view line, std::size_t number) {
    for (const LoggedFileKind kind :
         {LoggedFileKind::Download, LoggedFileKind::PcLog, LoggedFileKind::ChartData}) {
        if (kind == LoggedFileKind::ChartData && number == 1) {
            continue;
        }
        if (auto record = lines.Read(kind, line)) {
            return std::pair(kind, *record);
        }
    }
    return std::nullopt;
}

// The lines that did not read before the kind was known: the first one, which is a chart data
// file's title, and the others.
class LinesBeforeKind {
public:
    void Unreadable(std::size_t number) {
        if (number == 1) {
            first_ = true;
        } else if (others_++ == 0) {
            firstOther_ = number;
        }
    }

    void CountAsSkipped(LoggedFileKind kind, LoggedFileSummary& summary) const {
        const bool first = first_ && kind != LoggedFileKind::ChartData;
        summary.skippedLines = others_ + (first ? 1 : 0);
        summary.firstSkippedLine = first ? 1 : firstOther_;
    }

private:
    bool first_ = false;
    std::size_t others_ = 0;
    std::size_t firstOther_ = 0;
};

} // namespace

LoggedFileSummary ReadLoggedFile(std::istream& input, char decimalSeparator,
                                 LoggedRecordSink& sink) {
    LoggedFileSummary summary;
    BlockLines lines(input);
    RecordLines records(decimalSeparator);
    LineBreaks breaks(sink);
    LinesBeforeKind beforeKind;
    std::string firstLine;
    std::size_t number = 0;
    std::string_view line;

    const auto add = [&](const LoggedRecord& record) {
        if (summary.records++ == 0) {
            summary.firstTime = record.time;
        }
        summary.lastTime = record.time;
        breaks.Add(record);
    };

    while (lines.Next(line)) {
        ++number;
        if (IsBlank(line)) {
            continue;
        }
        if (summary.kind) {
            if (const auto record = records.Read(*summary.kind, line)) {
                add(*record);
            } else if (summary.skippedLines++ == 0) {
                summary.firstSkippedLine = number;
            }
            continue;
        }
        // A line too long for any layout, or none readable among the first: none of the kinds.
        if (lines.Cut() || number > kRecognitionLines) {
            break;
        }
        const auto recognised = Recognise(records, line, number);
        if (!recognised) {
            beforeKind.Unreadable(number);
            if (number == 1) {
                firstLine = line;
            }
            continue;
        }
        summary.kind = recognised->first;
        if (summary.kind == LoggedFileKind::ChartData) {
            summary.title = firstLine;
        }
        beforeKind.CountAsSkipped(*summary.kind, summary);
        sink.Begin(*summary.kind);
        add(recognised->second);
    }
    breaks.Finish();
    summary.readError = lines.Failed();
    return summary;
}
