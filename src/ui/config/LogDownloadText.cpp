#include "LogDownloadText.h"

#include "protocol/MessageCatalogue.h"
#include "protocol/PayloadNumbers.h"
#include "protocol/RequestBuilders.h"
#include "ui/panel/LocaleText.h"

#include <algorithm>
#include <cctype>

namespace LogDownloadText {

namespace {

// Letter, record number, six two-digit time fields, eight values of eight hexadecimal digits.
constexpr std::size_t kTimePosition = 6;
constexpr std::size_t kTimeLength = 12;
constexpr std::size_t kValuesPosition = 18;
constexpr std::size_t kValuesLength = 64;
constexpr std::size_t kRecordLength = kValuesPosition - 1 + kValuesLength;
constexpr int kChannels = 8;
constexpr int kDecimals = 4;

template <typename Test> bool All(std::string_view text, Test test) {
    return std::all_of(text.begin(), text.end(),
                       [&](char c) { return test(static_cast<unsigned char>(c)) != 0; });
}

// "5", or "7-9" for a run.
QString Run(int first, int last) {
    return first == last ? QString::number(first) : QStringLiteral("%1-%2").arg(first).arg(last);
}

QString Runs(const std::vector<int>& ascending) {
    QStringList runs;
    for (std::size_t i = 0; i < ascending.size();) {
        std::size_t end = i;
        while (end + 1 < ascending.size() && ascending[end + 1] == ascending[end] + 1) {
            ++end;
        }
        runs.append(Run(ascending[i], ascending[end]));
        i = end + 1;
    }
    return runs.join(QStringLiteral(", "));
}

} // namespace

std::optional<int> RecordCount(const QString& text) {
    const auto count = ParseDecimal(text.toStdString());
    if (!count) {
        return std::nullopt;
    }
    return std::max(*count, 0);
}

QString FileNameBase(const QString& modelName, const QString& stamp) {
    static const QString kNotInFileNames = QStringLiteral("/\\:*?\"<>|");
    QString model = modelName;
    for (QChar& c : model) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || kNotInFileNames.contains(c)) {
            c = QLatin1Char('_');
        }
    }
    return model + QLatin1Char(' ') + stamp;
}

std::optional<QString> RecordLine(std::string_view payload, int record) {
    if (payload.size() < kRecordLength || payload.front() != 'D' ||
        LoggedRecordReply::RecordNumberText(payload) !=
            LastCharacters("0000" + std::to_string(record), 4) ||
        !All(payload.substr(kTimePosition - 1, kTimeLength), ::isdigit) ||
        !All(payload.substr(kValuesPosition - 1, kValuesLength), ::isxdigit)) {
        return std::nullopt;
    }
    QString line = QString::fromLatin1(LoggedRecordReply::RecordNumberText(payload)) +
                   QLatin1Char(',') + QString::fromLatin1(LoggedRecordReply::DateText(payload)) +
                   QLatin1Char(' ') + QString::fromLatin1(LoggedRecordReply::TimeText(payload));
    for (int channel = 1; channel <= kChannels; ++channel) {
        line += QLatin1Char(';') +
                LocaleFixed(LoggedRecordReply::ChannelValue(payload, channel), kDecimals);
    }
    return line;
}

QString Shortfall(const std::vector<int>& missing, int attempted, int recordCount) {
    QStringList told;
    if (!missing.empty()) {
        told.append(QStringLiteral("%1 of %2 records did not arrive and are not in the file: %3.")
                        .arg(missing.size())
                        .arg(attempted)
                        .arg(Runs(missing)));
    }
    if (recordCount > kLastAddressableRecord) {
        told.append(QStringLiteral("Records %1 to %2 (%3 records) could not be fetched: a record "
                                   "is asked for by a four-digit number.")
                        .arg(kLastAddressableRecord + 1)
                        .arg(recordCount)
                        .arg(recordCount - kLastAddressableRecord));
    }
    return told.join(QLatin1Char('\n'));
}

} // namespace LogDownloadText
