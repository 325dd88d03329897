#include "SendCheck.h"

#include "protocol/PayloadNumbers.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>
#include <array>

namespace {

constexpr int kClockTextLength = 8;

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The three numbers of the digit pairs at positions 1-2, 4-5 and 7-8 of an eight-character
// text; nothing when the text is of another length or a pair is not two digits.
std::optional<std::array<int, 3>> DigitPairs(const QString& text) {
    if (text.size() != kClockTextLength) {
        return std::nullopt;
    }
    std::array<int, 3> pairs{};
    for (int i = 0; i < 3; ++i) {
        const QChar tens = text[3 * i];
        const QChar units = text[3 * i + 1];
        if (!IsDigit(tens) || !IsDigit(units)) {
            return std::nullopt;
        }
        pairs[i] = (tens.unicode() - '0') * 10 + (units.unicode() - '0');
    }
    return pairs;
}

bool IsDate(const QString& text) {
    const auto pairs = DigitPairs(text);
    return pairs && QDate(2000 + (*pairs)[2], (*pairs)[1], (*pairs)[0]).isValid();
}

bool IsTime(const QString& text) {
    const auto pairs = DigitPairs(text);
    return pairs && QTime::isValid((*pairs)[0], (*pairs)[1], (*pairs)[2]);
}

bool IsTwoHexDigits(const QString& text) {
    static const QRegularExpression kTwoHexDigits(QStringLiteral("^[0-9A-Fa-f]{2}$"));
    return kTwoHexDigits.match(text).hasMatch();
}

// A text written as a decimal number (as the request reads it: leading blanks, a sign, digits)
// that does not fit 0 .. highest, however large it is.
bool NumberOutOfRange(const QString& text, int highest) {
    static const QRegularExpression kDecimal(QStringLiteral("^ *[+-]?[0-9]+$"));
    if (!kDecimal.match(text).hasMatch()) {
        return false;
    }
    const std::optional<int> value = ParseDecimal(text.toStdString());
    return !value || *value < 0 || *value > highest;
}

} // namespace

std::optional<SendRefusal> CheckBeforeSending(const ConfigurationTexts& texts) {
    if (!IsDate(texts.date)) {
        return SendRefusal{
            ConfigurationField::Date,
            QStringLiteral("Date: \"%1\" is not a date as dd/mm/yy. Nothing was sent.")
                .arg(texts.date)};
    }
    if (!IsTime(texts.time)) {
        return SendRefusal{
            ConfigurationField::Time,
            QStringLiteral("Time: \"%1\" is not a 24-hour time as hh:mm:ss. Nothing was sent.")
                .arg(texts.time)};
    }
    if (!IsTwoHexDigits(texts.systemFlag)) {
        return SendRefusal{
            ConfigurationField::SystemFlag,
            QStringLiteral("System Flag: \"%1\" is not two hexadecimal digits. Nothing was sent.")
                .arg(texts.systemFlag)};
    }
    if (NumberOutOfRange(texts.autoScanInterval, 0xFF)) {
        return SendRefusal{ConfigurationField::AutoScanInterval,
                           QStringLiteral("Auto Scan Interval: %1 does not fit (0 to 255 "
                                          "seconds). Nothing was sent.")
                               .arg(texts.autoScanInterval.trimmed())};
    }
    if (NumberOutOfRange(texts.loggingInterval, 0xFFFF)) {
        return SendRefusal{ConfigurationField::LoggingInterval,
                           QStringLiteral("Logging Interval: %1 does not fit (0 to 65535 "
                                          "seconds). Nothing was sent.")
                               .arg(texts.loggingInterval.trimmed())};
    }
    return std::nullopt;
}
