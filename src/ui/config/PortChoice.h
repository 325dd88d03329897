#pragma once

#include "ui/panel/InstrumentPort.h"

#include <QString>
#include <QStringList>

// The names cbPort offers, compared as the devices they open: on Windows a COM name without
// regard to case; elsewhere the device path, a name without '/' opening /dev/<name>.
namespace PortChoice {

bool SamePort(const QString& a, const QString& b);
// The first name of the list that opens the same device as `name`, or -1.
int IndexOf(const QStringList& names, const QString& name);
// The design item ("COM1", on Windows only, where it names a port), then the serial ports
// present, then the port in use when none of them opens it, so it is always offered.
QStringList Offered(InstrumentPort& port);

} // namespace PortChoice
