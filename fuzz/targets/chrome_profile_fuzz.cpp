// A Chrome profile as the catalogue finds it: "Local State" (the profile list), the
// profile's "Preferences" and the names of the folders in its "Extensions" folder, one a
// line. The catalogue is made on a throw-away image, then one extension is switched and
// another deleted, as a user would. Whatever the files hold:
// - a switch that succeeds leaves a Preferences that parses, is ASCII and holds the new
//   state as the browser reads it; one that fails leaves the file byte for byte as it was;
// - nothing outside the profile's folder changes (a delete must never reach further).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "catalogue/chromium_extensions.h"
#include "catalogue/chromium_settings.h"
#include "catalogue/json_document.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo;
  static fuzz::ThrowAwayImage image;
  image.Reset();
  const auto parts =
      fuzz::SplitParts(std::string_view(reinterpret_cast<const char*>(data), size), 3);
  const std::string profile = fuzz::kChromeProfile;
  image.Write(std::string(fuzz::kChromeUserData) + "Local State", parts[0]);
  image.Write(profile + "Preferences", parts[1]);
  image.Write(std::string(fuzz::kChromeUserData) + "Profile 1\\Bookmarks", "{}");
  image.Write("C:\\Users\\demo\\Documents\\keep.txt", "the user's own file");
  fuzz::WriteExtensionFolders(image, parts[2]);

  TChromeExtensions chrome;
  const std::string folder = image.Relative(chrome.ProfileDir);
  FUZZ_CHECK(fuzz::Inside(folder, image.Relative(fuzz::kChromeUserData)));
  const std::string preferences = chrome.ProfileDir + "Preferences";
  const auto before = image.Snapshot(folder);

  if (TBrowserExtensionInfo* item = fuzz::FirstExtension(chrome)) {
    const std::string id = item->Id;
    const bool was_disabled = item->Disabled;
    const std::string old_bytes = image.platform().files().ReadFile(preferences).value_or("");
    const ChangeResult result = chrome.ToggleItem(item);
    const std::string new_bytes = image.platform().files().ReadFile(preferences).value_or("");
    if (result) {
      FUZZ_CHECK(item->Disabled != was_disabled);
      FUZZ_CHECK(fuzz::IsAscii(new_bytes));
      const auto written = ParseJsonDocument(new_bytes);
      FUZZ_CHECK(written != nullptr);
      const Json* extensions = ObjectMember(written->value, "extensions");
      const Json* settings = extensions ? ObjectMember(*extensions, "settings") : nullptr;
      const Json* entry = settings ? ObjectMember(*settings, id) : nullptr;
      // Read back as the browser reads it: "disable_reasons" decides, "state" only without
      // them (an entry may have either, or neither).
      FUZZ_CHECK(entry && EntryOff(*entry) == item->Disabled);
    } else {
      FUZZ_CHECK(item->Disabled == was_disabled);
      FUZZ_CHECK(new_bytes == old_bytes);
    }
  }
  if (TBrowserExtensionInfo* item = fuzz::LastExtension(chrome)) {
    if (chrome.DeleteItem(item)) {
      const auto written =
          ParseJsonDocument(image.platform().files().ReadFile(preferences).value_or(""));
      FUZZ_CHECK(written != nullptr);
    }
  }
  for (const std::string& path : fuzz::ThrowAwayImage::Changed(before, image.Snapshot(folder))) {
    FUZZ_CHECK(fuzz::Inside(path, folder));
  }
  return 0;
}
