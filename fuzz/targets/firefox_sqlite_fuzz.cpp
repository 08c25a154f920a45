// A Firefox profile of the older kind: the input is the bytes of "extensions.sqlite", as
// a browser, a disk error or another program may have left it. The catalogue is made on
// a throw-away image, then one add-on is switched and another deleted. Whatever the
// database holds, nothing crashes, a switch that fails leaves the record as it was, and
// nothing outside the profile's folder changes (the image has a file of the user's own
// beside it, which a row's descriptor may name).
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/firefox_extensions.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo;
  static fuzz::ThrowAwayImage image;
  fuzz::ResetForFirefox(image);
  image.Write(std::string(fuzz::kFirefoxProfile) + "extensions.sqlite",
              std::string_view(reinterpret_cast<const char*>(data), size));
  image.Write(std::string(fuzz::kFirefoxProfile) + "extensions\\sample@fuzz.example.xpi", "PK");
  image.Write("C:\\Users\\demo\\Documents\\keep.txt", "the user's own file");

  TFireFoxExtensions firefox;
  const std::string folder = image.Relative(fuzz::kFirefoxProfile);
  const auto before = image.Snapshot(folder);
  if (TBrowserExtensionInfo* item = fuzz::FirstExtension(firefox)) {
    const bool was_disabled = item->Disabled;
    if (!firefox.ToggleItem(item)) FUZZ_CHECK(item->Disabled == was_disabled);
  }
  if (TBrowserExtensionInfo* item = fuzz::LastExtension(firefox)) firefox.DeleteItem(item);
  for (const std::string& path : fuzz::ThrowAwayImage::Changed(before, image.Snapshot(folder))) {
    FUZZ_CHECK(fuzz::Inside(path, folder));
  }
  return 0;
}
