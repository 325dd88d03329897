#pragma once

#include "ExitCode.h"

#include <CLI/CLI.hpp>
#include <functional>

// Each group of commands adds its commands to the command line; the one the command line
// chooses sets `run` to what it does.
using CommandRun = std::function<ExitCode()>;

void AddStatusCommands(CLI::App& app, CommandRun& run); // status, clock set, config set
void AddReadCommand(CLI::App& app, CommandRun& run);
void AddLogCommands(CLI::App& app, CommandRun& run); // log download, log reset
void AddOutputsCommands(CLI::App& app, CommandRun& run);
void AddChannelCommand(CLI::App& app, CommandRun& run);
