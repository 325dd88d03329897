#include "ui/panel/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

QByteArray Content(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Files of this process may not grow beyond `bytes` while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, SIG_DFL);
    }

private:
    rlimit saved_{};
};

class RecordFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir::setCurrent(dir.path());
    }
    QTemporaryDir dir;
    QString error;
};

TEST_F(RecordFileTest, EachModeTreatsAnExistingFileAsItSays) {
    RecordFile file;
    ASSERT_TRUE(file.Open("log.txt", RecordFile::Mode::NewOnly, &error));
    ASSERT_TRUE(file.Write(QString::fromLatin1("first \xB0\r\n"), &error));
    // On the disk before the file is closed, in Windows-1252.
    EXPECT_EQ(Content("log.txt"), QByteArray("first \xB0\r\n"));
    EXPECT_FALSE(file.Open("log.txt", RecordFile::Mode::NewOnly, &error));
    ASSERT_TRUE(file.Open("log.txt", RecordFile::Mode::Append, &error));
    ASSERT_TRUE(file.Write("second\r\n", &error));
    EXPECT_EQ(Content("log.txt"), QByteArray("first \xB0\r\nsecond\r\n"));
    ASSERT_TRUE(file.Open("log.txt", RecordFile::Mode::Replace, &error));
    file.Close();
    EXPECT_EQ(Content("log.txt"), QByteArray());
}

TEST_F(RecordFileTest, ARecordThatCannotBeWrittenWholeLeavesNoPartOfIt) {
    RecordFile file;
    ASSERT_TRUE(file.Open("records.csv", RecordFile::Mode::Replace, &error));
    const QString record = QString(58, 'x') + "\r\n";
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(file.Write(record, &error));
        EXPECT_FALSE(file.Write(record, &error));
    }
    EXPECT_TRUE(error.contains("records.csv")) << error.toStdString();
    EXPECT_EQ(Content("records.csv"), record.toLatin1());
    // The file goes on taking records once there is room again.
    EXPECT_TRUE(file.Write(record, &error));
    EXPECT_EQ(Content("records.csv").size(), 120);
}

TEST_F(RecordFileTest, AFileThatCannotBeCreatedIsReportedWithItsFolder) {
    RecordFile file;
    EXPECT_FALSE(file.Open("no such folder/records.csv", RecordFile::Mode::Replace, &error));
    EXPECT_TRUE(error.contains("records.csv")) << error.toStdString();
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(dir.path()))) << error.toStdString();
}

} // namespace
