#include "instrument/TextEncoding.h"

#include <gtest/gtest.h>

namespace {

// The instrument's bytes become UTF-8 that JSON takes; only UTF-8 passes the check.
TEST(TextEncoding, InstrumentBytesBecomeUtf8AndOnlyUtf8PassesTheCheck) {
    const std::pair<std::string, std::string> conversions[] = {
        {"caf\xE9", "caf\xC3\xA9"},
        {"\x80", "\xE2\x82\xAC"}, // the euro sign
        {"\x81", "\xC2\x81"},     // unassigned: the control of the same value
    };
    for (const auto& [bytes, utf8] : conversions) {
        EXPECT_EQ(Utf8FromWindows1252(bytes), utf8) << bytes;
        EXPECT_TRUE(IsUtf8(utf8)) << bytes;
    }
    // Latin-1 as it came, overlong, a surrogate, beyond U+10FFFF, cut short, a bad follower.
    for (const std::string bad :
         {"caf\xE9", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\xC3\x28"}) {
        EXPECT_FALSE(IsUtf8(bad)) << bad;
    }
    EXPECT_TRUE(IsUtf8("oven1 \xF0\x9F\x94\xA5"));
}

} // namespace
