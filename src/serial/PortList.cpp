#include "PortList.h"

#include <QSerialPortInfo>

void FillPortList(QStringList& list) {
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        const QString name = port.portName();
#else
        const QString name = port.systemLocation();
#endif
        if (!list.contains(name, Qt::CaseInsensitive)) {
            list.append(name);
        }
    }
}
