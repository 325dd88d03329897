#pragma once

#include "CalibrationMemory.h"

#include <QString>
#include <optional>

// The calibration record file "TestRecord.csv": a header written once when the file is made,
// then one line per recording with every channel's calibration memory. Fields are separated by
// "," without quoting, lines end in CR LF.
namespace TestRecord {

inline const QString kFileName = QStringLiteral("TestRecord.csv");

// What a record line holds besides the calibration memory.
struct Heading {
    QString model;
    QString sensor; // the input mode's letter, empty before the instrument reported it
    QString serial;
    QString dateTime;
    QString spanReference;
};

// The 41 header fields, with its line end.
QString HeaderLine();
// The record line with its line end, values exactly as held.
QString RecordLine(const Heading& heading, const CalibrationMemory& memory);
// The name of the first field that holds a comma or a line break, which would shift the
// columns of the line or split it; nothing when the line is sound.
std::optional<QString> UnsafeField(const Heading& heading, const CalibrationMemory& memory);

// Appends one line to the file, making the file with its header first when `create` is set.
// The line reaches the disk whole or not at all; a file made here that cannot take its first
// line is removed again. Empty on success, else what went wrong.
QString Append(const QString& line, bool create);

} // namespace TestRecord
