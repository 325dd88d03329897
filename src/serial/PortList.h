#pragma once

#include <QStringList>

// Appends the name of each serial port present that the list does not hold yet (compared
// without regard to case), in the order found, in the form TSerialPort::SetCommPort opens:
// the device path on Linux and macOS, each followed by its /dev/serial/by-id names (which stay
// with the adapter whichever socket it is in), the COM name on Windows. Existing entries stay
// in place.
void FillPortList(QStringList& list);
