#pragma once

#include "sim/ServerOptions.h"

#include <string>
#include <vector>

namespace sim {

struct CommandLine {
    ServerOptions options;
    bool help = false;
    bool version = false;
    std::string error; // empty when the arguments were understood
};

// The arguments of vxxx-sim, without the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The option summary that --help prints.
std::string Usage();

} // namespace sim
