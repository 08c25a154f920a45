#pragma once
// Localised extension names. A manifest may say "__MSG_appName__" instead of a name; the
// browser fills it in from the extension's _locales/<locale>/messages.json, as
// extensions/common/extension_l10n_util.cc and message_bundle.cc do: the catalogs of the
// browser's UI language, then of its parents (en_GB, then en), then of the manifest's
// default_locale, the more specific winning for each message; message and placeholder
// names without regard to case; "$name$" inside a message replaced by that placeholder's
// content. A text naming a message no catalog holds is left as it is (the browser would
// refuse to load the extension; the list shows what the manifest says).
//
// Only for display: nothing here writes a file.
#include <cstdint>
#include <map>
#include <string>

#include "catalogue/json_document.h"

namespace orvo {

// Lower-cased message name -> text.
using ExtensionMessages = std::map<std::string, std::string>;

// The messages of the extension in `folder` (no trailing backslash) for `ui_locale`
// ("en_GB"), falling back to `default_locale`. Catalogs that are missing or unreadable
// are passed over.
ExtensionMessages LoadExtensionMessages(const std::string& folder, const std::string& ui_locale,
                                        const std::string& default_locale);

// `text` with its "__MSG_name__" parts replaced; unchanged when one names no message.
std::string LocaliseText(const std::string& text, const ExtensionMessages& messages);
bool HasMessagePlaceholder(const std::string& text);

// The locales tried for `locale`, most specific first: "sr_Latn_RS", "sr_Latn", "sr".
std::vector<std::string> ParentLocales(const std::string& locale);

// The browser's UI language as an extension locale name: its own setting ("intl.app_locale"
// of Local State, `app_locale`, when set), else the Windows user interface language
// `langid`; "en" when neither is known.
std::string BrowserUiLocale(const std::string& app_locale, uint16_t langid);

// A JSON file an extension ships (manifest.json, messages.json): comments allowed as the
// browser allows them, a leading byte-order mark skipped. Null when it can't be read or
// is no object.
std::unique_ptr<JsonDocument> ReadExtensionJson(const std::string& path);

}  // namespace orvo
