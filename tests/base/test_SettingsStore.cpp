#include "support/MemorySettingsStore.h"

#include <gtest/gtest.h>

TEST(SettingsStore, IntegersFallBackToTheDefaultWhenMissingOrNotDecimal) {
    MemorySettingsStore store;
    EXPECT_EQ(ReadInteger(store, "Control", "Left1", 7), 7);
    for (const char* text : {"", "12a", "0x10", " 5", "1.5", "99999999999"}) {
        store.Set("Control", "Left1", text);
        EXPECT_EQ(ReadInteger(store, "Control", "Left1", 7), 7) << text;
    }
    store.Set("Control", "Left1", "-40");
    EXPECT_EQ(ReadInteger(store, "Control", "Left1", 7), -40);
    store.Set("Control", "Left1", "+3");
    EXPECT_EQ(ReadInteger(store, "Control", "Left1", 7), 3);
}

TEST(SettingsStore, FlagsAreAnyNonzeroIntegerAndWrittenAsZeroOrOne) {
    MemorySettingsStore store;
    EXPECT_TRUE(ReadFlag(store, "Chart", "Series1", true));
    store.Set("Chart", "Series1", "0");
    EXPECT_FALSE(ReadFlag(store, "Chart", "Series1", true));
    store.Set("Chart", "Series1", "2");
    EXPECT_TRUE(ReadFlag(store, "Chart", "Series1", false));
    store.Set("Chart", "Series1", "yes");
    EXPECT_FALSE(ReadFlag(store, "Chart", "Series1", false));

    WriteFlag(store, "Chart", "AutoScale", true);
    WriteInteger(store, "Control", "Top2", -12);
    EXPECT_EQ(store.Get("Chart", "AutoScale"), "1");
    EXPECT_EQ(store.Get("Control", "Top2"), "-12");
}

TEST(SettingsStore, MemoryStoreFailsOnRequest) {
    MemorySettingsStore store;
    store.FailWriteOf("DataBits");
    EXPECT_NO_THROW(WriteInteger(store, "Comms", "BaudRate", 9600));
    EXPECT_THROW(WriteInteger(store, "Comms", "DataBits", 8), SettingsStoreError);
    store.SetFailReads(true);
    EXPECT_THROW(store.ReadValue(kSettingsKey, "Comms", "BaudRate"), SettingsStoreError);
}

TEST(SettingsStore, AnUnreadableStoreGivesTheDefaults) {
    MemorySettingsStore store;
    store.Set("Control", "Left2", "40");
    store.SetFailReads(true);
    EXPECT_EQ(ReadInteger(store, "Control", "Left2", 7), 7);
    EXPECT_TRUE(ReadFlag(store, "Chart", "Series1", true));
    EXPECT_EQ(ReadText(store, "Control", "Calibrate TC zero", "0.000"), "0.000");
}
