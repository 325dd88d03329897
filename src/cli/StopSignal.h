#pragma once

// SIGINT and SIGTERM only set a flag, which every wait for the instrument reads: the command
// then ends its exchange, closes the port and its files, and the program exits.
void CatchStopSignals();
bool StopRequested();
