#include "PortList.h"

#include <iterator>
#include <windows.h>

// The system keeps the COM ports present in its serial-communication map: one value per port,
// whose data is the COM name.
void FillPortList(QStringList& list) {
    HKEY map = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &map) !=
        ERROR_SUCCESS) {
        return;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD valueNameLength = std::size(valueName);
        wchar_t portName[64];
        DWORD portNameBytes = sizeof portName - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = RegEnumValueW(map, index, valueName, &valueNameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(portName), &portNameBytes);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        // A value too long for a COM name, or not text, names no port that can be opened.
        if (result != ERROR_SUCCESS || type != REG_SZ) {
            continue;
        }
        portName[portNameBytes / sizeof(wchar_t)] = L'\0';
        const QString name = QString::fromWCharArray(portName);
        if (!name.isEmpty() && !list.contains(name, Qt::CaseInsensitive)) {
            list.append(name);
        }
    }
    RegCloseKey(map);
}
