#include "AlarmOutputRecords.h"

#include "protocol/PayloadNumbers.h"
#include "protocol/RequestBuilders.h"

#include <QRegularExpression>

namespace AlarmOutputs {

namespace {

constexpr std::size_t kLineLength = 29;

QString NumberList(const std::vector<int>& numbers) {
    QStringList texts;
    for (const int number : numbers) {
        texts.append(QString::number(number));
    }
    return texts.join(QStringLiteral(", "));
}

QString Outputs(const std::vector<int>& outputs) {
    return (outputs.size() == 1 ? QStringLiteral("output ") : QStringLiteral("outputs ")) +
           NumberList(outputs);
}

} // namespace

const QStringList& TypeNames() {
    static const QStringList names{"OFF", "ON", "HIGH", "LOW", "BAND"};
    return names;
}

const QStringList& PolarityNames() {
    static const QStringList names{"Normal", "Inverted"};
    return names;
}

const QStringList& Headings() {
    static const QStringList headings{"Output", "type",       "Input",   "Value",
                                      "Band",   "Hysteresis", "Polarity"};
    return headings;
}

AlarmOutputSetting InitialSetting(int output) {
    return {output, kTypeOff, output, 20, 1, 1, 0};
}

QString CellText(const AlarmOutputSetting& setting, int column) {
    switch (column) {
    case kTypeColumn:
        return TypeNames().value(setting.type);
    case kInputColumn:
        return QString::number(setting.input);
    case kTriggerColumn:
        return QString::number(setting.trigger);
    case kBandColumn:
        return QString::number(setting.band);
    case kHysteresisColumn:
        return QString::number(setting.hysteresis);
    case kPolarityColumn:
        return PolarityNames().value(setting.polarity);
    default:
        return QString::number(setting.output);
    }
}

bool ColumnApplies(int type, int column) {
    if (type != kTypeHigh && type != kTypeLow && type != kTypeBand) {
        return false;
    }
    return column != kBandColumn || type == kTypeBand;
}

bool Valid(const AlarmOutputSetting& setting) {
    return InRange(setting);
}

std::string FileLine(const AlarmOutputSetting& setting) {
    return TwoDigitField(setting.output) + "," + TwoDigitField(setting.type) + "," +
           TwoDigitField(setting.input) + "," + FiveCharacterField(setting.trigger) + "," +
           FiveCharacterField(setting.band) + "," + FiveCharacterField(setting.hysteresis) + "," +
           LastCharacters(" " + std::to_string(setting.polarity), 2);
}

std::optional<AlarmOutputSetting> ParseFileLine(std::string_view line) {
    if (line.size() < kLineLength) {
        return std::nullopt;
    }
    const auto field = [line](std::size_t position, std::size_t width) {
        return PayloadField::Decimal(line, position, width);
    };
    const auto output = field(1, 2);
    const auto type = field(4, 2);
    const auto input = field(7, 2);
    const auto trigger = field(10, 5);
    const auto band = field(16, 5);
    const auto hysteresis = field(22, 5);
    const auto polarity = field(28, 2);
    if (!output || !type || !input || !trigger || !band || !hysteresis || !polarity) {
        return std::nullopt;
    }
    const AlarmOutputSetting setting{*output, *type,       *input,   *trigger,
                                     *band,   *hysteresis, *polarity};
    if (!Valid(setting)) {
        return std::nullopt;
    }
    return setting;
}

FileContent ParseFile(std::string_view bytes) {
    FileContent content;
    int lineNumber = 0;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++lineNumber;
        if (const auto setting = ParseFileLine(line)) {
            content.settings.push_back(*setting);
        } else {
            content.skippedLines.push_back(lineNumber);
        }
    }
    return content;
}

QString SkippedLinesNotice(const QString& fileName, const std::vector<int>& skippedLines) {
    const bool one = skippedLines.size() == 1;
    return QStringLiteral("%1 %2 of %3 skipped, as %4 no output of the table (%5 %6); the "
                          "other lines are loaded.")
        .arg(skippedLines.size())
        .arg(one ? QStringLiteral("line") : QStringLiteral("lines"), fileName,
             one ? QStringLiteral("it holds") : QStringLiteral("they hold"),
             one ? QStringLiteral("line") : QStringLiteral("lines"), NumberList(skippedLines));
}

EnteredNumber CheckEnteredNumber(const QString& field, const QString& text, int kept) {
    static const QRegularExpression wholeNumber(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
    if (!wholeNumber.match(text).hasMatch()) {
        return {std::nullopt, QStringLiteral("%1: \"%2\" is not a whole number; it stays %3.")
                                  .arg(field, text)
                                  .arg(kept)};
    }
    bool converted = false;
    const qlonglong value = text.trimmed().toLongLong(&converted);
    if (!converted || value < kFieldMinimum || value > kFieldMaximum) {
        return {std::nullopt,
                QStringLiteral("%1: %2 does not fit the instrument's five-character field "
                               "(%3 to %4); it stays %5.")
                    .arg(field, text.trimmed())
                    .arg(kFieldMinimum)
                    .arg(kFieldMaximum)
                    .arg(kept)};
    }
    return {static_cast<int>(value), QString()};
}

QString UnconfirmedReport(Operation operation, const OutputsNotDone& notDone) {
    const auto rows = [](const std::vector<int>& outputs) {
        return outputs.size() == 1 ? QStringLiteral("its row stays")
                                   : QStringLiteral("their rows stay");
    };
    QStringList report;
    if (!notDone.unconfirmed.empty()) {
        report.append(operation == Operation::Read
                          ? QStringLiteral("The instrument did not report %1; %2 red.")
                                .arg(Outputs(notDone.unconfirmed), rows(notDone.unconfirmed))
                          : QStringLiteral("The instrument did not confirm the writing of %1: it "
                                           "did not answer (the row stays red) or reports other "
                                           "values.")
                                .arg(Outputs(notDone.unconfirmed)));
    }
    if (!notDone.refused.empty()) {
        report.append(QStringLiteral("The instrument reported %1 out of range; the report was "
                                     "refused and %2 red.")
                          .arg(Outputs(notDone.refused), rows(notDone.refused)));
    }
    if (!notDone.notTried.empty()) {
        report.append(QStringLiteral("The instrument stopped answering; not tried: %1.")
                          .arg(Outputs(notDone.notTried)));
    }
    return report.join(QLatin1Char(' '));
}

} // namespace AlarmOutputs
