#include "LogDownloadText.h"

#include "instrument/LoggedRecords.h"
#include "protocol/PayloadNumbers.h"
#include "ui/panel/LocaleText.h"
#include "ui/panel/Windows1252.h"

#include <algorithm>
#include <numeric>

namespace LogDownloadText {

std::optional<int> RecordCount(const QString& text) {
    const auto count = protocol::ParseDecimal(text.toStdString());
    if (!count) {
        return std::nullopt;
    }
    return std::max(*count, 0);
}

std::optional<QString> RecordLine(std::string_view payload, int record) {
    const std::optional<std::string> line = LoggedRecords::RecordLine(payload, record, '.');
    if (!line) {
        return std::nullopt;
    }
    return WithLocalePoint(FromWindows1252(*line));
}

QString Shortfall(const jobs::DownloadReport& gaps) {
    QStringList told;
    const auto tell = [&told](const QString& what, const std::vector<int>& records, int of) {
        if (!records.empty()) {
            told.append(QStringLiteral("%1 of %2 records %3: %4.")
                            .arg(records.size())
                            .arg(of)
                            .arg(what, QString::fromStdString(LoggedRecords::NumberRuns(records))));
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
    if (gaps.wanted > LoggedRecords::kLastAddressableRecord) {
        told.append(QStringLiteral("Records %1 to %2 (%3 records) could not be fetched: a record "
                                   "is asked for by a four-digit number.")
                        .arg(LoggedRecords::kLastAddressableRecord + 1)
                        .arg(gaps.wanted)
                        .arg(gaps.wanted - LoggedRecords::kLastAddressableRecord));
    }
    return told.join(QLatin1Char('\n'));
}

} // namespace LogDownloadText
