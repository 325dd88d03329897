#include "instrument/AlarmTable.h"
#include "protocol/RequestBuilders.h"

#include <gtest/gtest.h>

namespace {

TEST(AlarmTable, AFileLinePadsThePolarityWithABlankAndReadsBack) {
    const protocol::AlarmOutputSetting setting{3, AlarmTable::kTypeBand, 8, -1234, 99999, 0, 1};
    EXPECT_EQ(AlarmTable::FileLine(setting), "03,04,08,-1234,99999,    0, 1");
    EXPECT_EQ(AlarmTable::ParseFileLine(AlarmTable::FileLine(setting)), setting);
    EXPECT_EQ(protocol::AlarmOutputRequest(setting), "A03,04,08,-1234,99999,    0,01");
}

} // namespace
