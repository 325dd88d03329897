#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace mqtt {

using Json = nlohmann::ordered_json;

// Text that is not UTF-8 (the instrument's own bytes passed on unconverted) is replaced, not
// thrown on: one odd character never costs a message.
inline std::string JsonText(const Json& object) {
    return object.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace mqtt
