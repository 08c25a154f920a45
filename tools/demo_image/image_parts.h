#pragma once
// The pieces every Windows image the tool writes is made of: its registry, the
// browsers' StartMenuInternet registrations, stand-in program files carrying the
// browsers' icons, and image.ini.
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/reg_hive.h"
#include "profile_writer.h"

namespace orvo::tools {

// Where every image keeps the programs whose place never changed between versions.
inline constexpr const char* kChromeExe =
    "C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe";
inline constexpr const char* kIeExe = "C:\\Program Files\\Internet Explorer\\iexplore.exe";

class Registry {
 public:
  void Set(os::RegRoot root, const std::string& path, const std::string& name,
           const std::string& text);
  void SetDword(os::RegRoot root, const std::string& path, const std::string& name, uint32_t v);
  std::string Text() const;

 private:
  os::RegHive hive_;
};

// A browser's registration under `base` (a StartMenuInternet key below HKLM).
void RegisterBrowser(Registry& reg, const std::string& base, const std::string& name,
                     const std::string& exe, const std::string& description);
// A stand-in program file that carries the browser's icon (`kind`: chrome, firefox,
// opera, edge, or anything else for Internet Explorer), as the real one does.
void WriteBrowserProgram(ImageWriter& w, const std::string& exe, const std::string& kind);
// image.ini of a 64-bit machine of the user "demo": Windows 10 in American English, or
// Windows 11 in British English; `extra` follows the standard sections.
void WriteImageIni(const std::filesystem::path& root, const std::string& extra,
                   bool windows11 = false);

}  // namespace orvo::tools
