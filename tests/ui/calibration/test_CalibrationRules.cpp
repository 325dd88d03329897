// The calibration's pure rules: settling, the new m and c, what Send holds them to and sends,
// and the lines of the record file.
#include "protocol/RequestBuilders.h"
#include "ui/calibration/ReferenceValues.h"
#include "ui/calibration/Scaling.h"
#include "ui/calibration/SettleRule.h"
#include "ui/calibration/TestRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Ticks until the channel settles with readings moving by `step` each tick, at most 20.
int TicksToSettle(float start, float step, float threshold) {
    int countdown = SettleRule::kSettledTicks;
    float previous = start;
    for (int tick = 1; tick <= 20; ++tick) {
        const float reading = previous + step;
        if (SettleRule::Apply(countdown, reading, previous, threshold)) {
            return tick;
        }
        previous = reading;
    }
    return -1;
}

} // namespace

TEST(SettleRule, SmallMovesSettleAfterTenTicksAndALargeOneStartsAgain) {
    EXPECT_EQ(TicksToSettle(0.0f, 0.003f, 0.004f), 10);
    int countdown = 3;
    EXPECT_FALSE(SettleRule::Apply(countdown, 0.004f, 0.0f, 0.004f));
    EXPECT_EQ(countdown, SettleRule::kSettledTicks);
    // Single precision: 1.004 is stored just below 1 + 0.004, so that move still counts as small.
    countdown = 5;
    EXPECT_FALSE(SettleRule::Apply(countdown, 1.004f, 1.0f, 0.004f));
    EXPECT_EQ(countdown, 4);
    // A settled channel stays settled whatever it reads.
    countdown = 0;
    EXPECT_TRUE(SettleRule::Apply(countdown, 50.0f, 0.0f, 0.004f));
}

TEST(SettleRule, ThresholdFollowsTheInputs) {
    EXPECT_FLOAT_EQ(SettleRule::Threshold(InputFamily::Thermocouple, 1), 0.004f);
    EXPECT_FLOAT_EQ(SettleRule::Threshold(InputFamily::Thermocouple, 0), 0.01f);
    EXPECT_FLOAT_EQ(SettleRule::Threshold(InputFamily::Resistance, 5), 0.01f);
    EXPECT_FLOAT_EQ(SettleRule::Threshold(std::nullopt, 3), 0.004f);
}

TEST(Scaling, WorkedExampleAndAZeroSpan) {
    const auto correction = Scaling::FromReadings(0.0f, 20.0f, 0.012f, 20.052f);
    ASSERT_TRUE(correction);
    EXPECT_EQ(Scaling::LabelText(correction->m), "   0.9980");
    EXPECT_EQ(Scaling::LabelText(correction->c), "  -0.0120");
    EXPECT_FALSE(Scaling::FromReadings(0.0f, 20.0f, 5.0f, 5.0f));
}

TEST(Scaling, RangeIsJudgedInSinglePrecision) {
    EXPECT_TRUE(Scaling::MOutOfRange(1.1f));
    EXPECT_TRUE(Scaling::MOutOfRange(0.9f));
    EXPECT_FALSE(Scaling::MOutOfRange(1.0999f));
    EXPECT_FALSE(Scaling::COutOfRange(2.0f));
    EXPECT_FALSE(Scaling::COutOfRange(-2.0f));
    EXPECT_TRUE(Scaling::COutOfRange(2.0001f));
    EXPECT_EQ(Scaling::SendField(Scaling::MToSend(1.1f)), "  1.0000");
    EXPECT_EQ(Scaling::SendField(Scaling::CToSend(-2.5f)), "  0.0000");
    EXPECT_EQ(Scaling::MOutOfRangeMessage(), "m greater than 1.0 +/-  0.1000, set to 1.000!");
    EXPECT_EQ(Scaling::COutOfRangeMessage(), "c greater than 0.0 +/-  2.0000, set to 0.000!");
}

TEST(Scaling, SendFieldsMakeTheCalibrationPayload) {
    const std::string payload =
        CalibrationRequest(3, 1, Scaling::SendField(0.998004f), Scaling::SendField(-0.011976f));
    EXPECT_EQ(payload, "C301  0.9980 -0.0120!");
}

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
