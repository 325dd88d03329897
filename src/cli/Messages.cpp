#include "Messages.h"

#include <iostream>
#include <string>

void Tell(std::string_view message) {
    std::cerr << "vxxx: " << message << std::endl;
}

void TellUnanswered(protocol::Outcome outcome, std::string_view what) {
    const std::string named(what);
    switch (outcome) {
    case protocol::Outcome::Answered:
    case protocol::Outcome::Closing:
        return;
    case protocol::Outcome::Refused:
        Tell("the instrument answered " + named + " with values out of range");
        return;
    case protocol::Outcome::Cancelled:
        Tell("stopped before the instrument answered " + named);
        return;
    case protocol::Outcome::NotSent:
        Tell(named + " is too long to send");
        return;
    case protocol::Outcome::NotAnswered:
        break;
    }
    Tell("the instrument did not answer " + named);
}
