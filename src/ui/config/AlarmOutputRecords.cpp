#include "AlarmOutputRecords.h"

#include "ui/panel/Windows1252.h"

#include <QRegularExpression>

namespace AlarmOutputs {

namespace {

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
    static const QStringList names = FromWindows1252(AlarmTable::TypeNames());
    return names;
}

const QStringList& PolarityNames() {
    static const QStringList names = FromWindows1252(AlarmTable::PolarityNames());
    return names;
}

const QStringList& Headings() {
    static const QStringList headings{"Output", "type",       "Input",   "Value",
                                      "Band",   "Hysteresis", "Polarity"};
    return headings;
}

QString CellText(const protocol::AlarmOutputSetting& setting, int column) {
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
