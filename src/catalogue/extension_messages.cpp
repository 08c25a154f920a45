#include "catalogue/extension_messages.h"

#include <vector>

#include "platform/platform.h"
#include "platform/text.h"

namespace orvo {
namespace {

// An extension's JSON files are small; a catalog larger than this is no catalog.
constexpr size_t kMaxExtensionJson = size_t(4) << 20;
constexpr const char* kMessageBegin = "__MSG_";
constexpr const char* kMessageEnd = "__";

// MessageBundle::IsValidName.
bool IsValidName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == '@';
    if (!ok) return false;
  }
  return true;
}

// MessageBundle::ReplaceVariables: every `begin`NAME`end` with a valid NAME replaced by its
// value; false when a valid NAME has none.
bool ReplaceVariables(std::string& text, const std::map<std::string, std::string>& values,
                      std::string_view begin, std::string_view end) {
  size_t at = 0;
  while (true) {
    at = text.find(begin, at);
    if (at == std::string::npos) return true;
    at += begin.size();
    if (at >= text.size()) return true;
    const size_t stop = text.find(end, at);
    if (stop == std::string::npos) return true;
    const std::string name = text.substr(at, stop - at);
    if (!IsValidName(name)) continue;
    const auto it = values.find(ToLowerAscii(name));
    if (it == values.end()) return false;
    text.replace(at - begin.size(), stop - at + begin.size() + end.size(), it->second);
    at += it->second.size() - begin.size();
  }
}

// One catalog's messages, their placeholders filled in (MessageBundle::GetMessageValue);
// a malformed message is passed over.
void AddCatalog(const Json& catalog, ExtensionMessages& messages) {
  for (auto it = catalog.begin(); it != catalog.end(); ++it) {
    if (!IsValidName(it.key()) || !it.value().is_object()) continue;
    const Json* message = Member(it.value(), "message");
    if (!message || !message->is_string()) continue;
    std::string text = message->get<std::string>();
    std::map<std::string, std::string> placeholders;
    if (const Json* list = ObjectMember(it.value(), "placeholders")) {
      for (auto p = list->begin(); p != list->end(); ++p) {
        if (!p.value().is_object()) continue;
        const Json* content = Member(p.value(), "content");
        if (content && content->is_string())
          placeholders[ToLowerAscii(p.key())] = content->get<std::string>();
      }
    }
    if (!ReplaceVariables(text, placeholders, "$", "$")) continue;
    messages[ToLowerAscii(it.key())] = std::move(text);
  }
}

// A locale folder name the catalog may be read from: letters, digits, '_' and '-' only.
bool IsLocaleName(std::string_view name) {
  if (name.empty() || name.size() > 32) return false;
  for (char c : name) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
          c == '-')) {
      return false;
    }
  }
  return true;
}

// Windows user interface languages (LANGID) and the locale the browser takes up for them
// (its own languages; English other than American as British, Spanish of the Americas as
// es_419). The primary language alone decides unless a full LANGID is listed.
struct LanguageLocale {
  uint16_t langid;
  const char* locale;
};
constexpr LanguageLocale kFullLangIds[] = {
    {0x0409, "en_US"}, {0x0404, "zh_TW"}, {0x0c04, "zh_TW"}, {0x1404, "zh_TW"}, {0x0804, "zh_CN"},
    {0x1004, "zh_CN"}, {0x0416, "pt_BR"}, {0x0816, "pt_PT"}, {0x040a, "es"},    {0x0c0a, "es"},
};
constexpr LanguageLocale kPrimaryLanguages[] = {
    {0x01, "ar"},  {0x02, "bg"},    {0x03, "ca"},     {0x05, "cs"}, {0x06, "da"}, {0x07, "de"},
    {0x08, "el"},  {0x09, "en_GB"}, {0x0a, "es_419"}, {0x0b, "fi"}, {0x0c, "fr"}, {0x0d, "he"},
    {0x0e, "hu"},  {0x10, "it"},    {0x11, "ja"},     {0x12, "ko"}, {0x13, "nl"}, {0x14, "nb"},
    {0x15, "pl"},  {0x18, "ro"},    {0x19, "ru"},     {0x1a, "hr"}, {0x1b, "sk"}, {0x1d, "sv"},
    {0x1e, "th"},  {0x1f, "tr"},    {0x21, "id"},     {0x22, "uk"}, {0x24, "sl"}, {0x25, "et"},
    {0x26, "lv"},  {0x27, "lt"},    {0x29, "fa"},     {0x2a, "vi"}, {0x39, "hi"}, {0x3e, "ms"},
    {0x64, "fil"},
};

}  // namespace

std::unique_ptr<JsonDocument> ReadExtensionJson(const std::string& path) {
  auto text = os::Current().files().ReadFile(path, kMaxExtensionJson);
  if (!text) return nullptr;
  std::string_view body = *text;
  if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
  Json value = Json::parse(body, nullptr, /*allow_exceptions=*/false, /*ignore_comments=*/true);
  if (!value.is_object()) return nullptr;
  auto document = std::make_unique<JsonDocument>();
  document->value = std::move(value);
  return document;
}

std::vector<std::string> ParentLocales(const std::string& locale) {
  std::vector<std::string> out;
  std::string l = locale;
  for (char& c : l) {
    if (c == '-') c = '_';
  }
  while (!l.empty()) {
    out.push_back(l);
    const size_t cut = l.rfind('_');
    if (cut == std::string::npos) break;
    l.resize(cut);
  }
  return out;
}

std::string BrowserUiLocale(const std::string& app_locale, uint16_t langid) {
  if (IsLocaleName(app_locale)) {
    std::string l = app_locale;
    for (char& c : l) {
      if (c == '-') c = '_';
    }
    return l;
  }
  for (const auto& f : kFullLangIds) {
    if (f.langid == langid) return f.locale;
  }
  for (const auto& p : kPrimaryLanguages) {
    if (p.langid == (langid & 0x3ff)) return p.locale;
  }
  return "en";
}

ExtensionMessages LoadExtensionMessages(const std::string& folder, const std::string& ui_locale,
                                        const std::string& default_locale) {
  // GetAllFallbackLocales: the UI locale and its parents unless it is the default, then
  // the default; the first of them wins for every message.
  std::vector<std::string> chain;
  if (ui_locale != default_locale) chain = ParentLocales(ui_locale);
  chain.push_back(default_locale);
  ExtensionMessages messages;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (!IsLocaleName(*it)) continue;
    ExtensionMessages catalog;
    if (auto doc = ReadExtensionJson(folder + "\\_locales\\" + *it + "\\messages.json"))
      AddCatalog(doc->value, catalog);
    for (auto& [name, text] : catalog) messages[name] = std::move(text);
  }
  return messages;
}

bool HasMessagePlaceholder(const std::string& text) {
  return text.find(kMessageBegin) != std::string::npos;
}

std::string LocaliseText(const std::string& text, const ExtensionMessages& messages) {
  if (!HasMessagePlaceholder(text)) return text;
  std::string out = text;
  return ReplaceVariables(out, messages, kMessageBegin, kMessageEnd) ? out : text;
}

}  // namespace orvo
