#pragma once
// Reading the plug_ids_json field of get_plugs_rating: a JSON array of id strings. Older
// builds of the program wrote the ids into the array without escaping them, so an id
// holding a quote or a backslash breaks the JSON; such a text is then read the way it was
// built: "[", quoted ids joined by ",", "]".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::service {

// The ids, or empty when the text is neither form. Non-string array members are skipped.
std::optional<std::vector<std::string>> ReadPlugIdList(std::string_view text);

}  // namespace orvo::service
