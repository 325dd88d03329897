#include "ui/config/LogDownloadText.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace LogDownloadText;

namespace {

// Record 7 of 07/12/26 14:05:09: 100, -50, 0, a value whose last byte is 00, 1, 20.4 (single
// precision), 2^128 (exponent 255 is read as a number) and 20000; then ETX and BCC.
const std::string kRecord7 = "D0007261207140509"
                             "0000C842000048C20000000012345600"
                             "0000803F3333A3410000807F00409C46"
                             "\x03k";

class LogDownloadTextTest : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

} // namespace

TEST_F(LogDownloadTextTest, LineHoldsNumberTimeAndEightValuesInTheLocalesForm) {
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(RecordLine(kRecord7, 7),
              "0007,07/12/26 14:05:09;100.0000;-50.0000;0.0000;0.0000;1.0000;20.4000;"
              "3.402823669E+0038;20000.0000");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(RecordLine(kRecord7, 7),
              "0007,07/12/26 14:05:09;100,0000;-50,0000;0,0000;0,0000;1,0000;20,4000;"
              "3,402823669E+0038;20000,0000");
}

TEST_F(LogDownloadTextTest, CountAndShortfall) {
    EXPECT_EQ(RecordCount("200"), 200);
    EXPECT_EQ(RecordCount("65535"), 65535);
    EXPECT_EQ(RecordCount("-3"), 0);
    EXPECT_EQ(RecordCount("2OO"), std::nullopt);
    EXPECT_EQ(RecordCount(""), std::nullopt);

    EXPECT_EQ(Shortfall({{}, {}, 200, 200, 200}), "");
    EXPECT_EQ(Shortfall({{5, 7, 8, 9, 12}, {20}, 150, 200, 200}),
              "5 of 150 records did not arrive and are not in the file: 5, 7-9, 12.\n"
              "1 of 150 records came with a reply that could not be read and are not in the file: "
              "20.\n50 of 200 records were not fetched, as the download was stopped: 151-200.");
    EXPECT_EQ(Shortfall({{}, {}, 9999, 9999, 10001}),
              "Records 10000 to 10001 (2 records) could not be fetched: a record is asked for by "
              "a four-digit number.");
}
