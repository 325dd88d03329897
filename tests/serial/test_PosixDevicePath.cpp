#include "serial/SerialDevice.h"

#include <gtest/gtest.h>

TEST(DevicePath, BareNamesLiveUnderDev) {
    EXPECT_EQ(DevicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(DevicePath("COM2"), "/dev/COM2");
    EXPECT_EQ(DevicePath("/dev/pts/3"), "/dev/pts/3");
    EXPECT_EQ(DevicePath("serial/by-id/port0"), "serial/by-id/port0");
}
