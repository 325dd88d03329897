#pragma once

#include "base/LocalClock.h"
#include "mqtt/ReadingMessages.h"
#include "protocol/MessageCatalogue.h"

#include <string>
#include <string_view>

// What both front ends hand the publisher, taken from the instrument's replies.
namespace mqtt {

// The model, firmware and unit (C or F) of the status reply, without the fields' padding.
InstrumentInfo InstrumentInfoOf(const protocol::InstrumentStatus& status);

// One reading reply, asked for at `time`: each channel's text without its padding, and its
// value when the text is a number.
Reading ReadingOf(const LocalTime& time, const protocol::Readings& readings);

// The instrument's id when the operator names none: the model and the port's base name,
// "V630-ttyUSB0".
std::string DefaultId(std::string_view model, std::string_view port);

} // namespace mqtt
