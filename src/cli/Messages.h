#pragma once

#include "protocol/Exchange.h"

#include <string_view>

// Messages go to standard error, each on a line of its own after the program's name; data goes
// to standard output.
void Tell(std::string_view message);

// How a question that brought no usable answer ended ("the instrument did not answer the status
// poll"), `what` naming the question; nothing is told for one answered, nor for the program's
// close, which ends the run on its own.
void TellUnanswered(protocol::Outcome outcome, std::string_view what);
