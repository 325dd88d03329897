#include "PortList.h"

#include "DeviceIdentity.h"

#include <QSerialPortInfo>

namespace {

void AddOnce(QStringList& list, const QString& name) {
    if (!list.contains(name, Qt::CaseInsensitive)) {
        list.append(name);
    }
}

} // namespace

void FillPortList(QStringList& list) {
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        AddOnce(list, port.portName());
#else
        AddOnce(list, port.systemLocation());
        for (const std::string& name :
             StableNamesOf(port.systemLocation().toLocal8Bit().toStdString())) {
            AddOnce(list, QString::fromLocal8Bit(name));
        }
#endif
    }
}
