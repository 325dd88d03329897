#include "ui/main/PcLog.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QStringList Readings(const QString& channel1) {
    QStringList texts(9, QStringLiteral("-------"));
    texts[1] = channel1;
    return texts;
}

QByteArray Content(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

class PcLogFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override {
        QDir::setCurrent(previous);
        QLocale::setDefault(QLocale::c());
    }
    QTemporaryDir dir;
    QString previous;
    QString error;
};

} // namespace

TEST(PcLogLine, TenFieldsWithFourDecimalsAndCrLf) {
    QLocale::setDefault(QLocale::c());
    const QStringList texts = {"   21.50", "  -3.125", "-------",  "  OPEN  ", "       0",
                               "1.5E+003", "    -0.5", "12345678", "   100.0"};
    EXPECT_EQ(PcLogLine("07.12.26 10:05:02", texts).toStdString(),
              "07.12.26 10:05:02;21.5000;-3.1250;0.0000;0.0000;0.0000;1500.0000;-0.5000;"
              "12345678.0000;100.0000\r\n");
}

TEST(PcLogLine, UsesTheLocaleDecimalSeparator) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(PcLogLine("s", Readings("  -21.4375")).toStdString(),
              "s;0,0000;-21,4375;0,0000;0,0000;0,0000;0,0000;0,0000;0,0000;0,0000\r\n");
    QLocale::setDefault(QLocale::c());
}

TEST_F(PcLogFileTest, EveryLineIsOnDiskAsSoonAsItIsWritten) {
    PcDataLog log;
    const auto name = log.Open("20261207100502", &error);
    ASSERT_EQ(name, QString("PC 20261207100502"));
    ASSERT_TRUE(log.WriteLine("first\r\n", &error));
    EXPECT_EQ(Content("PC 20261207100502.csv"), "first\r\n");
    ASSERT_TRUE(log.WriteLine(QString::fromLatin1("second \xB0\r\n"), &error));
    EXPECT_EQ(Content("PC 20261207100502.csv"), "first\r\nsecond \xB0\r\n");
    log.Close();
    EXPECT_FALSE(log.IsOpen());
}

TEST_F(PcLogFileTest, AStartInTheSameSecondKeepsTheEarlierLog) {
    PcDataLog log;
    ASSERT_TRUE(log.Open("20261207100502", &error));
    log.WriteLine("earlier\r\n", &error);
    log.Close();
    EXPECT_EQ(log.Open("20261207100502", &error), QString("PC 20261207100502 (2)"));
    log.Close();
    EXPECT_EQ(log.Open("20261207100502", &error), QString("PC 20261207100502 (3)"));
    log.Close();
    EXPECT_EQ(Content("PC 20261207100502.csv"), "earlier\r\n");
    EXPECT_TRUE(QFile::exists("PC 20261207100502 (2).csv"));
}

TEST_F(PcLogFileTest, AFolderThatCannotBeWrittenIsReported) {
    // A current folder that has been removed refuses new files, whoever runs the test.
    ASSERT_TRUE(QDir().mkdir("gone"));
    QDir::setCurrent("gone");
    ASSERT_EQ(rmdir(QDir::currentPath().toLocal8Bit()), 0);
    PcDataLog log;
    EXPECT_FALSE(log.Open("20261207100502", &error));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_TRUE(error.contains("PC 20261207100502.csv")) << error.toStdString();
}
