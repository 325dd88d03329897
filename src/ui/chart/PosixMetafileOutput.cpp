#include "MetafileOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

namespace {

// The library writes through a stream that stays the caller's; the recorders use the user-interface
// thread only, as the library does.
std::map<HDC, std::FILE*>& OpenFiles() {
    static std::map<HDC, std::FILE*> files;
    return files;
}

} // namespace

HDC StartMetafile(const std::string& path, const RECT& frame, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = std::strerror(errno);
        return 0;
    }
    const HDC dc = CreateEnhMetaFileWithFILEA(0, file, &frame, "Chart\0\0");
    if (dc == 0) {
        std::fclose(file);
        error = "the picture could not be started";
        return 0;
    }
    OpenFiles()[dc] = file;
    return dc;
}

bool FinishMetafile(HDC dc, std::string& error) {
    const auto found = OpenFiles().find(dc);
    std::FILE* file = found->second;
    OpenFiles().erase(found);
    DeleteEnhMetaFile(CloseEnhMetaFileWithFILE(dc));
    const bool written = std::fflush(file) == 0 && std::ferror(file) == 0;
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error = std::strerror(writeError != 0 ? writeError : errno);
        return false;
    }
    return true;
}
