// The panel's settings in the registry, as QSettings keeps them there: a subkey per section
// under the application's key, each value a string.
#include "PanelSettings.h"

#include <system_error>
#include <windows.h>

namespace {

std::wstring Wide(const std::string& text) {
    std::wstring wide(
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0),
        L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        static_cast<int>(wide.size()));
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    std::string text(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                        static_cast<int>(text.size()), nullptr, nullptr);
    return text;
}

class PanelRegistry final : public SettingsStore {
public:
    std::optional<std::string> ReadValue(const std::string& key, const std::string& section,
                                         const std::string& name) override {
        const std::wstring subkey = Wide(key + "\\" + section);
        const std::wstring value = Wide(name);
        DWORD bytes = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr,
                         nullptr, &bytes) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::wstring text(bytes / sizeof(wchar_t), L'\0');
        if (RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr,
                         text.data(), &bytes) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        text.resize(bytes / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') {
            text.pop_back();
        }
        return Utf8(text);
    }

    // The tool never changes the panel's settings.
    void WriteValue(const std::string&, const std::string&, const std::string&,
                    const std::string&) override {
        throw SettingsStoreError("the panel's settings are not changed from the command line");
    }
};

} // namespace

std::unique_ptr<SettingsStore> OpenPanelSettings(std::string& problem) {
    HKEY key = nullptr;
    const LSTATUS opened =
        RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kSettingsKey).c_str(), 0, KEY_READ, &key);
    if (opened == ERROR_SUCCESS) {
        RegCloseKey(key);
    } else if (opened != ERROR_FILE_NOT_FOUND) {
        problem = "HKEY_CURRENT_USER\\" + kSettingsKey + ": " +
                  std::system_category().message(static_cast<int>(opened));
    }
    return std::make_unique<PanelRegistry>();
}
