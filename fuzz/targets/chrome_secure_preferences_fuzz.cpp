// A Chrome profile whose extension settings are guarded: "Local State", "Preferences",
// "Secure Preferences" (with or without protection.macs beside the entries) and the
// names of the folders in "Extensions", one a line. The catalogue is made on a throw-away
// image, then one extension is switched and another deleted, with the user's consent to
// switch through the browser's policy. Whatever the files hold:
// - "Secure Preferences" is never written: an entry edited without a matching MAC makes
//   the browser drop the extension at its next start;
// - an extension whose entry a MAC guards (or that lives in Secure Preferences) is never
//   switched or deleted by editing Preferences: the file stays byte for byte as it was;
// - a switch that succeeds on an unguarded entry leaves a Preferences that parses and is
//   ASCII; one that fails leaves it as it was;
// - nothing changes outside the profile's folder but the registry (where the policy
//   block lives).
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/chromium_extensions.h"
#include "catalogue/json_document.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo;
  static fuzz::ThrowAwayImage image;
  image.Reset();
  const auto parts =
      fuzz::SplitParts(std::string_view(reinterpret_cast<const char*>(data), size), 4);
  const std::string profile = fuzz::kChromeProfile;
  image.Write(std::string(fuzz::kChromeUserData) + "Local State", parts[0]);
  image.Write(profile + "Preferences", parts[1]);
  if (!parts[2].empty()) image.Write(profile + "Secure Preferences", parts[2]);
  image.Write("C:\\Users\\demo\\Documents\\keep.txt", "the user's own file");
  fuzz::WriteExtensionFolders(image, parts[3]);

  TBrowserAppBase::PolicyChangesAllowed = true;
  TChromeExtensions chrome;
  const std::string folder = image.Relative(chrome.ProfileDir);
  FUZZ_CHECK(fuzz::Inside(folder, image.Relative(fuzz::kChromeUserData)));
  const std::string preferences = chrome.ProfileDir + "Preferences";
  const std::string secure = chrome.ProfileDir + "Secure Preferences";
  auto& files = image.platform().files();
  const std::string secure_bytes = files.ReadFile(secure).value_or("");
  const auto before = image.Snapshot(folder);

  if (TBrowserExtensionInfo* item = fuzz::FirstExtension(chrome)) {
    const bool guarded = item->Protected;
    const bool was_disabled = item->Disabled;
    const std::string old_bytes = files.ReadFile(preferences).value_or("");
    const ChangeResult result = chrome.ToggleItem(item);
    const std::string new_bytes = files.ReadFile(preferences).value_or("");
    if (guarded || !result) FUZZ_CHECK(new_bytes == old_bytes);
    if (!result) FUZZ_CHECK(item->Disabled == was_disabled);
    if (result && !guarded) {
      FUZZ_CHECK(fuzz::IsAscii(new_bytes));
      FUZZ_CHECK(ParseJsonDocument(new_bytes) != nullptr);
    }
  }
  if (TBrowserExtensionInfo* item = fuzz::LastExtension(chrome)) {
    const bool guarded = item->Protected;
    const std::string old_bytes = files.ReadFile(preferences).value_or("");
    const ChangeResult result = chrome.DeleteItem(item);
    const std::string new_bytes = files.ReadFile(preferences).value_or("");
    if (guarded) FUZZ_CHECK(!result && new_bytes == old_bytes);
    if (result) FUZZ_CHECK(new_bytes == old_bytes || ParseJsonDocument(new_bytes) != nullptr);
  }
  FUZZ_CHECK(files.ReadFile(secure).value_or("") == secure_bytes);
  for (const std::string& path : fuzz::ThrowAwayImage::Changed(before, image.Snapshot(folder))) {
    FUZZ_CHECK(fuzz::Inside(path, folder) || path == "registry.reg");
  }
  return 0;
}
