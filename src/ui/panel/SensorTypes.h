#pragma once

#include "protocol/MessageCatalogue.h"

#include <QString>
#include <QStringList>
#include <optional>

// The sensor types of the instrument's inputs; a type's index in the list is the two-digit code
// exchanged with the instrument.

// "PT100" alone for a resistance instrument or the cold-junction channel 0; otherwise the
// thermocouple types J, K, T, E, N, R, S, B.
QStringList SensorTypeList(std::optional<InputFamily> inputs, int channel);
// Whether the code is one of that list's: anything else would make a malformed or wrong "C"
// request.
bool IsSensorTypeCode(int code, std::optional<InputFamily> inputs, int channel);
// The name of a code on the inputs of channels 1 to 8 for those inputs; empty outside the list.
QString SensorTypeName(int code, std::optional<InputFamily> inputs);
