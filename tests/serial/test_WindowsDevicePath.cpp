#include "serial/SerialDevice.h"

#include <gtest/gtest.h>

// Above COM9 a port opens only by its device path, so every bare name goes the same way.
TEST(DevicePath, BareNamesAreDevicesOfTheMachine) {
    EXPECT_EQ(DevicePath("COM2"), R"(\\.\COM2)");
    EXPECT_EQ(DevicePath("COM12"), R"(\\.\COM12)");
    EXPECT_EQ(DevicePath(R"(\\.\COM3)"), R"(\\.\COM3)");
    EXPECT_EQ(DevicePath(R"(\\?\usb#vid_0403)"), R"(\\?\usb#vid_0403)");
}
