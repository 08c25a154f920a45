#pragma once
// What goes into a request to the rating service: the address of an action and the text
// of the fields that need building. The form encoding itself is TRateHttpClient's.
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// The service's base URL (scheme, host and port) the program was built for.
std::string_view BuiltInRatingServiceUrl();

// base + "/plugin/index.php?to=" + action (a "/" ending the base is not doubled).
std::string RatingActionUrl(std::string_view base_url, std::string_view action);

// The plug_ids_json value: the ids as a JSON array of strings, in order, without blanks:
// ["a","b"]. A quote, a backslash or a control character in an id is escaped as JSON
// asks, so no id can break the array; every other character is written as it is (the
// form encoding takes care of the rest). No ids give [].
std::string PlugIdsJson(const std::vector<std::string>& ids);

// "name=value", one form field.
std::string FormField(std::string_view name, std::string_view value);
std::string FormField(std::string_view name, long long value);

}  // namespace orvo
