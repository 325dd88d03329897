// The pieces of main(): command line, settings file, file-open filters, the operator's side
// and the closes that nobody watches.
#include "app/CommandLine.h"
#include "app/IniSettingsStore.h"
#include "app/MessageBoxOperator.h"
#include "app/QuitWatcher.h"
#include "app/SignalCloser.h"
#include "ui/panel/LocaleText.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

TEST(PanelCommandLine, PortAndSimulatorOptions) {
    EXPECT_FALSE(ParsePanelCommandLine({}).port);
    EXPECT_EQ(ParsePanelCommandLine({"--port", "ttyUSB0"}).port, "ttyUSB0");
    EXPECT_EQ(ParsePanelCommandLine({"--simulate"}).simulatedModel, "V630");
    EXPECT_EQ(ParsePanelCommandLine({"--simulate", "V420"}).simulatedModel, "V420");
    EXPECT_TRUE(ParsePanelCommandLine({"--help"}).help);
    EXPECT_TRUE(ParsePanelCommandLine({"--version"}).version);
    EXPECT_EQ(ParsePanelCommandLine({"PC 20261207.csv", "--simulate"}).file, "PC 20261207.csv");
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--port"},
                                                  {"a.csv", "b.csv"},
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

TEST_F(IniSettingsStoreTest, AnUnreadableFileIsKeptAsideAndTheDefaultsFollow) {
    QDir().mkpath(home.path() + "/config");
    const QByteArray garbage = "[Control\nLeft1=17\nthis line is no setting\n";
    QFile file(File());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(garbage);
    file.close();
    // Files kept by earlier runs in the seconds this test may take stay as they are.
    const QDateTime now = QDateTime::currentDateTime();
    for (int second = 0; second < 3; ++second) {
        QFile earlier(File() + ".unreadable-" + DateTimeStamp(now.addSecs(second)));
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
    }

    EXPECT_EQ(ReadInteger(store, "Control", "Left1", 0), 0);
    WriteInteger(store, "Control", "Top1", 40);
    EXPECT_EQ(ReadInteger(store, "Control", "Top1", 0), 40);

    const QStringList kept = QDir(home.path() + "/config")
                                 .entryList({"Vxxx Control Panel.ini.unreadable-*"}, QDir::Files);
    ASSERT_EQ(kept.size(), 4) << kept.join(", ").toStdString();
    QString keptAs;
    for (const QString& name : kept) {
        QFile keptFile(home.path() + "/config/" + name);
        ASSERT_TRUE(keptFile.open(QIODevice::ReadOnly));
        const QByteArray content = keptFile.readAll();
        EXPECT_TRUE(content == "earlier" || content == garbage) << content.toStdString();
        if (content == garbage) {
            keptAs = keptFile.fileName();
        }
    }
    ASSERT_FALSE(keptAs.isEmpty());
    EXPECT_TRUE(QRegularExpression(R"(\.unreadable-\d{14}-\d$)").match(keptAs).hasMatch())
        << keptAs.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[Control]\nTop1=40\n");

    const QString notice = store.TakeSetAsideNotice();
    EXPECT_TRUE(notice.contains('"' + File() + '"')) << notice.toStdString();
    EXPECT_TRUE(notice.contains('"' + keptAs + '"')) << notice.toStdString();
    EXPECT_EQ(store.TakeSetAsideNotice(), "");
}

TEST_F(IniSettingsStoreTest, AFileThatCannotBeWrittenIsAnError) {
    QDir().mkpath(File()); // a folder where the file should be
    EXPECT_THROW(store.WriteValue(kSettingsKey, "Control", "Left1", "1"), SettingsStoreError);
}

// Message boxes for real (offscreen), with a watchdog that closes any box still open after a
// second and keeps its text, so a box that nobody would answer fails the test instead of
// hanging it.
class UnattendedCloseTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_app_glue";
        static char* argv[] = {name, nullptr};
        application = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        delete application;
        application = nullptr;
    }
    void SetUp() override {
        QObject::connect(&watchdog, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            openFor = box ? openFor + 1 : 0;
            if (openFor >= 10) {
                const QObject* text = box->findChild<QObject*>("qt_msgbox_label");
                boxesLeftOpen.append(text ? text->property("text").toString() : QString());
                box->reject();
                openFor = 0;
            }
        });
        watchdog.start(100);
    }

    static inline QApplication* application = nullptr;
    std::ostringstream output;
    MessageBoxOperator operatorInteraction{output};
    QTimer watchdog;
    int openFor = 0;
    QStringList boxesLeftOpen;
};

TEST_F(UnattendedCloseTest, AnOpenQuestionIsAnsweredNoAndLaterReportsAreLines) {
    QTimer::singleShot(100, [this] { operatorInteraction.SetUnattended(true); });
    EXPECT_FALSE(operatorInteraction.Ask("Reset Min/Max, are you sure?"));
    EXPECT_FALSE(operatorInteraction.Ask("Reset BCC error?"));
    operatorInteraction.ReportError("Cannot create file \"Chart 20260101120000.emf\".");
    EXPECT_EQ(boxesLeftOpen.join(" | ").toStdString(), "");
    EXPECT_EQ(output.str(),
              "control-panel: question answered No: Reset BCC error?\n"
              "control-panel: error: Cannot create file \"Chart 20260101120000.emf\".\n");
}

// A window that reports a failure while it closes, as a window whose settings cannot be
// stored does.
class WindowFailingAtClose : public QWidget {
public:
    explicit WindowFailingAtClose(OperatorInteraction& operatorInteraction)
        : operator_(operatorInteraction) {}

protected:
    void closeEvent(QCloseEvent*) override {
        operator_.ReportError("Left2 cannot be written to the settings");
    }

private:
    OperatorInteraction& operator_;
};

TEST_F(UnattendedCloseTest, TheSessionsEndClosesTheWindowsWithoutABox) {
    QuitWatcher quitting(*application, [this] { operatorInteraction.SetUnattended(true); });
    WindowFailingAtClose window(operatorInteraction);
    window.show();
    // What the session manager does when the session ends.
    QTimer::singleShot(0, [] {
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(boxesLeftOpen.join(" | ").toStdString(), "");
    EXPECT_EQ(output.str(), "control-panel: error: Left2 cannot be written to the settings\n");
}

// A program whose close is stuck (here for ten seconds) when a signal comes.
void ReceiveASignalAndGetStuckClosing() {
    int argc = 1;
    char name[] = "test_app_glue";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    SignalCloser closer(
        [] {
            std::this_thread::sleep_for(std::chrono::seconds(10));
            std::_Exit(0);
        },
        1);
    std::raise(SIGTERM);
    QCoreApplication::exec();
}

TEST(SignalCloserDeathTest, AStuckCloseEndsWithinTheLimit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EXIT(ReceiveASignalAndGetStuckClosing(), ::testing::ExitedWithCode(1),
                "the close did not end in time");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}
