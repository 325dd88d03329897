// A bare ttyUSB/ttyACM name is taken back only for the same adapter, judged from a device tree
// of the test's own as the system shows it: the terminal's "device" leads into the folder of
// the USB device, which holds its ids and, for most adapters, a serial number.
#include "serial/DeviceIdentity.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(DeviceIdentity, OnlyTheSameUsbAdapterIsTakenBackUnderABareName) {
    using Verdict = ReturningDevice::Verdict;
    const fs::path root = fs::path(testing::TempDir()) / ("sysfs-" + std::to_string(getpid()));
    // ids "VVVV:PPPP SERIAL" (no serial after the blank: the adapter has none); "": unplugged.
    const auto plug = [&](const std::string& terminal, const std::string& ids) {
        fs::remove_all(root);
        if (ids.empty()) {
            return;
        }
        const fs::path usb = root / "devices/usb1/1-1";
        fs::create_directories(usb / "1-1:1.0" / terminal);
        std::ofstream(usb / "idVendor") << ids.substr(0, 4) << '\n';
        std::ofstream(usb / "idProduct") << ids.substr(5, 4) << '\n';
        if (ids.size() > 10) {
            std::ofstream(usb / "serial") << ids.substr(10) << '\n';
        }
        fs::create_directories(root / "class/tty" / terminal);
        // ttyUSB leads to a folder of its own under the interface, ttyACM to the interface.
        fs::create_directory_symlink(usb / "1-1:1.0" / (terminal[3] == 'U' ? terminal : ""),
                                     root / "class/tty" / terminal / "device");
    };
    const struct {
        const char* terminal;
        const char* first;
        const char* returning;
        Verdict verdict;
    } cases[] = {
        {"ttyUSB0", "0403:6001 A1", "0403:6001 A1", Verdict::Open},
        {"ttyUSB0", "0403:6001 A1", "0403:6001 B2", Verdict::Refuse},
        {"ttyACM0", "2341:0043 A1", "2341:0044 A1", Verdict::Refuse},
        {"ttyUSB1", "0403:6001 ", "0403:6001 B2", Verdict::Refuse},
        {"ttyUSB1", "0403:6001 ", "0403:6001 ", Verdict::Open},
        {"ttyACM0", "2341:0043 A1", "", Verdict::Wait},
    };
    for (const auto& c : cases) {
        const std::string path = std::string("/dev/") + c.terminal;
        plug(c.terminal, c.first);
        const DeviceIdentity first = IdentifyDevice(path, root.string());
        plug(c.terminal, c.returning);
        const ReturningDevice judged = JudgeReturningDevice(first, path, root.string());
        EXPECT_EQ(judged.verdict, c.verdict) << c.terminal << " " << c.returning;
        EXPECT_EQ(judged.reason.find(first.usb) != std::string::npos, c.verdict == Verdict::Refuse)
            << judged.reason;
    }
    fs::remove_all(root);
}
