#pragma once

#include <cstddef>
#include <string>

// A file a program reads whole, read only up to a bound: a large file chosen by mistake, a
// device or a pipe is refused instead of filling the memory or waiting for ever.
struct BoundedFile {
    std::string bytes;
    std::string error;     // why the file was not read, without its name; empty when it was
    bool tooLarge = false; // it was not read as it holds more than the bound
};

// The bytes of the regular file at `path` when it holds at most `limit` of them.
BoundedFile ReadBoundedFile(const std::string& path, std::size_t limit);
