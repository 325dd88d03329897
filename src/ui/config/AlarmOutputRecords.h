#pragma once

#include "instrument/AlarmTable.h"
#include "protocol/MessageCatalogue.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The eight alarm outputs as the configuration window's table holds them, their names, which
// fields apply to which type, and the checks every value the operator enters passes before it
// reaches a record. The table file's lines are instrument/AlarmTable.h's.
namespace AlarmOutputs {

inline constexpr int kOutputs = protocol::kAlarmOutputs;

// Whether the row on screen is known to match the instrument.
enum class Sync {
    Initial = 0,   // as created; shown as unknown
    InSync = 1,    // the instrument reported it
    NotInSync = 2, // asked for, not yet reported
    Unknown = 3,   // edited or loaded, not yet written
};

struct Record {
    protocol::AlarmOutputSetting setting;
    Sync sync = Sync::Initial;
};

// Type codes 0 to 4 and polarity codes 0 and 1, with their names in the table.
using AlarmTable::kTypeBand;
using AlarmTable::kTypeHigh;
using AlarmTable::kTypeLow;
using AlarmTable::kTypeOff;
using AlarmTable::kTypeOn;
const QStringList& TypeNames();     // "OFF", "ON", "HIGH", "LOW", "BAND"
const QStringList& PolarityNames(); // "Normal", "Inverted"

using AlarmTable::FileContent;
using AlarmTable::FileLine;
using AlarmTable::InitialSetting;
using AlarmTable::ParseFile;
using AlarmTable::ParseFileLine;

// Columns of the table; row n (1 to 8) is output n, row 0 holds the headings.
enum Column {
    kOutputColumn = 0,
    kTypeColumn = 1,
    kInputColumn = 2,
    kTriggerColumn = 3,
    kBandColumn = 4,
    kHysteresisColumn = 5,
    kPolarityColumn = 6,
    kColumns = 7,
};
const QStringList& Headings();

// The cell texts of a setting, columns 1 to 6 (column 0 is the output number).
QString CellText(const protocol::AlarmOutputSetting& setting, int column);

// Whether a column applies to a type: none for OFF and ON; input, trigger value, hysteresis and
// polarity for HIGH and LOW; all five for BAND. Only these cells are edited; the others are
// shaded.
bool ColumnApplies(int type, int column);

// The numbers a five-character field holds whole.
inline constexpr int kFieldMinimum = protocol::kAlarmFieldMinimum;
inline constexpr int kFieldMaximum = protocol::kAlarmFieldMaximum;

QString SkippedLinesNotice(const QString& fileName, const std::vector<int>& skippedLines);

// A number the operator entered for a five-character field ("Trigger Value", "Band",
// "Hysteresis"): its value, or the message that refuses it and names what the field keeps.
struct EnteredNumber {
    std::optional<int> value;
    QString refusal;
};
EnteredNumber CheckEnteredNumber(const QString& field, const QString& text, int kept);

// The operator's report after a read or write of outputs that the instrument did not confirm:
// those it did not answer for (or, written, reports other values for), those whose report was
// out of range, and those not tried once it had stopped answering.
enum class Operation { Read, Write };
struct OutputsNotDone {
    std::vector<int> unconfirmed;
    std::vector<int> refused;
    std::vector<int> notTried;
    bool Empty() const { return unconfirmed.empty() && refused.empty() && notTried.empty(); }
};
QString UnconfirmedReport(Operation operation, const OutputsNotDone& notDone);

} // namespace AlarmOutputs
