#include "ui/panel/LocaleText.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

class LocaleTextTest : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    const QDateTime moment{QDate(2026, 12, 7), QTime(10, 5, 2)};
};

} // namespace

TEST_F(LocaleTextTest, StampIsFourteenDigitsYearFirst) {
    EXPECT_EQ(DateTimeStamp(moment), "20261207100502");
    EXPECT_EQ(TwoDigits(0), "00");
    EXPECT_EQ(TwoDigits(7), "07");
    EXPECT_EQ(TwoDigits(123), "123");
}

TEST_F(LocaleTextTest, PatternsFollowTheProgramsConventions) {
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(FormatDateTime("dd.mm.yy hh:mm:ss", moment), "07.12.26 10:05:02");
    EXPECT_EQ(FormatDateTime("\"RecX \"dd.mm.yy hh:mm:ss\" :\"", moment),
              "RecX 07.12.26 10:05:02 :");
    EXPECT_EQ(FormatDateTime("dd/mm/yy", moment), "07/12/26");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", moment), "2026-12-07 10:05");
}

TEST_F(LocaleTextTest, DateTimeTextLeavesOutMidnight) {
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(DateTimeToText(moment), "07/12/26 10:05:02");
    EXPECT_EQ(DateTimeToText(QDateTime(QDate(2026, 12, 7), QTime(0, 0))), "07/12/26");
}

TEST_F(LocaleTextTest, NumbersTakeTheLocaleDecimalSeparator) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(LocaleFixed(21.4375, 4), "21,4375");
    EXPECT_EQ(LocaleFixed(-3, 4), "-3,0000");
    EXPECT_EQ(FormatDateTime("dd/mm/yy", moment), "07.12.26");
}
