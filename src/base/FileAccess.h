#pragma once

#include <string>

// Whether every user of the machine may read the file, so that it cannot hold a secret; false
// when it cannot be looked at.
bool EveryUserMayRead(const std::string& path);
