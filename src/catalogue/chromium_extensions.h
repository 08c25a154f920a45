#pragma once
// The catalogues of the two browsers that keep their extension state in a "Preferences"
// JSON file in the profile folder: Chrome and Opera. Both behave the same apart from
// where the profile lives and the process name.
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

 protected:
  struct Constants {
    uint8_t kind;
    int base_folder;           // a CSIDL id
    const char* profile_suffix;
    const char* process_name;
  };
  explicit TChromiumExtensions(const Constants& constants);

 private:
  void Scan();
  ChangeResult WriteBack();
  std::string ExtensionsDir() const { return ProfileDir + "Extensions\\"; }
  const char* process_name_;
};

class TChromeExtensions final : public TChromiumExtensions {
 public:
  TChromeExtensions();
};

class TOPeraExtensions final : public TChromiumExtensions {
 public:
  TOPeraExtensions();
};

// Replaces every "\uXXXX" still left in a text after JSON parsing by the character it
// names; a "\u" not followed by four hexadecimal digits stays as it is.
std::string DecodeUnicodeEscapes(std::string_view text);

}  // namespace orvo
