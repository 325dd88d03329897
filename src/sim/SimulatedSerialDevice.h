#pragma once

#include "serial/SerialDevice.h"
#include "sim/ServerOptions.h"

#include <memory>

namespace sim {

// The simulated instrument as the port's serial device, in the port's own process: for a
// system without pseudo-terminals. Whatever name the port opens reaches the instrument. What
// the port sends reaches the instrument at once; each answer comes into the device's input
// queue when its last byte would have crossed the line at the speed the port set. It has no
// modem lines and never goes away; the options of a pseudo-terminal (its link, hanging up and
// coming back) do not apply.
std::unique_ptr<SerialDevice> MakeSimulatedSerialDevice(ServerOptions options);

} // namespace sim
