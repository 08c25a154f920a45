#pragma once
// Reading a Firefox profile back the way the browser would, independently of the program:
// the startup cache through an LZ4 block reader of the tests' own (so the program's
// liblz4-made files are checked by a second implementation of the format), and the check
// that a profile's three files agree on every add-on.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>

#include "catalogue/json_document.h"

namespace orvo::test {

// The demo image's Firefox add-ons (tools/demo_image/firefox_demo.cpp).
namespace firefox {
inline constexpr const char* kTabTidy = "tabtidy@orvo-demo.example";
inline constexpr const char* kCookies = "{3c2b8b0e-5b7a-4f0e-9d2c-1a4e6f7b8c90}";
inline constexpr const char* kReader = "readermode@orvo-demo.example";
inline constexpr const char* kUebersetzer = "unicode-names@orvo-demo.example";
inline constexpr const char* kToolbar = "legacy-toolbar@orvo-demo.example";
inline constexpr const char* kDarkFox = "darkfox@orvo-demo.example";
inline constexpr const char* kDefaultTheme = "default-theme@mozilla.org";
inline constexpr const char* kLangpack = "langpack-de@firefox.mozilla.org";
inline constexpr const char* kDictionary = "de-DE@dictionaries.addons.mozilla.org";
inline constexpr const char* kAutofill = "formautofill@mozilla.org";
inline constexpr const char* kMeetingNotes =
    "meetingnotes@orvo-demo.example";  // the "work" profile
inline constexpr const char* kOldTabs = "oldtabs@orvo-demo.example";
}  // namespace firefox

// The text of a "mozLz40" file; throws std::runtime_error on anything malformed.
std::string DecodeMozLz4ByHand(std::string_view file);
// The parsed startup cache at a Windows path (null Json when it cannot be read).
Json ReadStartupCacheByHand(const std::string& windows_path);

// A profile's extensions.json, addonStartup.json.lz4 and files agree as the browser keeps
// them: every visible add-on of extensions.json has its state in the cache under its
// location with "enabled" equal to its "active" and to "not disabled"; every state in the
// cache belongs to such an add-on; a listed add-on's file is there;
// prefs.js's extensions.activeThemeID is the theme that is on.
::testing::AssertionResult ProfileAgrees(const std::string& profile_dir);

}  // namespace orvo::test
