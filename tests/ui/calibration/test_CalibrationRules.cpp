// The calibration window's own rules: the references and the lines of the record file.
#include "ui/calibration/ReferenceValues.h"
#include "ui/calibration/TestRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ReferenceValues, OnlyNumbersWithAPointAreReferences) {
    for (const char* good : {"0.000", "20", " 360.58", "-1.5", ".5", "1e2"}) {
        EXPECT_TRUE(IsReferenceNumber(QString::fromLatin1(good))) << good;
    }
    for (const char* bad : {"0,5", "", "abc", "1.2.3", "20 ", "1,000.0"}) {
        EXPECT_FALSE(IsReferenceNumber(QString::fromLatin1(bad))) << bad;
    }
}

TEST(TestRecord, HeaderAndALineBeforeAnyCalibration) {
    const QString header = TestRecord::HeaderLine();
    EXPECT_TRUE(header.startsWith("model,sensor,serial,date_time,Pre0,Pre1,"));
    EXPECT_TRUE(header.contains(",Pre8,Post0,") && header.contains(",Post8,m0,c0,m1,c1,"));
    EXPECT_TRUE(header.endsWith(",m8,c8,Span Ref\r\n"));
    EXPECT_EQ(header.split(',').size(), 41);

    const TestRecord::Heading heading{"V420", "T", "AB12", "07/12/26 10:05:02", "20.000"};
    const QString line = TestRecord::RecordLine(heading, {});
    const QStringList fields = line.chopped(2).split(',');
    ASSERT_EQ(fields.size(), 41);
    EXPECT_EQ(fields.mid(0, 4), QStringList({"V420", "T", "AB12", "07/12/26 10:05:02"}));
    EXPECT_EQ(fields.mid(4, 36), QStringList(36, "-------"));
    EXPECT_EQ(fields.last(), "20.000");
    EXPECT_TRUE(line.endsWith("\r\n"));
}

TEST(TestRecord, ValuesAreWrittenAsHeldAndCommasAreNamed) {
    CalibrationMemory memory;
    memory.channels[3].m = "  0.9980";
    const QStringList fields = TestRecord::RecordLine({}, memory).chopped(2).split(',');
    EXPECT_EQ(fields[22 + 2 * 3], "  0.9980");
    EXPECT_FALSE(TestRecord::UnsafeField({}, memory));
    EXPECT_EQ(TestRecord::UnsafeField({"V420", "T", "A,B", "", ""}, memory), QString("serial"));
    memory.channels[2].post = "1\n2";
    EXPECT_EQ(TestRecord::UnsafeField({}, memory), QString("Post2"));
}

TEST(TestRecord, AppendMakesTheFileOnceAndReportsWhatFails) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.path());
    EXPECT_EQ(TestRecord::Append("a\r\n", true), QString());
    EXPECT_EQ(TestRecord::Append("b\r\n", false), QString());
    // Made again over an existing file: refused, the file stays as it was.
    EXPECT_FALSE(TestRecord::Append("c\r\n", true).isEmpty());
    QFile file(TestRecord::kFileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(file.readAll()), TestRecord::HeaderLine() + "a\r\nb\r\n");
    QDir::setCurrent(before);
}
