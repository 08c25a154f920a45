// Firefox's "profiles.ini": which folder the catalogue takes for the profile. Whatever
// the file says (paths with "..", drive letters, absolute paths, other encodings), the
// profile the catalogue reads and changes lies inside the Firefox folder. The profiles a
// path may name exist, each with an add-on the catalogue would switch, so a path that
// escaped would be written to and caught.
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/firefox_extensions.h"
#include "fuzz_support.h"

namespace {

constexpr const char* kExtensionsJson =
    "{\"schemaVersion\":31,\"addons\":[{\"id\":\"a@fuzz.example\",\"type\":\"extension\","
    "\"userDisabled\":false,\"active\":true,\"defaultLocale\":{\"name\":\"A\"}}]}";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo;
  static fuzz::ThrowAwayImage image;
  fuzz::ResetForFirefox(image, false);
  image.Write(std::string(fuzz::kFirefoxFolder) + "profiles.ini",
              std::string_view(reinterpret_cast<const char*>(data), size));
  for (const char* profile : {"Profiles\\a.default\\", "Profiles\\b.work\\"}) {
    image.Write(std::string(fuzz::kFirefoxFolder) + profile + "extensions.json", kExtensionsJson);
  }
  image.Write("C:\\Users\\demo\\AppData\\Roaming\\Mozilla\\extensions.json", kExtensionsJson);
  image.Write("C:\\Users\\demo\\extensions.json", kExtensionsJson);

  TFireFoxExtensions firefox;
  const std::string folder = image.Relative(fuzz::kFirefoxFolder);
  // A path that maps nowhere in the image names no profile anything can be read from.
  const std::string profile = image.Relative(firefox.ProfileDir);
  FUZZ_CHECK(profile.empty() || fuzz::Inside(profile, folder));
  const auto before = image.Snapshot(folder);
  if (TBrowserExtensionInfo* item = fuzz::FirstExtension(firefox)) firefox.ToggleItem(item);
  for (const std::string& path : fuzz::ThrowAwayImage::Changed(before, image.Snapshot(folder))) {
    FUZZ_CHECK(fuzz::Inside(path, folder));
  }
  return 0;
}
