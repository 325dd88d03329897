#include "instrument/NumberText.h"

#include <gtest/gtest.h>

TEST(TextToFloat, ReadsWholeDecimalNumbersOnly) {
    struct Case {
        const char* text;
        double value;
    };
    // clang-format off
    const Case cases[] = {
        {"  21.50", 21.5}, {"-3", -3},      {"+4.25", 4.25}, {"1e3", 1000},   {"2.5E-1", 0.25},
        {".5", 0.5},       {"5.", 5},       {"-------", 0},  {"", 0},         {"   ", 0},
        {"12a", 0},        {"21.5 ", 0},    {"1,5", 0},      {"e5", 0},       {"1e", 0},
        {"--1", 0},        {"0x10", 0},     {"inf", 0},      {"nan", 0},      {"1e999", 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(TextToFloat(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(FloatToFixed, RightAlignsWithAFullStop) {
    EXPECT_EQ(FloatToFixed(1.0023, 8, 4), "  1.0023");
    EXPECT_EQ(FloatToFixed(-0.1234, 8, 4), " -0.1234");
    EXPECT_EQ(FloatToFixed(-125.5, 8, 4), "-125.5000");
    EXPECT_EQ(FloatToFixed(0, 0, 2), "0.00");
}

TEST(FixedWithTenDigits, FourDecimalsUpToTenSignificantDigits) {
    EXPECT_EQ(FixedWithTenDigits(21.5, 4), "21.5000");
    EXPECT_EQ(FixedWithTenDigits(21.4375, 4), "21.4375");
    EXPECT_EQ(FixedWithTenDigits(-3, 4), "-3.0000");
    EXPECT_EQ(FixedWithTenDigits(0, 4), "0.0000");
    EXPECT_EQ(FixedWithTenDigits(-0.00001, 4), "0.0000");
    EXPECT_EQ(FixedWithTenDigits(1234567.123456, 4), "1234567.1230");
    EXPECT_EQ(FixedWithTenDigits(12345678901.0, 4), "1.234567890E+0010");
    EXPECT_EQ(FixedWithTenDigits(-1e12, 4), "-1.000000000E+0012");
}
