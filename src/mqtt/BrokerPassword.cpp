#include "BrokerPassword.h"

#include "base/BoundedFile.h"
#include "base/FileAccess.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace mqtt {

BrokerPassword ReadPasswordFile(const std::string& path) {
    BoundedFile file = ReadBoundedFile(path, kLongestPasswordFile);
    if (!file.error.empty()) {
        return {{}, path + ": " + file.error};
    }
    if (EveryUserMayRead(path)) {
        return {{}, path + " may be read by every user: make it its owner's alone (chmod 600)"};
    }
    std::string& password = file.bytes;
    password.erase(std::min(password.find('\n'), password.size()));
    if (password.ends_with('\r')) {
        password.pop_back();
    }
    return {password, {}};
}

BrokerPassword ReadPasswordCredential(const std::string& name) {
    const char* folder = std::getenv("CREDENTIALS_DIRECTORY");
    if (folder == nullptr || *folder == '\0') {
        return {{},
                "no credentials were handed to this program ($CREDENTIALS_DIRECTORY is not "
                "set); the service's LoadCredential= hands them over"};
    }
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
        return {{}, "\"" + name + "\" is not a credential's name"};
    }
    const std::string file = std::string(folder) + "/" + name;
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return {{},
                "the credential " + name +
                    " was not handed over: the file the service's LoadCredential= names is "
                    "missing"};
    }
    BrokerPassword read = ReadPasswordFile(file);
    if (read.error.empty() && read.password.empty()) {
        read.error = "the credential " + name + " is empty";
    }
    return read;
}

} // namespace mqtt
