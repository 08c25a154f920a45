#pragma once
// A browser's JSON data file held for write-back: parsed with member order kept, written
// back compact and pure ASCII (see json_writer.h).
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "catalogue/json_object_map.h"

namespace orvo {

// Member order is kept, as the browsers' files must be written back as they were read.
using Json = nlohmann::basic_json<JsonObjectMap>;

struct JsonDocument {
  Json value;
};

// Parses UTF-8 text (a leading byte-order mark is ignored). Null when the text is not
// JSON, is nested absurdly deep, or is not an object at the top.
std::unique_ptr<JsonDocument> ParseJsonDocument(std::string_view text);
// The same, with the reason for a null in `why` ("empty", "not valid JSON (it breaks off
// at byte N)", "nested more than 512 levels deep", "not a JSON object").
std::unique_ptr<JsonDocument> ParseJsonDocument(std::string_view text, std::string* why);

// Member access that never throws and never creates anything: null when the member is
// missing or not of the asked type.
const Json* Member(const Json& object, std::string_view name);
Json* Member(Json& object, std::string_view name);
const Json* ObjectMember(const Json& object, std::string_view name);
Json* ObjectMember(Json& object, std::string_view name);
const Json* ArrayMember(const Json& object, std::string_view name);
Json* ArrayMember(Json& object, std::string_view name);
// The member's text when it is a string, else empty.
std::string StringMember(const Json& object, std::string_view name);
// A member read as a boolean: true, or a non-zero number.
bool BoolMember(const Json& object, std::string_view name);

// Undoing a change the file refused: a copy of a member as it was (nothing when it was
// missing), and putting it back (taking the member out when it was missing).
std::optional<Json> MemberCopy(const Json& object, std::string_view name);
void RestoreMember(Json& object, std::string_view name, const std::optional<Json>& old);

}  // namespace orvo
