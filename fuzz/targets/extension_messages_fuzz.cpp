// An extension's manifest.json and its _locales catalogs (messages.json), as the list
// shows the extension's name and description: the input's parts are the browser's UI
// locale (a line), the manifest, and the catalogs of en_GB, en and fr. Whatever they hold,
// reading and filling in "__MSG_name__" never crashes and a text without a placeholder
// comes back as it is.
// The files live on one throw-away image for the whole run: each input overwrites them in
// place through their host paths, found once (mapping a path costs more than the write).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue/extension_messages.h"
#include "catalogue/json_document.h"
#include "fuzz_support.h"

namespace {

constexpr const char* kFolder =
    "C:\\Users\\demo\\AppData\\Local\\Google\\Chrome\\User Data\\Default\\Extensions\\abc\\1.0_0";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo;
  static fuzz::ThrowAwayImage image;
  const std::string folder = kFolder;
  static const std::vector<std::filesystem::path> hosts = [&] {
    std::vector<std::filesystem::path> made;
    for (const char* file : {"manifest.json", "_locales\\en_GB\\messages.json",
                             "_locales\\en\\messages.json", "_locales\\fr\\messages.json"}) {
      made.push_back(image.Host(folder + "\\" + file));
      std::filesystem::create_directories(made.back().parent_path());
    }
    return made;
  }();
  const auto parts =
      fuzz::SplitParts(std::string_view(reinterpret_cast<const char*>(data), size), 5);
  for (size_t i = 0; i < hosts.size(); ++i) {
    std::ofstream(hosts[i], std::ios::binary | std::ios::trunc)
        .write(parts[i + 1].data(), static_cast<std::streamsize>(parts[i + 1].size()));
  }

  const std::string app_locale(parts[0].substr(0, parts[0].find('\n')));
  const std::string ui_locale = BrowserUiLocale(app_locale, 0x0809);
  FUZZ_CHECK(!ui_locale.empty());
  for (const std::string& parent : ParentLocales(ui_locale)) FUZZ_CHECK(!parent.empty());

  const auto manifest = ReadExtensionJson(folder + "\\manifest.json");
  if (!manifest) return 0;
  const ExtensionMessages messages =
      LoadExtensionMessages(folder, ui_locale, StringMember(manifest->value, "default_locale"));
  for (const char* key : {"name", "description", "short_name"}) {
    const std::string text = StringMember(manifest->value, key);
    const std::string shown = LocaliseText(text, messages);
    if (!HasMessagePlaceholder(text)) FUZZ_CHECK(shown == text);
  }
  return 0;
}
