#pragma once
// Which of an add-on's names Firefox shows. extensions.json keeps an add-on's name and
// description in "defaultLocale" and, per translation, in the "locales" array, each entry
// with a "locales" list of language tags. The browser picks the entry whose list best
// matches the languages it asks for, with "en-US" added as the last of them, and falls back
// to "defaultLocale" (toolkit/mozapps/extensions/internal/XPIDatabase.sys.mjs,
// AddonInternal.selectedLocale, negotiating with the lookup strategy of
// intl/locale/LocaleService.cpp: an exact tag, then the bare language, then any region of
// the same language).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/json_document.h"

namespace orvo {

// The language tag ("de-AT") of a Windows language id (0x0C07), empty for an unknown one.
std::string LanguageTagOfLangId(uint16_t langid);

// The languages Firefox asks for, best first, "en-US" last: prefs.js's
// "intl.locale.requested" (a comma-separated list) when it names any, else the older
// "general.useragent.locale", else the user's Windows interface language (`langid`).
std::vector<std::string> FirefoxRequestedLocales(const std::optional<std::string>& requested_pref,
                                                 const std::optional<std::string>& useragent_pref,
                                                 uint16_t langid);

// The locale object of an extensions.json add-on entry to take the name and description
// from: the best "locales" entry for `requested`, else "defaultLocale"; null when it has
// neither.
const Json* SelectedLocale(const Json& addon, const std::vector<std::string>& requested);

}  // namespace orvo
