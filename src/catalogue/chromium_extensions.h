#pragma once
// The catalogues of the browsers that keep their extension state in a "Preferences"
// JSON file in the profile folder: Chrome and Opera. Both behave the same apart from
// where their data lives and the process name. A catalogue reads one profile, chosen
// when it is made (chromium_profiles.h).
#include <string>
#include <string_view>

#include "catalogue/browser_app.h"

namespace orvo {

class TChromiumExtensions : public TBrowserAppBase {
 public:
  void CloseBrowser() override;
  bool IsRunning() override;
  ChangeResult DeleteItem(TBrowserExtensionInfo* item) override;
  ChangeResult ToggleItem(TBrowserExtensionInfo* item) override;

  // The browser's "User Data" folder, ending in a backslash: the profiles' folders and
  // Local State are in it.
  std::string UserDataDir;

 protected:
  struct Constants {
    uint8_t kind;
    int base_folder;           // a CSIDL id
    const char* data_suffix;   // from the base folder to the data folder, ending in "\"
    const char* process_name;
    bool flat_allowed;         // the data folder may itself be the one profile
  };
  // `profile`: the Name of one of the browser's profiles; empty for the one it opens with.
  TChromiumExtensions(const Constants& constants, const std::string& profile);

 private:
  void Scan();
  ChangeResult WriteBack();
  std::string ExtensionsDir() const { return ProfileDir + "Extensions\\"; }
  const char* process_name_;
};

class TChromeExtensions final : public TChromiumExtensions {
 public:
  explicit TChromeExtensions(const std::string& profile = {});
};

class TOPeraExtensions final : public TChromiumExtensions {
 public:
  explicit TOPeraExtensions(const std::string& profile = {});
};

// Replaces every "\uXXXX" still left in a text after JSON parsing by the character it
// names; a "\u" not followed by four hexadecimal digits stays as it is.
std::string DecodeUnicodeEscapes(std::string_view text);

}  // namespace orvo
