#pragma once

#include <string>
#include <vector>

// Which device a port's path stood for when it was opened, so that a device that comes back
// under the path after its own went away is taken only when it is the same one:
// - a link (the system's /dev/serial/by-id and by-path names, or a rule's own) names its
//   adapter wherever it is plugged in, and is followed;
// - a bare ttyUSB or ttyACM name goes to whichever adapter the system enumerated first, so it
//   is known by the adapter's USB ids and serial number, where the system gives them;
// - a pseudo-terminal's name goes to the next terminal any program opens, so it is never
//   taken again after it hung up;
// - any other device (a built-in port) stays where it is.
struct DeviceIdentity {
    enum class Kind { Link, UsbAdapter, PseudoTerminal, Fixed };
    Kind kind = Kind::Fixed;
    // Of a USB adapter: "VVVV:PPPP serial S" or "VVVV:PPPP without a serial number"; empty
    // when the system does not say.
    std::string usb;
};

// `sysfs` is the root of the system's device tree (tests give one of their own).
DeviceIdentity IdentifyDevice(const std::string& path, const std::string& sysfs = "/sys");

// What may be done with whatever is now under the path of a device that went away.
struct ReturningDevice {
    enum class Verdict { Wait, Open, Refuse };
    Verdict verdict = Verdict::Wait;
    std::string reason; // with Refuse: why, for the operator
};
ReturningDevice JudgeReturningDevice(const DeviceIdentity& first, const std::string& path,
                                     const std::string& sysfs = "/sys");

// The links in `folder` (the system's stable names of serial adapters) that lead to the same
// device as `path`, sorted.
std::vector<std::string> StableNamesOf(const std::string& path,
                                       const std::string& folder = "/dev/serial/by-id");
