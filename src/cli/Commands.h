#pragma once

#include "ConnectionOptions.h"
#include "ExitCode.h"

#include <CLI/CLI.hpp>
#include <functional>

// Each group of commands adds its commands to the command line, each with the connection options
// that the program also takes before the command; the one the command line chooses sets `run`
// to what it does.
using CommandRun = std::function<ExitCode()>;

// status, clock set, config set
void AddStatusCommands(CLI::App& app, CommandRun& run, ConnectionOptions& connection);
void AddReadCommand(CLI::App& app, CommandRun& run, ConnectionOptions& connection);
// log download, log reset
void AddLogCommands(CLI::App& app, CommandRun& run, ConnectionOptions& connection);
void AddOutputsCommands(CLI::App& app, CommandRun& run, ConnectionOptions& connection);
void AddChannelCommand(CLI::App& app, CommandRun& run, ConnectionOptions& connection);
