#include "DeviceIdentity.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::optional<std::string> FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!std::getline(in, line)) {
        return std::nullopt;
    }
    return line;
}

bool IsUsbAdapterName(const fs::path& path) {
    const std::string name = path.filename().string();
    return path.parent_path() == "/dev" &&
           (name.starts_with("ttyUSB") || name.starts_with("ttyACM"));
}

// The USB device above the terminal in the device tree: the first folder up from the
// terminal's own that holds the vendor id.
std::string UsbIdsOf(const std::string& terminal, const std::string& sysfs) {
    std::error_code error;
    fs::path folder = fs::canonical(fs::path(sysfs) / "class/tty" / terminal / "device", error);
    const fs::path root = fs::canonical(sysfs, error);
    for (; !error && folder.has_relative_path() && folder != root; folder = folder.parent_path()) {
        const std::optional<std::string> vendor = FirstLine(folder / "idVendor");
        if (!vendor) {
            continue;
        }
        const std::string product = FirstLine(folder / "idProduct").value_or("?");
        const std::optional<std::string> serial = FirstLine(folder / "serial");
        return *vendor + ":" + product +
               (serial ? " serial " + *serial : std::string(" without a serial number"));
    }
    return {};
}

} // namespace

DeviceIdentity IdentifyDevice(const std::string& path, const std::string& sysfs) {
    std::error_code error;
    if (fs::is_symlink(path, error)) {
        return {DeviceIdentity::Kind::Link, {}};
    }
    if (path.starts_with("/dev/pts/")) {
        return {DeviceIdentity::Kind::PseudoTerminal, {}};
    }
    if (IsUsbAdapterName(path)) {
        return {DeviceIdentity::Kind::UsbAdapter,
                UsbIdsOf(fs::path(path).filename().string(), sysfs)};
    }
    return {};
}

ReturningDevice JudgeReturningDevice(const DeviceIdentity& first, const std::string& path,
                                     const std::string& sysfs) {
    using Verdict = ReturningDevice::Verdict;
    std::error_code error;
    switch (first.kind) {
    case DeviceIdentity::Kind::PseudoTerminal:
        if (!fs::exists(path, error)) {
            return {Verdict::Wait, {}};
        }
        return {Verdict::Refuse,
                "a new terminal has the name " + path + "; one that hung up is not opened again"};
    case DeviceIdentity::Kind::UsbAdapter: {
        if (first.usb.empty()) {
            return {Verdict::Open, {}};
        }
        const std::string now = UsbIdsOf(fs::path(path).filename().string(), sysfs);
        if (now.empty()) {
            return {Verdict::Wait, {}};
        }
        if (now != first.usb) {
            return {Verdict::Refuse,
                    "another adapter has the name " + path + " (USB " + now + ", not " + first.usb +
                        "); choose the instrument's by its /dev/serial/by-id name"};
        }
        return {Verdict::Open, {}};
    }
    case DeviceIdentity::Kind::Link:
    case DeviceIdentity::Kind::Fixed:
        break;
    }
    return {Verdict::Open, {}};
}

std::vector<std::string> StableNamesOf(const std::string& path, const std::string& folder) {
    std::error_code error;
    const fs::path device = fs::canonical(path, error);
    std::vector<std::string> names;
    if (error) {
        return names;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        std::error_code entryError;
        if (entry.is_symlink(entryError) && fs::canonical(entry.path(), entryError) == device &&
            !entryError) {
            names.push_back(entry.path().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}
