#pragma once

#include <optional>
#include <string>

// A value that may go to the instrument, or the message that refuses it. The message names the
// field, says what it must be, and ends with "Nothing was sent."
template <typename T> struct Checked {
    std::optional<T> value;
    std::string refusal;

    static Checked Refused(std::string message) {
        return {std::nullopt, std::move(message) + " Nothing was sent."};
    }
    explicit operator bool() const { return value.has_value(); }
};
