#include "SerialPortLink.h"

#include "serial/PortList.h"

std::string SerialPortLink::LastOpenFailure() {
    const std::optional<LinkProblem> problem = link_.Problem();
    if (!problem) {
        return {};
    }
    return problem->message + ": " + problem->SystemText() + " (" +
           std::to_string(problem->systemError) + ")";
}

void SerialPortLink::AddPortsPresent(QStringList& names) {
    FillPortList(names);
}
