#pragma once

#include "Session.h"

#include <CLI/CLI.hpp>

// The options of every command that talks to the instrument: --port, --simulate, --timeout,
// --attempts.
void AddConnectionOptions(CLI::App& command, ConnectionOptions& options);
