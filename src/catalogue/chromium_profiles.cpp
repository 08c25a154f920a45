#include "catalogue/chromium_profiles.h"

#include "catalogue/json_document.h"
#include "catalogue/shell_helpers.h"
#include "platform/platform.h"

namespace orvo {
namespace {

constexpr const char* kDefault = "Default";
// Local State is a few kilobytes; a profile list never needs more than this.
constexpr size_t kMaxLocalState = size_t(16) << 20;

// A key that could name a folder outside the data folder is never a profile.
bool IsFolderName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("\\/:") == std::string_view::npos;
}

bool Listed(const std::vector<TBrowserProfile>& profiles, const std::string& name) {
  for (const auto& p : profiles) {
    if (p.Name == name) return true;
  }
  return false;
}

}  // namespace

ChromiumProfileSet ReadChromiumProfiles(const std::string& data_dir, bool flat_allowed) {
  ChromiumProfileSet set;
  std::string last_used;
  if (auto text = os::Current().files().ReadFile(data_dir + "Local State", kMaxLocalState)) {
    if (auto doc = ParseJsonDocument(*text)) {
      const Json* profile = ObjectMember(doc->value, "profile");
      const Json* cache = profile ? ObjectMember(*profile, "info_cache") : nullptr;
      if (cache) {
        for (auto it = cache->begin(); it != cache->end(); ++it) {
          if (!IsFolderName(it.key()) || !FolderExists(data_dir + it.key())) continue;
          std::string title = it.value().is_object() ? StringMember(it.value(), "name") : "";
          set.profiles.push_back({it.key(), title.empty() ? it.key() : title});
        }
      }
      if (profile) last_used = StringMember(*profile, "last_used");
      if (const Json* intl = ObjectMember(doc->value, "intl"))
        set.app_locale = StringMember(*intl, "app_locale");
    }
  }
  // A profile folder the browser made before Local State listed profiles (or with the
  // list lost) is still the profile it opens.
  if (!Listed(set.profiles, kDefault) && FolderExists(data_dir + kDefault)) {
    set.profiles.insert(set.profiles.begin(), {kDefault, kDefault});
  }
  if (set.profiles.empty() && flat_allowed && FileExists(data_dir + "Preferences")) {
    set.profiles.push_back({kDefault, kDefault});
    set.flat = true;
  }
  if (Listed(set.profiles, last_used)) {
    set.shown = last_used;
  } else if (Listed(set.profiles, kDefault)) {
    set.shown = kDefault;
  } else if (!set.profiles.empty()) {
    set.shown = set.profiles.front().Name;
  }
  return set;
}

std::string ChromiumProfileFolder(const ChromiumProfileSet& set, const std::string& data_dir,
                                  const std::string& name) {
  if (!Listed(set.profiles, name)) return {};
  return set.flat ? data_dir : data_dir + name + "\\";
}

}  // namespace orvo
