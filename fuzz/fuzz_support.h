#pragma once
// What the fuzz targets share: a check that turns a broken promise into a crash libFuzzer
// records (a plain assert would vanish from a release build), inputs made of several
// files, and a throw-away Windows image that a target keeps for its whole run and resets
// before each input, because making a new one per input would cost more than the input.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/browser_app.h"
#include "platform/sandbox/sandbox_platform.h"

namespace orvo::fuzz {

// Prints what failed and aborts, so the input is kept as a finding.
[[noreturn]] void Fail(const char* file, int line, const char* what);
#define FUZZ_CHECK(condition) \
  ((condition) ? void(0) : ::orvo::fuzz::Fail(__FILE__, __LINE__, #condition))

// The parts of an input holding several files, cut at lines of the separator. The seeds
// use it, so the fuzzer keeps the structure and mutates the files inside it.
inline constexpr std::string_view kPartSeparator = "\n--8<--\n";
std::vector<std::string_view> SplitParts(std::string_view input, size_t max_parts);

// True when every byte is 7-bit ASCII.
bool IsAscii(std::string_view text);

// A Windows image under /dev/shm (fsync and rename cost nothing there), installed as the
// current platform. Reset() empties the user's folders and the registry and opens the
// image again, so every input starts on the same machine.
class ThrowAwayImage {
 public:
  ThrowAwayImage();
  ~ThrowAwayImage();
  ThrowAwayImage(const ThrowAwayImage&) = delete;
  ThrowAwayImage& operator=(const ThrowAwayImage&) = delete;

  void Reset();
  os::sandbox::SandboxPlatform& platform() { return *platform_; }
  // The host path of a Windows path inside the image ("C:\Users\...").
  std::filesystem::path Host(std::string_view windows_path) const;
  // Writes a file through the host, creating its folders. The path is taken letter for
  // letter (a drive path without "." or ".." parts): name each file in one spelling.
  void Write(std::string_view windows_path, std::string_view bytes);
  // Every file of the image (host paths relative to the image) with its bytes: what a
  // target compares before and after a change that must stay inside one folder. What
  // lies inside `allowed` (an image-relative folder from Relative(), where the target
  // accepts any change) is left out, but for the folder itself.
  using Files = std::vector<std::pair<std::string, std::string>>;
  Files Snapshot(const std::string& allowed = {}) const;
  // Host paths (relative to the image, folders ending in "/") that were added, removed
  // or changed between two snapshots.
  static std::vector<std::string> Changed(const Files& before, const Files& after);
  // The image-relative host path of a Windows folder, ending in "/": what Changed's
  // paths are compared against. Empty for a path that maps nowhere in the image (nothing
  // can be read or written there).
  std::string Relative(std::string_view windows_folder) const;

 private:
  std::filesystem::path folder_;
  std::shared_ptr<os::sandbox::SandboxPlatform> platform_;
};

// The image user's Firefox folder, and the profile folder ResetForFirefox's profiles.ini
// names.
inline constexpr const char* kFirefoxFolder =
    "C:\\Users\\demo\\AppData\\Roaming\\Mozilla\\Firefox\\";
inline constexpr const char* kFirefoxProfile =
    "C:\\Users\\demo\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\fuzz.default\\";
// Resets the image for a Firefox target: no icons are fetched, and unless the target
// brings its own, a profiles.ini names kFirefoxProfile.
void ResetForFirefox(ThrowAwayImage& image, bool write_profiles_ini = true);

// The image user's Chrome "User Data" folder, and its first profile.
inline constexpr const char* kChromeUserData =
    "C:\\Users\\demo\\AppData\\Local\\Google\\Chrome\\User Data\\";
inline constexpr const char* kChromeProfile =
    "C:\\Users\\demo\\AppData\\Local\\Google\\Chrome\\User Data\\Default\\";
// Makes a folder under the profile's "Extensions" (with a version folder and an empty
// manifest) for each of the first 16 lines of `names`, made plain as PlainName makes them.
void WriteExtensionFolders(ThrowAwayImage& image, std::string_view names);

// An image-relative path lies in an image-relative folder (both from ThrowAwayImage).
inline bool Inside(const std::string& path, const std::string& folder) {
  return !folder.empty() && path.rfind(folder, 0) == 0;
}

// The first and the last add-on record (not a plug-in) of a catalogue, or null.
TBrowserExtensionInfo* FirstExtension(TBrowserAppBase& app);
TBrowserExtensionInfo* LastExtension(TBrowserAppBase& app);

// A Windows file or folder name made from fuzzer bytes: printable ASCII without the
// characters Windows refuses in names, or empty when nothing usable is left.
std::string PlainName(std::string_view bytes, size_t max_length);

}  // namespace orvo::fuzz
