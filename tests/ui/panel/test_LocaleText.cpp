#include "instrument/NumberText.h"
#include "ui/panel/LocaleText.h"

#include <QLocale>
#include <clocale>
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

// Qt gives the C library the desktop's locale; the files' separator is QLocale's alone.
TEST_F(LocaleTextTest, TheCLibrarysCommaLocaleChangesNoNumber) {
    ASSERT_TRUE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) << "made by scripts/install-deps.sh";
    EXPECT_EQ(FloatToFixed(-0.25, 8, 4), " -0.2500");
    EXPECT_EQ(FixedWithTenDigits(12345678901.0, 4), "1.234567890E+0010");
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(LocaleFixed(21.4375, 4), "21.4375");
    std::setlocale(LC_NUMERIC, "C");
}

TEST_F(LocaleTextTest, TypedNumbersTakeEitherPointButNoGrouping) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(OperatorTextToFloat("1,05"), 1.05);
    EXPECT_EQ(OperatorTextToFloat(" -0.25 "), -0.25);
    EXPECT_EQ(OperatorTextToFloat("0"), 0.0);
    // "1.000,5" is no number here rather than 1000.5 or 1.0005.
    for (const char* text : {"1.000,5", "1,0,5", "", "--------", "1e999", "x1"}) {
        EXPECT_FALSE(OperatorTextToFloat(text)) << text;
    }
}
