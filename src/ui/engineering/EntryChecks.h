#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the engineering window checks before anything reaches the instrument: a wrong clock
// register can stop the instrument's clock, and a garbled filter constant must never go out.

// The number of the first register text that is not two hexadecimal digits; nothing when all
// are.
std::optional<int> FirstBadRegister(const QStringList& registers);

// The filter constant, a whole number of samples from 2 to 25; nothing when the text is not.
std::optional<int> FilterConstantValue(const QString& text);

// A register number as the window and its file show it: two upper-case hexadecimal digits.
QString RegisterName(int registerNumber);
