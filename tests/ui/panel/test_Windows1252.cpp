#include "ui/panel/Windows1252.h"

#include <gtest/gtest.h>

TEST(Windows1252, TheDegreeSignAndTheHighControlsAreTheirCharacters) {
    EXPECT_EQ(FromWindows1252(" \xB0 C "), QString(" \u00B0 C "));
    EXPECT_EQ(FromWindows1252("\x80\x8A\x99\x9F"), QString("\u20AC\u0160\u2122\u0178"));
    EXPECT_EQ(ToWindows1252(QString("\u20AC \u00E9\u00B5")), "\x80 \xE9\xB5");
}

TEST(Windows1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
    }
    const QString text = FromWindows1252(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(ToWindows1252(text), all);
}

TEST(Windows1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(ToWindows1252(QString("a\u0100b\u4E2D")), "a?b?");
}
