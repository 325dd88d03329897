#include "instrument/TextEncoding.h"

#include <gtest/gtest.h>

namespace {

// Every byte the instrument may send becomes UTF-8 that JSON takes, and the check of a given
// text refuses what is not UTF-8.
TEST(TextEncoding, InstrumentBytesBecomeUtf8AndOnlyUtf8PassesTheCheck) {
    const struct {
        std::string bytes;
        std::string utf8;
    } conversions[] = {
        {"2.1", "2.1"},       {"caf\xE9", "caf\xC3\xA9"}, {"\x80", "\xE2\x82\xAC"}, // the euro sign
        {"\x81", "\xC2\x81"}, // unassigned: the control of the same value
        {"\xFF", "\xC3\xBF"},
    };
    for (const auto& c : conversions) {
        EXPECT_EQ(Utf8FromWindows1252(c.bytes), c.utf8) << c.bytes;
    }
    std::string every;
    for (int byte = 0; byte < 256; ++byte) {
        every.push_back(static_cast<char>(byte));
    }
    EXPECT_TRUE(IsUtf8(Utf8FromWindows1252(every)));

    const struct {
        std::string text;
        bool utf8;
    } checks[] = {
        {"oven1", true},
        {"caf\xC3\xA9", true},
        {"\xF0\x9F\x94\xA5", true},
        {"caf\xE9", false},
        {"\xC0\xAF", false},
        {"\xED\xA0\x80", false},
        {"\xF4\x90\x80\x80", false},
        {"\xE2\x82", false},
        {"\xC3\x28", false},
    };
    for (const auto& c : checks) {
        EXPECT_EQ(IsUtf8(c.text), c.utf8) << c.text;
    }
}

} // namespace
