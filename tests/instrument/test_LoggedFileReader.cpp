#include "instrument/ClockText.h"
#include "instrument/LoggedFileReader.h"

#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <vector>

namespace {

class CollectedRecords final : public LoggedRecordSink {
public:
    void Begin(LoggedFileKind kind) override { kinds.push_back(kind); }
    void Add(const LoggedRecord& record) override { records.push_back(record); }

    std::vector<LoggedFileKind> kinds;
    std::vector<LoggedRecord> records;
};

// A record as the table gives it: its time ("" in a chart data file), whether it starts a new
// line, channels 1 and 8.
struct Expected {
    std::string time;
    bool newLine;
    float first;
    float last;
};

struct Case {
    const char* what;
    std::string text;
    char decimalSeparator;
    std::optional<LoggedFileKind> kind;
    std::vector<Expected> records;
    std::size_t skippedLines = 0;
    std::size_t firstSkippedLine = 0;
    std::string title = "";
};

std::int64_t Seconds(const std::string& text) {
    return SecondsOf(ReadInstrumentClock(text.substr(0, 8), text.substr(9)).value());
}

constexpr float kBeyondFloat = std::numeric_limits<float>::infinity();
const std::string kValues = ";1.0000;2.0000;3.0000;4.0000;5.0000;6.0000;7.0000;8.5000";

// Gives the text, then fails as a device that has gone away does.
class FailingAfter final : public std::streambuf {
public:
    explicit FailingAfter(std::string text) : text_(std::move(text)) {
        setg(text_.data(), text_.data(), text_.data() + text_.size());
    }

protected:
    int_type underflow() override { throw std::ios_base::failure("the device has gone"); }

private:
    std::string text_;
};

// Download lines of those times, at record numbers 1, 2 ...
std::string DownloadAt(const std::vector<std::string>& times) {
    std::string text;
    for (std::size_t i = 0; i < times.size(); ++i) {
        text += std::to_string(i + 1) + ",07/12/26 " + times[i] + kValues + "\n";
    }
    return text;
}

} // namespace

TEST(LoggedFileReader, ReadsTheThreeLayoutsAndTellsWhatItCannotRead) {
    using enum LoggedFileKind;
    const std::string beyond = ";-1.5000;0;0;0;0;0;0;3.402823669E+0038";
    // clang-format off
    const std::vector<Case> cases{
        {"downloaded log, '.'",
         "0001,07/12/26 10:15:00" + kValues + "\r\n0002,07/12/26 10:15:10" + beyond + "\r\n", '.',
         Download, {{"07/12/26 10:15:00", false, 1, 8.5f},
                    {"07/12/26 10:15:10", false, -1.5f, kBeyondFloat}}},
        {"downloaded log, decimal comma, the last line without its end",
         "0001,31/12/26 23:59:50;21,5000;0,0000;0;0;0;0;0;-0,2500\n"
         "0002,01/01/27 00:00:00;21.6000;0;0;0;0;0;0;1", ',',
         Download, {{"31/12/26 23:59:50", false, 21.5f, -0.25f},
                    {"01/01/27 00:00:00", false, 21.6f, 1}}},
        {"PC log, '.', after a byte order mark",
         "\xEF\xBB\xBF" "07.12.26 10:15:00;25.1000" + kValues + "\r\n"
         "07.12.26 10:15:02;25" + kValues, '.',
         PcLog, {{"07/12/26 10:15:00", false, 1, 8.5f},
                 {"07/12/26 10:15:02", false, 1, 8.5f}}},
        {"PC log, decimal comma, '.' between hours, minutes and seconds",
         "07.12.26 10.15.00;25,1000;-3,0000;0;0;0;0;0;0;20,0000\r\n", ',',
         PcLog, {{"07/12/26 10:15:00", false, -3, 20}}},
        {"chart data file: the title, then eight values a line",
         "V420 Start: 07/12/26 10:15:02\r\n21.5000;21.4375;-3.0000;0;0;0;0;7.0000\r\n"
         "1,0000;2;3;4;5;6;7;8\r\n", ',',
         ChartData, {{"", false, 21.5f, 7}, {"", false, 1, 8}}, 0, 0,
         "V420 Start: 07/12/26 10:15:02"},
        {"unreadable lines are skipped and counted, blank ones passed over",
         "garbage\r\n07.12.26 10:15:00;25" + kValues + "\r\n\r\n"
         "07.12.26 10:15:02;25" + kValues + ";9\r\n"        // a tenth channel
         "07.12.26 10:15:04;25;1;2;3;4;5;6;7\r\n"           // a channel short
         "32.12.26 10:15:06;25" + kValues + "\r\n"          // no such day
         "07.12.26 10:15:08;25;1;2;3;4;5;6;7x;8\r\n"        // not a number
         "07.12.26 10:15:10;25;1;2;3;4;5;6;7;nan\r\n"
         "07.12.26 10:15:12;25" + kValues + "\r\n  \r\n", '.',
         PcLog, {{"07/12/26 10:15:00", false, 1, 8.5f},
                 {"07/12/26 10:15:12", false, 1, 8.5f}}, 6, 1},
        {"numbers in exponent form and longer than a double holds exactly; no '+' sign",
         "0001,07/12/26 10:15:00;1,234567890E+0010;0;0;0;0;0;0;12345678901234567,0000\r\n"
         "0002,07/12/26 10:15:10;+1.0000;0;0;0;0;0;0;0\r\n", ',',
         Download, {{"07/12/26 10:15:00", false, 1.23456789e10f, 1.2345678901234567e16f}}, 1, 2},
        {"a decimal comma where the locale's separator is '.'",
         "1,0000;2;3;4;5;6;7;8\r\n1,0000;2;3;4;5;6;7;8\r\n", '.', std::nullopt, {}},
        {"a gap longer than twice the spacing, and a time that goes back, start new lines",
         DownloadAt({"10:00:00", "10:00:10", "10:00:30", "10:01:20", "10:01:30", "09:01:40",
                     "09:01:50"}), '.',
         Download, {{"07/12/26 10:00:00", false, 1, 8.5f}, {"07/12/26 10:00:10", false, 1, 8.5f},
                    {"07/12/26 10:00:30", false, 1, 8.5f},  // one record missing: joined
                    {"07/12/26 10:01:20", true, 1, 8.5f},   // four missing
                    {"07/12/26 10:01:30", false, 1, 8.5f}, {"07/12/26 09:01:40", true, 1, 8.5f},
                    {"07/12/26 09:01:50", false, 1, 8.5f}}},
        {"a file of another kind", "Output;Type;Channel\r\n1;HIGH;3\r\n2;OFF;1\r\n", '.',
         std::nullopt, {}},
        {"an empty file", "", '.', std::nullopt, {}},
        {"a line far too long before anything readable",
         std::string(100000, '7') + "\r\n0001,07/12/26 10:15:00" + kValues + "\r\n", '.',
         std::nullopt, {}},
    };
    // clang-format on
    for (const Case& one : cases) {
        SCOPED_TRACE(one.what);
        std::istringstream input(one.text);
        CollectedRecords sink;
        const LoggedFileSummary summary = ReadLoggedFile(input, one.decimalSeparator, sink);
        EXPECT_EQ(summary.kind, one.kind);
        EXPECT_EQ(sink.kinds.size(), one.kind ? 1u : 0u);
        EXPECT_EQ(summary.title, one.title);
        EXPECT_EQ(summary.skippedLines, one.skippedLines);
        EXPECT_EQ(summary.firstSkippedLine, one.firstSkippedLine);
        EXPECT_FALSE(summary.readError);
        ASSERT_EQ(sink.records.size(), one.records.size());
        EXPECT_EQ(summary.records, one.records.size());
        for (std::size_t i = 0; i < one.records.size(); ++i) {
            const Expected& expected = one.records[i];
            const LoggedRecord& record = sink.records[i];
            EXPECT_EQ(record.time, expected.time.empty() ? 0 : Seconds(expected.time)) << i;
            EXPECT_EQ(record.newLine, expected.newLine) << i;
            EXPECT_EQ(record.channels[0], expected.first) << i;
            EXPECT_EQ(record.channels[7], expected.last) << i;
        }
        if (!one.records.empty()) {
            EXPECT_EQ(summary.firstTime, sink.records.front().time);
            EXPECT_EQ(summary.lastTime, sink.records.back().time);
        }
    }

    // A file whose reading fails part way: the records before the failure, none made of the part
    // of a line read when it failed.
    std::string text;
    for (int second = 0; second < 20000; ++second) {
        text += "07.12.26 10:00:00;25" + kValues.substr(0, 50) + std::to_string(second) + "\r\n";
    }
    FailingAfter failing(text);
    std::istream input(&failing);
    CollectedRecords sink;
    const LoggedFileSummary summary = ReadLoggedFile(input, '.', sink);
    EXPECT_TRUE(summary.readError);
    EXPECT_EQ(summary.skippedLines, 0u);
    ASSERT_GT(sink.records.size(), 0u);
    EXPECT_LT(sink.records.size(), 20000u);
    EXPECT_EQ(sink.records.back().channels[7], static_cast<float>(sink.records.size() - 1));
}
