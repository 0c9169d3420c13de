#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

#include "core/brief_record.h"

namespace gl::cli {

// A byte string as JSON: a string when the bytes are UTF-8, else {"hex": "<two lower-case hex
// digits per byte>"}, so no byte is lost and the two forms cannot be mistaken for each other.
nlohmann::ordered_json JsonBytes(std::string_view bytes);

// The brief's stored fields under their own names, entries in list order.
nlohmann::ordered_json BriefJson(const TBriefRecord& brief);

}  // namespace gl::cli
