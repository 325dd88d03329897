#include "DeviceIdentity.h"
#include "PortList.h"

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
        AddOnce(list, port.systemLocation());
        for (const std::string& name :
             StableNamesOf(port.systemLocation().toLocal8Bit().toStdString())) {
            AddOnce(list, QString::fromLocal8Bit(name));
        }
    }
}
