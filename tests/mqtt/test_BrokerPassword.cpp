#include "mqtt/BrokerPassword.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;
using fs::perms;

// The service manager's folder of credentials, each file its owner's alone, as it makes them.
TEST(BrokerPassword, TheCredentialIsTheFirstLineOfAFileOthersCannotRead) {
    const fs::path folder =
        fs::path(testing::TempDir()) / ("credentials-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const struct {
        const char* name;
        std::string content;
        perms permissions;
        const char* expected; // the password, or a part of the error
    } cases[] = {
        {"unix", "hunter2\n", perms::owner_read, "hunter2"},
        {"dos", "hunter2\r\nsecond line", perms::owner_read | perms::group_read, "hunter2"},
        {"open", "hunter2", perms::owner_read | perms::others_read, "may be read by every user"},
        {"large", std::string(mqtt::kLongestPasswordFile + 1, 'x'), perms::owner_read,
         "larger than 4096 bytes"},
        {"empty", "", perms::owner_read, "the credential empty is empty"},
        {"missing", "", perms::none, "the credential missing was not handed over"},
        {"../elsewhere", "", perms::none, "not a credential's name"},
    };
    setenv("CREDENTIALS_DIRECTORY", folder.c_str(), 1);
    for (const auto& c : cases) {
        if (c.permissions != perms::none) {
            std::ofstream(folder / c.name, std::ios::binary) << c.content;
            fs::permissions(folder / c.name, c.permissions);
        }
        const mqtt::BrokerPassword read = mqtt::ReadPasswordCredential(c.name);
        EXPECT_TRUE(read.error.empty() ? read.password == c.expected
                                       : read.error.find(c.expected) != std::string::npos)
            << c.name << ": " << read.password << read.error;
    }
    unsetenv("CREDENTIALS_DIRECTORY");
    EXPECT_NE(mqtt::ReadPasswordCredential("unix").error.find("CREDENTIALS_DIRECTORY"),
              std::string::npos);
    fs::remove_all(folder);
}
