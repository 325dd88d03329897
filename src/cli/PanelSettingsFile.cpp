#include "PanelSettingsFile.h"

#include "base/BoundedFile.h"

#include <algorithm>
#include <filesystem>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "%XX" stands for the byte XX.
std::string DecodedName(const std::string& text) {
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
            HexDigit(text[i + 2]) >= 0) {
            name += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            name += text[i];
        }
    }
    return name;
}

// A backslash escape at text[i] (the backslash); appends its byte and returns the next index.
std::size_t Unescape(const std::string& text, std::size_t i, std::string& value) {
    static const std::string kLetters = "abfnrtv0";
    static const std::string kBytes = {'\a', '\b', '\f', '\n', '\r', '\t', '\v', '\0'};
    const char letter = i + 1 < text.size() ? text[i + 1] : '\\';
    if (letter == 'x') {
        int byte = 0;
        std::size_t j = i + 2;
        for (; j < text.size() && j < i + 6 && HexDigit(text[j]) >= 0; ++j) {
            byte = byte * 16 + HexDigit(text[j]);
        }
        value += static_cast<char>(byte);
        return j;
    }
    const std::size_t known = kLetters.find(letter);
    value += known == std::string::npos ? letter : kBytes[known];
    return i + 2;
}

// Plain text, or text in double quotes (several quoted pieces join), with backslash escapes.
std::string DecodedValue(const std::string& text) {
    std::string value;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '"') {
            ++i;
        } else if (text[i] == '\\') {
            i = Unescape(text, i, value);
        } else {
            value += text[i++];
        }
    }
    return value;
}

} // namespace

PanelSettingsFile::PanelSettingsFile(const std::string& path) {
    std::error_code missing;
    if (!std::filesystem::exists(path, missing) && !missing) {
        return;
    }
    const BoundedFile file = ReadBoundedFile(path, kLargestFile);
    if (!file.error.empty()) {
        problem_ = path + ": " + file.error;
        return;
    }
    values_ = Parse(file.bytes);
}

PanelSettingsFile::Values PanelSettingsFile::Parse(std::string_view bytes) {
    Values values;
    std::string section;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        const std::string text = Trimmed(std::string(bytes.substr(start, end - start)));
        start = end + 1;
        if (text.empty() || text.front() == ';' || text.front() == '#') {
            continue;
        }
        if (text.front() == '[' && text.back() == ']') {
            section = DecodedName(text.substr(1, text.size() - 2));
            continue;
        }
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos) {
            values[{section, DecodedName(Trimmed(text.substr(0, equals)))}] =
                DecodedValue(Trimmed(text.substr(equals + 1)));
        }
    }
    return values;
}

std::optional<std::string> PanelSettingsFile::ReadValue(const std::string&,
                                                        const std::string& section,
                                                        const std::string& name) {
    const auto found = values_.find({section, name});
    if (found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void PanelSettingsFile::WriteValue(const std::string&, const std::string&, const std::string&,
                                   const std::string&) {
    throw SettingsStoreError("the panel's settings are not changed from the command line");
}
