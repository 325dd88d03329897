#include "LoggedRecords.h"

#include "NumberText.h"
#include "protocol/MessageCatalogue.h"
#include "protocol/RequestBuilders.h"

namespace LoggedRecords {

namespace {

constexpr int kChannels = 8;
constexpr int kDecimals = 4;

std::string Run(int first, int last) {
    return first == last ? std::to_string(first)
                         : std::to_string(first) + "-" + std::to_string(last);
}

} // namespace

std::string FileNameBase(std::string_view modelName, std::string_view stamp) {
    static constexpr std::string_view kNotInFileNames = "/\\:*?\"<>|";
    std::string model(modelName);
    for (char& c : model) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || kNotInFileNames.find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    return model + " " + std::string(stamp);
}

bool IsReplyOf(std::string_view payload, int record) {
    return !payload.empty() && payload.front() == 'D' &&
           protocol::LoggedRecordReply::RecordNumberText(payload) ==
               protocol::LastCharacters("0000" + std::to_string(record), 4);
}

std::optional<std::string> RecordLine(std::string_view payload, int record, char decimalSeparator) {
    if (!IsReplyOf(payload, record) || !protocol::LoggedRecordReply::Readable(payload)) {
        return std::nullopt;
    }
    std::string line = protocol::LoggedRecordReply::RecordNumberText(payload) + "," +
                       protocol::LoggedRecordReply::DateText(payload) + " " +
                       protocol::LoggedRecordReply::TimeText(payload);
    for (int channel = 1; channel <= kChannels; ++channel) {
        line += ';';
        line += WithDecimalSeparator(
            FixedWithTenDigits(protocol::LoggedRecordReply::ChannelValue(payload, channel),
                               kDecimals),
            decimalSeparator);
    }
    return line;
}

std::string NumberRuns(const std::vector<int>& ascending) {
    std::string runs;
    for (std::size_t i = 0; i < ascending.size();) {
        std::size_t end = i;
        while (end + 1 < ascending.size() && ascending[end + 1] == ascending[end] + 1) {
            ++end;
        }
        runs += (runs.empty() ? "" : ", ") + Run(ascending[i], ascending[end]);
        i = end + 1;
    }
    return runs;
}

} // namespace LoggedRecords
