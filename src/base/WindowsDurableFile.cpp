#include "DurableFile.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

DurableFile::DurableFile(const std::string& path, Mode mode) {
    const int flags = _O_WRONLY | _O_CREAT | _O_BINARY | _O_NOINHERIT |
                      (mode == Mode::Append ? _O_APPEND : _O_TRUNC);
    openError_ = _sopen_s(&descriptor_, path.c_str(), flags, _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (openError_ != 0) {
        descriptor_ = -1;
    }
}

DurableFile::~DurableFile() {
    if (descriptor_ >= 0) {
        _close(descriptor_);
    }
}

int DurableFile::Append(std::string_view record) {
    const __int64 before = _lseeki64(descriptor_, 0, SEEK_END);
    std::size_t done = 0;
    while (done < record.size()) {
        const int written =
            _write(descriptor_, record.data() + done, static_cast<unsigned>(record.size() - done));
        if (written <= 0) {
            const int error = written < 0 ? errno : EIO;
            if (before >= 0) {
                _chsize_s(descriptor_, before);
            }
            return error;
        }
        done += static_cast<std::size_t>(written);
    }
    // A console or a pipe has no disk to reach.
    return _commit(descriptor_) != 0 && errno != EBADF ? errno : 0;
}

int MoveIntoPlace(const std::string& written, const std::string& target) {
    // Write-through: the move is on the disk when the call returns.
    if (MoveFileExA(written.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EACCES;
    default:
        return EIO;
    }
}
