#include "InstrumentKind.h"

#include "protocol/MessageCatalogue.h"

std::optional<Model> ModelNamed(std::string_view name) {
    if (name == "V420") {
        return Model::V420;
    }
    if (name == "V630") {
        return Model::V630;
    }
    return std::nullopt;
}

std::string_view ModelName(Model model) {
    return model == Model::V420 ? "V420" : "V630";
}

bool DrivesAlarmOutputs(Model model) {
    return model == Model::V630;
}

InputMode InputModeOfFlags(int systemFlags) {
    return (systemFlags & SystemFlag::kResistanceInputs) != 0 ? InputMode::Resistance
                                                              : InputMode::Thermocouple;
}
