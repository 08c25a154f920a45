#pragma once
// Reading the form bodies the program posts. Its form encoder escapes blanks, "%", "#",
// "*", "<", ">", "[", "]", control characters and everything beyond ASCII, but leaves "&",
// "=" and "+" as they are, so a review text holding "a&b=c" arrives as three raw pieces.
// The reader therefore knows, per action, which field names exist and whether a name is
// found at its first or its last marker (fields sent before the free text take the first,
// fields after it the last); text between two chosen markers belongs to the earlier field.
// "+" stays a plus sign: the program never sends it for a blank.
#include <map>
#include <span>
#include <string>
#include <string_view>

namespace orvo::service {

enum class Marker { kFirst, kLast };

struct FieldSpec {
  std::string_view name;
  Marker marker;
};

using FormFields = std::map<std::string, std::string, std::less<>>;

// Decodes "%XX" escapes (either case); a "%" not followed by two hexadecimal digits stays.
std::string PercentDecode(std::string_view text);

// Splits a body into the listed fields (values decoded); unlisted names are text of the
// field before them, or dropped when no listed field came yet.
FormFields ReadFormBody(std::string_view body, std::span<const FieldSpec> fields);

}  // namespace orvo::service
