#pragma once
// The catalogues of the browsers built on Chromium: Chrome and Opera (the window's tabs),
// and Microsoft Edge, Brave and Vivaldi (orvopm). They keep their extensions' state in
// the profile's "Preferences" and, guarded by checksums, "Secure Preferences"
// (chromium_settings.h); a catalogue reads one profile, chosen when it is made
// (chromium_profiles.h).
//
// Changes: an entry without checksum is edited in Preferences ("state", "known_disabled"
// and "disable_reasons" kept in step); a guarded entry is never edited: it is switched
// through the browser's ExtensionInstallBlocklist policy for this user
// (chromium_policy.h), once the user has agreed to that, and it is deleted only by the
// browser itself (the catalogue refuses and OpenAddonPage shows the browser's page for it).
// Secure Preferences is never written, by any path.
#include <memory>
#include <string>
#include <string_view>

#include "catalogue/browser_app.h"
#include "catalogue/chromium_policy.h"

namespace orvo {

struct ChromiumEntry;

class TChromiumExtensions : public TBrowserAppBase {
 public:
  ~TChromiumExtensions() override;
  void CloseBrowser() override;
  bool IsRunning() override;
  ChangeResult DeleteItem(TBrowserExtensionInfo* item) override;
  ChangeResult ToggleItem(TBrowserExtensionInfo* item) override;
  bool OpenAddonPage(const TBrowserExtensionInfo& item) override;

  // The browser's "User Data" folder, ending in a backslash: the profiles' folders and
  // Local State are in it.
  std::string UserDataDir;
  // The profile's Secure Preferences, read for its entries and never written; null when
  // the profile has none.
  std::unique_ptr<JsonDocument> SecureDocument;
  // The locale names are shown in ("en_GB").
  std::string UiLocale;
  // The browser's page for an extension ("chrome://extensions/?id=" + id).
  std::string AddonPageAddress(const TBrowserExtensionInfo& item) const;

  // What switching this record off or on through the browser's policy means, in the
  // user's words: the explanation shown before the first such change.
  std::string PolicyExplanation() const;

 protected:
  struct Constants {
    uint8_t kind;
    int base_folder;          // a CSIDL id
    const char* data_suffix;  // from the base folder to the data folder, ending in "\\"
    const char* process_name;
    bool flat_allowed;        // the data folder may itself be the one profile
    const char* policy_key;   // below HKLM and HKCU; empty: the browser has no policies
    const char* page_scheme;  // "chrome://": where the browser shows its extensions
  };
  // `profile`: the Name of one of the browser's profiles; empty for the one it opens with.
  TChromiumExtensions(const Constants& constants, const std::string& profile);

 private:
  void Scan();
  void AddRecord(const std::string& id, const ChromiumEntry& entry, const std::string& folder);
  // Disabled and DisabledReason from the entry and the policy.
  void ReadSwitch(TBrowserExtensionInfo& item, const ChromiumEntry& entry) const;
  // A refusal when reasons other than the user's keep the entry off (switching it on here
  // would change nothing the browser honours).
  ChangeResult EntryStaysOff(const TBrowserExtensionInfo& item, const Json& entry) const;
  ChangeResult SwitchByEntry(TBrowserExtensionInfo& item, Json& entry);
  ChangeResult SwitchByPolicy(TBrowserExtensionInfo& item, const ChromiumEntry& entry);
  ChangeResult DeleteEntry(TBrowserExtensionInfo& item, const ChromiumEntry& entry);
  ChangeResult WriteBack();
  std::string ExtensionsDir() const { return ProfileDir + "Extensions\\"; }
  const char* process_name_;
  std::string page_scheme_;
  ChromiumPolicy policy_;
};

class TChromeExtensions final : public TChromiumExtensions {
 public:
  explicit TChromeExtensions(const std::string& profile = {});
};

class TOPeraExtensions final : public TChromiumExtensions {
 public:
  explicit TOPeraExtensions(const std::string& profile = {});
};

class TEdgeExtensions final : public TChromiumExtensions {
 public:
  explicit TEdgeExtensions(const std::string& profile = {});
};

class TBraveExtensions final : public TChromiumExtensions {
 public:
  explicit TBraveExtensions(const std::string& profile = {});
};

class TVivaldiExtensions final : public TChromiumExtensions {
 public:
  explicit TVivaldiExtensions(const std::string& profile = {});
};

// Replaces every "\uXXXX" still left in a text after JSON parsing by the character it
// names; a "\u" not followed by four hexadecimal digits stays as it is.
std::string DecodeUnicodeEscapes(std::string_view text);

}  // namespace orvo
