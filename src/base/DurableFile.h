#pragma once

#include <string>
#include <string_view>

// A file written record by record, each record on the disk before it counts as written and
// whole or not at all: a crash or a power cut loses at most the record being written. Bytes
// go in as given (no line-end translation), and the file is not handed down to programs the
// process starts. Errors are errno values.
class DurableFile {
public:
    enum class Mode { Replace, Append };

    DurableFile(const std::string& path, Mode mode);
    ~DurableFile();
    DurableFile(const DurableFile&) = delete;
    DurableFile& operator=(const DurableFile&) = delete;

    bool IsOpen() const { return descriptor_ >= 0; }
    // Why the file did not open; 0 when it did.
    int OpenError() const { return openError_; }
    // Adds the record at the end and waits until it is on the disk: 0, or the error, after
    // which a part of the record that got in is taken out again where the file allows it.
    int Append(std::string_view record);

private:
    int descriptor_ = -1;
    int openError_ = 0;
};

// Puts the closed file `written` in the place of `target`, whole: a reader sees the old file
// or the new one, never a part, and after a crash or a power cut one of them is there. 0, or
// the error.
int MoveIntoPlace(const std::string& written, const std::string& target);
