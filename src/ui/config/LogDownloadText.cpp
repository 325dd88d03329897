#include "LogDownloadText.h"

#include "protocol/MessageCatalogue.h"
#include "protocol/PayloadNumbers.h"
#include "protocol/RequestBuilders.h"
#include "ui/panel/LocaleText.h"

#include <algorithm>
#include <numeric>

namespace LogDownloadText {

namespace {

constexpr int kChannels = 8;
constexpr int kDecimals = 4;

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

bool IsReplyOf(std::string_view payload, int record) {
    return payload.starts_with('D') && LoggedRecordReply::RecordNumberText(payload) ==
                                           LastCharacters("0000" + std::to_string(record), 4);
}

std::optional<QString> RecordLine(std::string_view payload, int record) {
    if (!IsReplyOf(payload, record) || !LoggedRecordReply::Readable(payload)) {
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

QString Shortfall(const DownloadGaps& gaps) {
    QStringList told;
    const auto tell = [&told](const QString& what, const std::vector<int>& records, int of) {
        if (!records.empty()) {
            told.append(QStringLiteral("%1 of %2 records %3: %4.")
                            .arg(records.size())
                            .arg(of)
                            .arg(what, Runs(records)));
        }
    };
    tell(QStringLiteral("did not arrive and are not in the file"), gaps.notAnswered, gaps.handled);
    tell(QStringLiteral("came with a reply that could not be read and are not in the file"),
         gaps.unreadable, gaps.handled);
    std::vector<int> notFetched(static_cast<std::size_t>(std::max(gaps.last - gaps.handled, 0)));
    std::iota(notFetched.begin(), notFetched.end(), gaps.handled + 1);
    tell(gaps.instrumentSilent
             ? QStringLiteral("were not fetched, as the instrument stopped answering")
             : QStringLiteral("were not fetched, as the download was stopped"),
         notFetched, gaps.last);
    if (gaps.recordCount > kLastAddressableRecord) {
        told.append(QStringLiteral("Records %1 to %2 (%3 records) could not be fetched: a record "
                                   "is asked for by a four-digit number.")
                        .arg(kLastAddressableRecord + 1)
                        .arg(gaps.recordCount)
                        .arg(gaps.recordCount - kLastAddressableRecord));
    }
    return told.join(QLatin1Char('\n'));
}

} // namespace LogDownloadText
