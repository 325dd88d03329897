#pragma once

#include <string_view>

namespace mqtt {

// What this build offers for a broker over TLS (mqtts://), in the words of the command line's
// help that follow "URL = mqtt://[USER@]HOST[:PORT]/PREFIX (port 1883)".
std::string_view MqttsHelp();

} // namespace mqtt
