#pragma once

#include "protocol/MessageCatalogue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The sensor types of the instrument's inputs; a type's index in its list is the two-digit code
// exchanged with the instrument.

// "PT100" alone for a resistance instrument or the cold-junction channel 0; otherwise the
// thermocouple types J, K, T, E, N, R, S, B. An instrument whose inputs are not known yet counts
// as a thermocouple one.
const std::vector<std::string>& SensorTypeNames(std::optional<protocol::InputFamily> inputs,
                                                int channel);
// Whether the code is one of that list's: anything else would make a malformed or wrong "C"
// request.
bool IsSensorTypeCode(int code, std::optional<protocol::InputFamily> inputs, int channel);
// The name of a code of that list; empty outside it.
std::string SensorTypeName(int code, std::optional<protocol::InputFamily> inputs, int channel);
// The code of a name of that list (upper or lower case), nothing for any other name.
std::optional<int> SensorTypeCode(std::string_view name,
                                  std::optional<protocol::InputFamily> inputs, int channel);
