// Editing the table by double click, through the pick and enter dialogs.
#include "AlarmOutputsTable.h"

#include <QTableWidget>

using namespace AlarmOutputs;

void AlarmOutputsTable::sgOPDblClick() {
    const int output = CurrentOutput();
    const int column = controls_.sgOP->currentColumn();
    if (output == 0 || gate_.running()) {
        return;
    }
    protocol::AlarmOutputSetting& setting = Setting(output);
    if (column == kTypeColumn) {
        PickInto(output, QStringLiteral("Select Output Type:"), TypeNames(), setting.type, 0);
        return;
    }
    if (!ColumnApplies(setting.type, column)) {
        return;
    }
    switch (column) {
    case kInputColumn: {
        QStringList inputs;
        for (int input = 1; input <= kOutputs; ++input) {
            inputs.append(QString::number(input));
        }
        PickInto(output, QStringLiteral("Select Input Channel:"), inputs, setting.input, 1);
        break;
    }
    case kTriggerColumn:
        EnterInto(output, column, QStringLiteral("Enter Trigger Value:"),
                  QStringLiteral("Trigger Value"), setting.trigger);
        break;
    case kBandColumn:
        EnterInto(output, column, QStringLiteral("Enter Band:"), QStringLiteral("Band"),
                  setting.band);
        break;
    case kHysteresisColumn:
        EnterInto(output, column, QStringLiteral("Enter Hysteresis:"), QStringLiteral("Hysteresis"),
                  setting.hysteresis);
        break;
    case kPolarityColumn:
        PickInto(output, QStringLiteral("Select Polarity:"), PolarityNames(), setting.polarity, 0);
        break;
    default:
        break;
    }
}

// The field is the chosen item's index plus the offset (the input channels start at 1).
void AlarmOutputsTable::PickInto(int output, const QString& legend, const QStringList& items,
                                 int& field, int offset) {
    ItemSelection* dialog = context_.windows.select;
    if (dialog == nullptr) {
        return;
    }
    const auto chosen = dialog->SelectItem(legend, items, field - offset, pointer_);
    if (chosen && *chosen >= 0 && *chosen < items.size()) {
        field = *chosen + offset;
        // Shows the row again, its shading following a new type.
        MarkEdited(output);
    }
}

void AlarmOutputsTable::EnterInto(int output, int column, const QString& legend,
                                  const QString& fieldName, int& field) {
    ValueEntry* dialog = context_.windows.enter;
    if (dialog == nullptr) {
        return;
    }
    const auto entered =
        dialog->EnterValue(legend, controls_.sgOP->item(output, column)->text(), pointer_);
    if (!entered) {
        return;
    }
    const EnteredNumber number = CheckEnteredNumber(fieldName, *entered, field);
    if (!number.value) {
        // The cell keeps showing what the record holds, which is what a write would send.
        context_.operatorInteraction.ReportError(number.refusal);
        return;
    }
    field = *number.value;
    MarkEdited(output);
}
