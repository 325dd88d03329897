#include "DurableFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

DurableFile::DurableFile(const std::string& path, Mode mode) {
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == Mode::Append ? O_APPEND : O_TRUNC);
    descriptor_ = ::open(path.c_str(), flags, 0644);
    openError_ = descriptor_ < 0 ? errno : 0;
}

DurableFile::~DurableFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

int DurableFile::Append(std::string_view record) {
    const off_t before = ::lseek(descriptor_, 0, SEEK_END);
    std::size_t done = 0;
    while (done < record.size()) {
        // A signal that arrives meanwhile does not cut the record short.
        const ssize_t written = ::write(descriptor_, record.data() + done, record.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            const int error = written < 0 ? errno : EIO;
            if (before >= 0) {
                [[maybe_unused]] const int ignored = ::ftruncate(descriptor_, before);
            }
            return error;
        }
        done += static_cast<std::size_t>(written);
    }
    // A terminal or a pipe has no disk to reach.
    return ::fsync(descriptor_) != 0 && errno != EINVAL ? errno : 0;
}

int MoveIntoPlace(const std::string& written, const std::string& target) {
    if (std::rename(written.c_str(), target.c_str()) != 0) {
        return errno;
    }
    // The new name is on the disk once the folder that holds it is.
    const std::string folder = std::filesystem::path(target).parent_path().string();
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return errno;
    }
    const int error = ::fsync(descriptor) != 0 && errno != EINVAL ? errno : 0;
    ::close(descriptor);
    return error;
}
