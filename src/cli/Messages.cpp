#include "Messages.h"

#include <iostream>

void Tell(std::string_view message) {
    std::cerr << "vxxx: " << message << std::endl;
}
