#pragma once

#include "base/DurableFile.h"

#include <optional>
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
// at all, so a signal, a crash or a power cut loses at most the line being written. A file that
// replaces another is written beside it and takes its place only with PutInPlace: a run that
// got nothing leaves the earlier file as it was.
class LineFile final : public LineOutput {
public:
    enum class Mode { Replace, Append };

    LineFile(std::string path, Mode mode, std::string_view lineEnd);
    ~LineFile() override; // a replacing file not put in place is removed
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    bool IsOpen() const { return file_ && file_->IsOpen(); }
    bool Write(std::string_view line) override;
    const std::string& Problem() const override { return problem_; }
    // Whether a line has been written.
    bool Wrote() const { return wrote_; }
    // A replacing file, with the lines written so far, in the place of the earlier file; false,
    // the reason in Problem(), when it could not be moved there.
    bool PutInPlace();

private:
    void Fail(const char* what, const std::string& path, int error);

    std::string path_;
    std::string writtenPath_; // beside path_ when replacing it
    std::string lineEnd_;
    std::optional<DurableFile> file_;
    bool wrote_ = false;
    bool removeBeside_; // the file beside path_ is still to be put in place or removed
    std::string problem_;
};
