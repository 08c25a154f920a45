#pragma once
// Firefox's prefs.js in the profile: the preferences the user (or the browser for the
// user) changed, one `user_pref("name", value);` per line. The browser writes it in
// modules/libpref/Preferences.cpp (StrEscape: a string value in double quotes with
// backslash, double quote, line feed and carriage return escaped) and reads it with the
// parser in modules/libpref/parser (single or double quotes, \\ \" \' \n \r \xHH \uHHHH).
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

// The string value of a preference; nothing when it is not set or not a string. The last
// line wins, as it does in the browser.
std::optional<std::string> UserPrefString(std::string_view prefs_text, std::string_view name);

// The text with the preference set to a string value: its line replaced (every line of it,
// when there are several, by one), or a line added at the end in the file's own line
// ending.
std::string WithUserPrefString(std::string_view prefs_text, std::string_view name,
                               std::string_view value);

}  // namespace orvo
