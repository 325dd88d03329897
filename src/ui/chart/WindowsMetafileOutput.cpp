#include "MetafileOutput.h"

#include <system_error>

namespace {

std::wstring Wide(const std::string& utf8) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
    return wide;
}

std::string LastError() {
    return std::system_category().message(static_cast<int>(GetLastError()));
}

} // namespace

HDC StartMetafile(const std::string& path, const RECT& frame, std::string& error) {
    // The screen is the reference device, as for the pictures the system's programs make.
    const HDC dc = CreateEnhMetaFileW(nullptr, Wide(path).c_str(), &frame, L"Chart\0\0");
    if (dc == nullptr) {
        error = LastError();
    }
    return dc;
}

bool FinishMetafile(HDC dc, std::string& error) {
    const HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    if (metafile == nullptr) {
        error = LastError();
        return false;
    }
    DeleteEnhMetaFile(metafile);
    return true;
}
