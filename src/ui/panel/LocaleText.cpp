#include "LocaleText.h"

#include "instrument/NumberText.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

QChar FirstOf(const QString& format, const QString& candidates, QChar fallback) {
    for (const QChar c : format) {
        if (candidates.contains(c)) {
            return c;
        }
    }
    return fallback;
}

QString LongTimeFormat() {
    // The time zone is no part of the time the program shows.
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    return format.trimmed();
}

} // namespace

QDateTime ToLocalDateTime(std::chrono::system_clock::time_point moment) {
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch()).count();
    return QDateTime::fromMSecsSinceEpoch(milliseconds);
}

QString TwoDigits(int n) {
    QString text = QString::number(n);
    if (text.size() == 1) {
        text.prepend(QLatin1Char('0'));
    }
    return text;
}

QString DateTimeStamp(const QDateTime& moment) {
    const QDate date = moment.date();
    const QTime time = moment.time();
    return QString::number(date.year()) + TwoDigits(date.month()) + TwoDigits(date.day()) +
           TwoDigits(time.hour()) + TwoDigits(time.minute()) + TwoDigits(time.second());
}

QChar LocaleDateSeparator() {
    return FirstOf(QLocale().dateFormat(QLocale::ShortFormat), QStringLiteral("/.-"),
                   QLatin1Char('/'));
}

QChar LocaleTimeSeparator() {
    return FirstOf(QLocale().timeFormat(QLocale::LongFormat), QStringLiteral(":."),
                   QLatin1Char(':'));
}

QString FormatDateTime(const QString& pattern, const QDateTime& moment) {
    const QDate date = moment.date();
    const QTime time = moment.time();
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QString rest = pattern.mid(i);
        const QChar c = pattern[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype close = pattern.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? pattern.size() : close;
            out += pattern.mid(i + 1, end - i - 1);
            i = end + 1;
        } else if (rest.startsWith(QLatin1String("yyyy"), Qt::CaseInsensitive)) {
            out += QString::number(date.year());
            i += 4;
        } else if (rest.startsWith(QLatin1String("yy"), Qt::CaseInsensitive)) {
            out += TwoDigits(date.year() % 100);
            i += 2;
        } else if (rest.startsWith(QLatin1String("mm"), Qt::CaseInsensitive)) {
            out += TwoDigits(afterHour ? time.minute() : date.month());
            afterHour = false;
            i += 2;
        } else if (rest.startsWith(QLatin1String("nn"), Qt::CaseInsensitive)) {
            out += TwoDigits(time.minute());
            afterHour = false;
            i += 2;
        } else if (rest.startsWith(QLatin1String("dd"), Qt::CaseInsensitive)) {
            out += TwoDigits(date.day());
            i += 2;
        } else if (rest.startsWith(QLatin1String("hh"), Qt::CaseInsensitive)) {
            out += TwoDigits(time.hour());
            afterHour = true;
            i += 2;
        } else if (rest.startsWith(QLatin1String("ss"), Qt::CaseInsensitive)) {
            out += TwoDigits(time.second());
            i += 2;
        } else if (c == QLatin1Char(':')) {
            out += LocaleTimeSeparator();
            ++i;
        } else if (c == QLatin1Char('/')) {
            out += LocaleDateSeparator();
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QString LongTimeText(const QDateTime& moment) {
    return QLocale().toString(moment.time(), LongTimeFormat());
}

QString DateTimeToText(const QDateTime& moment) {
    QString text = FormatDateTime(QStringLiteral("dd/mm/yy"), moment);
    if (moment.time() != QTime(0, 0)) {
        text += QLatin1Char(' ') + LongTimeText(moment);
    }
    return text;
}

QString LocaleFixed(double value, int decimals) {
    return WithLocalePoint(QString::fromStdString(FixedWithTenDigits(value, decimals)));
}

QString WithLocalePoint(QString text) {
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

std::optional<double> OperatorTextToFloat(const QString& text) {
    QString number = text.trimmed();
    number.replace(QLocale().decimalPoint(), QStringLiteral("."));
    return ParseFloat(number.toStdString());
}
