// The pieces of main(): command line, settings file, file-open filters.
#include "app/CommandLine.h"
#include "app/IniSettingsStore.h"
#include "app/MessageBoxOperator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(PanelCommandLine, PortAndSimulatorOptions) {
    EXPECT_FALSE(ParsePanelCommandLine({}).port);
    EXPECT_EQ(ParsePanelCommandLine({"--port", "ttyUSB0"}).port, "ttyUSB0");
    EXPECT_EQ(ParsePanelCommandLine({"--simulate"}).simulatedModel, "V630");
    EXPECT_EQ(ParsePanelCommandLine({"--simulate", "V420"}).simulatedModel, "V420");
    EXPECT_TRUE(ParsePanelCommandLine({"--help"}).help);
    EXPECT_TRUE(ParsePanelCommandLine({"--version"}).version);
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--port"},
                                                  {"--port", ""},
                                                  {"--simulate", "V999"},
                                                  {"--port", "a", "--simulate"},
                                                  {"--verbose"},
                                                  {"-platform"}}) {
        EXPECT_FALSE(ParsePanelCommandLine(wrong).error.empty()) << wrong.back();
    }
}

// Read before Qt sees them, so Qt's own options must be passed over, values included.
TEST(PanelCommandLine, QtOptionsAreLeftToQt) {
    const PanelCommandLine command = ParsePanelCommandLine(
        {"-platform", "offscreen", "--port", "ttyS1", "-reverse", "--style", "--port", "-style=x"});
    EXPECT_EQ(command.error, "");
    EXPECT_EQ(command.port, "ttyS1");
}

TEST(QtNameFilter, PairsOfDescriptionAndPatterns) {
    EXPECT_EQ(QtNameFilter("Text files (*.txt)|*.TXT").toStdString(), "Text files (*.txt) (*.TXT)");
    EXPECT_EQ(QtNameFilter("Data|*.csv;*.txt|All|*.*").toStdString(),
              "Data (*.csv *.txt);;All (*.*)");
    EXPECT_EQ(QtNameFilter("").toStdString(), "");
}

class IniSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        previous = std::getenv("XDG_CONFIG_HOME");
        setenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit(), 1);
    }
    void TearDown() override {
        if (previous) {
            setenv("XDG_CONFIG_HOME", previous, 1);
        }
    }
    QString File() { return home.path() + "/config/Vxxx Control Panel.ini"; }

    QTemporaryDir home;
    const char* previous = nullptr;
    IniSettingsStore store;
};

TEST_F(IniSettingsStoreTest, ValuesGoToSectionsOfTheProgramsIniFile) {
    EXPECT_EQ(IniSettingsStore::Location(kSettingsKey), File());
    EXPECT_FALSE(store.ReadValue(kSettingsKey, "Control", "Left1"));
    WriteInteger(store, "Control", "Left1", 120);
    store.WriteValue(kSettingsKey, "Comms", "CommPort", "/dev/pts/3");
    store.WriteValue(kSettingsKey, "Chart", "Title",
                     "\xB0"
                     "C");
    EXPECT_EQ(ReadInteger(store, "Control", "Left1", 0), 120);
    EXPECT_EQ(store.ReadValue(kSettingsKey, "Chart", "Title"), "\xB0"
                                                               "C");
    QFile file(File());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    EXPECT_TRUE(content.contains("[Control]\nLeft1=120\n")) << content.toStdString();
    EXPECT_TRUE(content.contains("[Comms]\nCommPort=/dev/pts/3\n")) << content.toStdString();
}

TEST_F(IniSettingsStoreTest, NamesWithBlanksReadAsTheOperatorWritesThem) {
    QDir().mkpath(home.path() + "/config");
    QFile file(File());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Control]\nDiagnostic Level=30\nComms_Interval=ten\n");
    file.close();
    EXPECT_EQ(ReadInteger(store, "Control", "Diagnostic Level", 0), 30);
    EXPECT_EQ(ReadInteger(store, "Control", "Comms_Interval", 2), 2);
}

TEST_F(IniSettingsStoreTest, AFileThatCannotBeWrittenIsAnError) {
    QDir().mkpath(File()); // a folder where the file should be
    EXPECT_THROW(store.WriteValue(kSettingsKey, "Control", "Left1", "1"), SettingsStoreError);
}
