#pragma once

#include <optional>
#include <string_view>

// The two models of the family. The V630 drives eight alarm outputs; the V420 drives none.
enum class Model { V420, V630 };

// The model a status reply names ("V420", "V630"), or nothing for any other text.
std::optional<Model> ModelNamed(std::string_view name);
std::string_view ModelName(Model model);
bool DrivesAlarmOutputs(Model model);

// The inputs an instrument is built with: thermocouples (read also as millivolts) or PT100
// resistance thermometers (read also as resistance and lead resistance).
enum class InputMode { Thermocouple, Resistance };

// From the status reply's system flag byte (bit 0x80 set for resistance inputs).
InputMode InputModeOfFlags(int systemFlags);
