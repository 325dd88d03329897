#include "instrument/LoggedRecords.h"

#include <gtest/gtest.h>

using namespace LoggedRecords;

namespace {

// Record 7 of 07/12/26 14:05:09: 100, -50, 0, a value whose last byte is 00, 1, 20.4 (single
// precision), 2^128 (exponent 255 is read as a number) and 20000; then ETX and BCC.
const std::string kRecord7 = "D0007261207140509"
                             "0000C842000048C20000000012345600"
                             "0000803F3333A3410000807F00409C46"
                             "\x03k";

TEST(LoggedRecords, LineHoldsNumberTimeAndEightValuesWithTheSeparatorGiven) {
    EXPECT_EQ(RecordLine(kRecord7, 7, '.'),
              "0007,07/12/26 14:05:09;100.0000;-50.0000;0.0000;0.0000;1.0000;20.4000;"
              "3.402823669E+0038;20000.0000");
    EXPECT_EQ(RecordLine(kRecord7, 7, ',').value_or("").substr(0, 30),
              "0007,07/12/26 14:05:09;100,000");
}

TEST(LoggedRecords, OnlyAWholeReplyOfTheRecordAskedForMakesALine) {
    const std::size_t whole = 81;
    EXPECT_TRUE(RecordLine(kRecord7.substr(0, whole), 7, '.'));
    EXPECT_FALSE(RecordLine(kRecord7, 6, '.'));                      // the previous record's reply
    EXPECT_FALSE(RecordLine(kRecord7.substr(0, whole - 1), 7, '.')); // cut short
    EXPECT_FALSE(RecordLine("", 7, '.'));
    EXPECT_FALSE(RecordLine("\x03k", 7, '.'));
    std::string garbled = kRecord7;
    garbled[11] = 'x'; // in the time stamp
    EXPECT_FALSE(RecordLine(garbled, 7, '.'));
    garbled = kRecord7;
    garbled[40] = 'z'; // in a value
    EXPECT_FALSE(RecordLine(garbled, 7, '.'));
    garbled = kRecord7;
    garbled[0] = 'A';
    EXPECT_FALSE(RecordLine(garbled, 7, '.'));
}

TEST(LoggedRecords, FileNameKeepsTheInstrumentsTextInTheCurrentFolder) {
    EXPECT_EQ(FileNameBase("V630", "20261207100502"), "V630 20261207100502");
    EXPECT_EQ(FileNameBase("../V", "20261207100502"), ".._V 20261207100502");
    EXPECT_EQ(FileNameBase("V\x01:\\", "s"), "V___ s");
}

} // namespace
