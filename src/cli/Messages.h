#pragma once

#include <string_view>

// Messages go to standard error, each on a line of its own after the program's name; data goes
// to standard output.
void Tell(std::string_view message);
