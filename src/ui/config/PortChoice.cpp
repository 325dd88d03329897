#include "PortChoice.h"

namespace PortChoice {

bool SamePort(const QString& a, const QString& b) {
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    const auto devicePath = [](const QString& name) {
        return name.contains(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
    };
    return devicePath(a) == devicePath(b);
#endif
}

int IndexOf(const QStringList& names, const QString& name) {
    for (int i = 0; i < names.size(); ++i) {
        if (SamePort(names[i], name)) {
            return i;
        }
    }
    return -1;
}

QStringList Offered(InstrumentPort& port) {
    QStringList names;
#ifdef Q_OS_WIN
    names.append(QStringLiteral("COM1"));
#endif
    port.AddPortsPresent(names);
    const QString current = QString::fromLocal8Bit(port.CommPort());
    if (IndexOf(names, current) < 0) {
        names.append(current);
    }
    return names;
}

} // namespace PortChoice
