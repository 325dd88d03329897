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

LineFile::LineFile(std::string path, Mode mode, std::string_view lineEnd)
    : path_(std::move(path)), lineEnd_(lineEnd),
      file_(path_, mode == Mode::Append ? DurableFile::Mode::Append : DurableFile::Mode::Replace) {
    if (!file_.IsOpen()) {
        Fail("cannot open", file_.OpenError());
    }
}

void LineFile::Fail(const char* what, int error) {
    problem_ = std::string(what) + " " + path_ + ": " + std::strerror(error);
}

bool LineFile::Write(std::string_view line) {
    const int error = file_.Append(std::string(line) + lineEnd_);
    if (error != 0) {
        Fail("cannot write to", error);
    }
    return error == 0;
}
