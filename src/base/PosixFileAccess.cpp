#include "FileAccess.h"

#include <filesystem>

bool EveryUserMayRead(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::perms permissions = fs::status(path, error).permissions();
    return !error && (permissions & fs::perms::others_read) != fs::perms::none;
}
