#include "BoundedFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

BoundedFile ReadBoundedFile(const std::string& path, std::size_t limit) {
    std::error_code error;
    if (std::filesystem::exists(path, error) && !std::filesystem::is_regular_file(path, error)) {
        return {{}, "not a regular file"};
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               std::fclose);
    if (!file) {
        return {{}, std::generic_category().message(errno)};
    }
    BoundedFile read;
    read.bytes.resize(limit + 1);
    read.bytes.resize(std::fread(read.bytes.data(), 1, read.bytes.size(), file.get()));
    if (std::ferror(file.get())) {
        return {{}, std::generic_category().message(errno)};
    }
    if (read.bytes.size() > limit) {
        return {{}, "larger than " + std::to_string(limit) + " bytes", true};
    }
    return read;
}
