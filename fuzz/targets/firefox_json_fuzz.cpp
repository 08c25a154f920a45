// A Firefox profile of the current kind: "extensions.json" and "addons.json" (the
// input's two parts). The catalogue is made on a throw-away image, then one add-on is
// switched and another deleted. Whatever the files hold:
// - a switch that succeeds leaves an extensions.json that parses, is ASCII and says the
//   new state; one that fails leaves the file byte for byte as it was;
// - nothing outside the profile's folder changes, whatever an add-on's "descriptor"
//   names (the image has a file of the user's own beside it that must survive).
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "catalogue/firefox_extensions.h"
#include "catalogue/json_document.h"
#include "fuzz_support.h"

namespace {

// The user's switch as the browser reads it, per location the add-on `id` is in: of two
// entries for one location the later counts.
std::map<std::string, bool> UserSwitches(const orvo::Json& document, const std::string& id) {
  std::map<std::string, bool> switches;
  if (const orvo::Json* addons = orvo::ArrayMember(document, "addons")) {
    for (const auto& element : *addons) {
      if (element.is_object() && orvo::StringMember(element, "id") == id)
        switches[orvo::StringMember(element, "location")] =
            orvo::BoolMember(element, "userDisabled");
    }
  }
  return switches;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo;
  static fuzz::ThrowAwayImage image;
  fuzz::ResetForFirefox(image);
  const auto parts =
      fuzz::SplitParts(std::string_view(reinterpret_cast<const char*>(data), size), 2);
  image.Write(std::string(fuzz::kFirefoxProfile) + "extensions.json", parts[0]);
  image.Write(std::string(fuzz::kFirefoxProfile) + "addons.json", parts[1]);
  image.Write(std::string(fuzz::kFirefoxProfile) + "extensions\\sample@fuzz.example.xpi", "PK");
  image.Write(std::string(fuzz::kFirefoxProfile) + "extensions\\folder@fuzz.example\\install.rdf",
              "<RDF/>");
  image.Write("C:\\Users\\demo\\Documents\\keep.txt", "the user's own file");

  TFireFoxExtensions firefox;
  const std::string folder = image.Relative(fuzz::kFirefoxProfile);
  const std::string file = std::string(fuzz::kFirefoxProfile) + "extensions.json";
  const auto before = image.Snapshot(folder);

  if (TBrowserExtensionInfo* item = fuzz::FirstExtension(firefox)) {
    const std::string id = item->Id;
    const bool was_disabled = item->Disabled;
    const std::string old_bytes = image.platform().files().ReadFile(file).value_or("");
    const ChangeResult result = firefox.ToggleItem(item);
    const std::string new_bytes = image.platform().files().ReadFile(file).value_or("");
    if (result) {
      FUZZ_CHECK(item->Disabled != was_disabled);
      FUZZ_CHECK(fuzz::IsAscii(new_bytes));
      const auto written = ParseJsonDocument(new_bytes);
      FUZZ_CHECK(written != nullptr);
      // The record does not say its location; the same id may be in several.
      bool found = false;
      for (const auto& [location, disabled] : UserSwitches(written->value, id))
        found = found || disabled == item->Disabled;
      FUZZ_CHECK(found);
    } else {
      FUZZ_CHECK(item->Disabled == was_disabled);
      FUZZ_CHECK(new_bytes == old_bytes);
    }
  }
  if (TBrowserExtensionInfo* item = fuzz::LastExtension(firefox)) {
    if (firefox.DeleteItem(item)) {
      FUZZ_CHECK(ParseJsonDocument(image.platform().files().ReadFile(file).value_or("")) !=
                 nullptr);
    }
  }
  for (const std::string& path : fuzz::ThrowAwayImage::Changed(before, image.Snapshot(folder))) {
    FUZZ_CHECK(fuzz::Inside(path, folder));
  }
  return 0;
}
