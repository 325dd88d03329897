#include "serial/PortList.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// A port entered into the system's map of COM ports for the test's time (the test's own Wine
// prefix, where the map can be written).
class MappedPort {
public:
    MappedPort(const wchar_t* device, const wchar_t* name) : device_(device) {
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr,
                        REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &map_, nullptr);
        RegSetValueExW(map_, device, 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                       static_cast<DWORD>((wcslen(name) + 1) * sizeof(wchar_t)));
    }
    ~MappedPort() {
        RegDeleteValueW(map_, device_);
        RegCloseKey(map_);
    }

private:
    const wchar_t* device_;
    HKEY map_ = nullptr;
};

} // namespace

TEST(WindowsPortList, AddsEachMappedComPortOnceAfterWhatTheListHeld) {
    const MappedPort port(L"\\Device\\VxxxTest42", L"COM42");
    const MappedPort other(L"\\Device\\VxxxTest43", L"COM43");
    QStringList list{"com43"};
    FillPortList(list);
    EXPECT_EQ(list.front(), "com43");
    EXPECT_EQ(list.count("COM42"), 1);
    EXPECT_FALSE(list.contains("COM43"));

    const QStringList first = list;
    FillPortList(list);
    EXPECT_EQ(list, first);
}
