#pragma once

#include "base/DurableFile.h"

#include <string>
#include <string_view>

// Where data lines go: standard output, or a file.
class LineOutput {
public:
    virtual ~LineOutput() = default;
    // Writes the line and its line end; false when it could not, with the reason in Problem().
    virtual bool Write(std::string_view line) = 0;
    virtual const std::string& Problem() const = 0;
};

// Standard output, flushed line by line so that a pipe sees each line as it comes; lines end
// with LF.
class StandardOutput final : public LineOutput {
public:
    bool Write(std::string_view line) override;
    const std::string& Problem() const override { return problem_; }

private:
    std::string problem_;
};

// A data file written line by line: each line reaches the disk as it is written, whole or not
// at all, so a signal, a crash or a power cut loses at most the line being written.
class LineFile final : public LineOutput {
public:
    enum class Mode { Replace, Append };

    LineFile(std::string path, Mode mode, std::string_view lineEnd);

    bool IsOpen() const { return file_.IsOpen(); }
    bool Write(std::string_view line) override;
    const std::string& Problem() const override { return problem_; }
    const std::string& Path() const { return path_; }

private:
    void Fail(const char* what, int error);

    std::string path_;
    std::string lineEnd_;
    DurableFile file_;
    std::string problem_;
};
