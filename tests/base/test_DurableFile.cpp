#include "base/DurableFile.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

std::string Bytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(DurableFile, AppendsRecordsAsGivenAndReplacesOrKeepsWhatWasThere) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "vxxx-durable.csv";
    {
        DurableFile file(path.string(), DurableFile::Mode::Replace);
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(file.Append("1;20.0\r\n"), 0);
        EXPECT_EQ(file.Append("2;21.5\n"), 0); // no line end is translated
    }
    EXPECT_EQ(Bytes(path), "1;20.0\r\n2;21.5\n");
    {
        DurableFile file(path.string(), DurableFile::Mode::Append);
        EXPECT_EQ(file.Append("3\r\n"), 0);
    }
    EXPECT_EQ(Bytes(path), "1;20.0\r\n2;21.5\n3\r\n");
    {
        DurableFile file(path.string(), DurableFile::Mode::Replace);
        EXPECT_EQ(file.OpenError(), 0);
    }
    EXPECT_EQ(Bytes(path), "");
    std::filesystem::remove(path);
}

TEST(DurableFile, AFolderThatIsNotThereIsTold) {
    const DurableFile file(
        (std::filesystem::temp_directory_path() / "vxxx-no-such-folder" / "a.csv").string(),
        DurableFile::Mode::Append);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.OpenError(), ENOENT);
}
