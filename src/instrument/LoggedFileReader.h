#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

// Reading back the files of logged readings that the program and vxxx write: the downloaded log
// ("0001,07/12/26 10:15:00;v1;...;v8"), the PC log ("07.12.26 10:15:00;cj;v1;...;v8") and the
// chart data file (a title line, then "v1;...;v8"). Which one a file is comes from its content.

enum class LoggedFileKind { Download, PcLog, ChartData };

// What the files hold, as the operator reads it when a file is none of them.
inline constexpr std::string_view kLoggedFileLayouts =
    "a downloaded log (record number, date and time, eight channels), a PC log (date and time, "
    "cold junction and eight channels) or a chart data file (a title line, then eight values a "
    "line)";

struct LoggedRecord {
    // The time stamp as whole seconds on one time line (SecondsOf: the file's own clock, no
    // time zone); 0 in a chart data file, whose lines carry no time.
    std::int64_t time = 0;
    // Not to be joined to the record before: its time goes back, or it comes after a gap longer
    // than twice the usual spacing (the shorter of the spacings before and after the gap).
    bool newLine = false;
    std::array<float, 8> channels{};
};

// Takes the records as they are read.
class LoggedRecordSink {
public:
    virtual ~LoggedRecordSink() = default;
    // The file's kind, known from its first readable line; comes once, before any record, and
    // never for a file that is none of the kinds.
    virtual void Begin(LoggedFileKind kind) = 0;
    virtual void Add(const LoggedRecord& record) = 0;
};

struct LoggedFileSummary {
    // Nothing when no line within the first ones reads as any of the layouts: nothing was handed
    // to the sink.
    std::optional<LoggedFileKind> kind;
    std::string title; // the first line of a chart data file
    std::size_t records = 0;
    // Lines that do not read as the file's layout (blank lines aside), and the first one's
    // number, counting from 1.
    std::size_t skippedLines = 0;
    std::size_t firstSkippedLine = 0;
    // The first and the last record's time stamp, in file order.
    std::int64_t firstTime = 0;
    std::int64_t lastTime = 0;
    // The input failed part way: what came before was handed on.
    bool readError = false;
};

// Reads the whole input in one pass. Values are written with '.' or with `decimalSeparator`.
LoggedFileSummary ReadLoggedFile(std::istream& input, char decimalSeparator,
                                 LoggedRecordSink& sink);
