#include "LineOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

bool StandardOutput::Write(std::string_view line) {
    const bool written = std::fwrite(line.data(), 1, line.size(), stdout) == line.size() &&
                         std::fputc('\n', stdout) != EOF && std::fflush(stdout) == 0;
    if (!written) {
        problem_ = std::string("cannot write to standard output: ") + std::strerror(errno);
    }
    return written;
}

LineFile::LineFile(std::string path, Mode mode, std::string_view lineEnd)
    : path_(std::move(path)), lineEnd_(lineEnd) {
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == Mode::Append ? O_APPEND : O_TRUNC);
    descriptor_ = ::open(path_.c_str(), flags, 0644);
    if (descriptor_ < 0) {
        Fail("cannot open");
    }
}

LineFile::~LineFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

void LineFile::Fail(const char* what) {
    problem_ = std::string(what) + " " + path_ + ": " + std::strerror(errno);
}

bool LineFile::Write(std::string_view line) {
    const std::string bytes = std::string(line) + lineEnd_;
    const off_t before = ::lseek(descriptor_, 0, SEEK_END);
    std::size_t done = 0;
    while (done < bytes.size()) {
        // A signal that arrives meanwhile does not cut the line short.
        const ssize_t written = ::write(descriptor_, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            Fail("cannot write to");
            // A part of a line would read as a line of its own.
            if (before >= 0 && ::ftruncate(descriptor_, before) != 0) {
                problem_ += " (a part of the line may remain)";
            }
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    if (::fsync(descriptor_) != 0 && errno != EINVAL) {
        Fail("cannot write to");
        return false;
    }
    return true;
}
