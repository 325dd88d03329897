#include "LineOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool StandardOutput::Write(std::string_view line) {
    const bool written = std::fwrite(line.data(), 1, line.size(), stdout) == line.size() &&
                         std::fputc('\n', stdout) != EOF && std::fflush(stdout) == 0;
    if (!written) {
        problem_ = std::string("cannot write to standard output: ") + std::strerror(errno);
    }
    return written;
}

namespace {

// Beside the file it replaces, so that the move is a rename on the same disk.
constexpr const char* kBesideSuffix = ".part";

} // namespace

LineFile::LineFile(std::string path, Mode mode, std::string_view lineEnd)
    : path_(std::move(path)), writtenPath_(mode == Mode::Append ? path_ : path_ + kBesideSuffix),
      lineEnd_(lineEnd), removeBeside_(mode == Mode::Replace) {
    file_.emplace(writtenPath_,
                  mode == Mode::Append ? DurableFile::Mode::Append : DurableFile::Mode::Replace);
    if (!file_->IsOpen()) {
        Fail("cannot open", writtenPath_, file_->OpenError());
    }
}

LineFile::~LineFile() {
    file_.reset();
    if (removeBeside_) {
        std::remove(writtenPath_.c_str());
    }
}

void LineFile::Fail(const char* what, const std::string& path, int error) {
    problem_ = std::string(what) + " " + path + ": " + std::strerror(error);
}

bool LineFile::Write(std::string_view line) {
    const int error = file_->Append(std::string(line) + lineEnd_);
    if (error != 0) {
        Fail("cannot write to", writtenPath_, error);
    }
    wrote_ = wrote_ || error == 0;
    return error == 0;
}

bool LineFile::PutInPlace() {
    if (!removeBeside_ || !IsOpen()) {
        return IsOpen();
    }
    removeBeside_ = false;
    file_.reset(); // closed first: an open file cannot be moved everywhere
    const int error = MoveIntoPlace(writtenPath_, path_);
    if (error != 0) { // the lines are not lost: they stay beside it
        Fail("cannot put the lines in place as", path_, error);
        problem_ += "; they are in " + writtenPath_;
    }
    return error == 0;
}
