// The private-profile functions rebuilt on the line-preserving INI editor, for the
// sandbox back end (and for comparing with the real ones under Wine).
#include <optional>

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/ini_text.h"
#include "platform/profile_files.h"
#include "platform/text.h"

namespace orvo::os {
namespace {

constexpr size_t kMaxProfileBytes = size_t(16) << 20;

struct LoadedProfile {
  IniFile ini;
  IniEncoding encoding = IniEncoding::kUtf16Le;
};

class PortableProfileFiles : public ProfileFiles {
 public:
  explicit PortableProfileFiles(FileSystem& files) : files_(files) {}

  std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view fallback) override {
    const auto loaded = Load(file);
    std::string fallback_trimmed = TrimRight(fallback);
    if (!loaded) return fallback_trimmed;
    return loaded->ini.GetOr(section, key, fallback_trimmed);
  }

  std::vector<std::string> KeyNames(std::string_view file, std::string_view section) override {
    const auto loaded = Load(file);
    if (!loaded) return {};
    return loaded->ini.Keys(section);
  }

  bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override {
    if (section.empty() || Trim(key).empty()) return false;
    for (std::string_view part : {section, key, value}) {
      if (part.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
    }
    auto loaded = Load(file);
    if (!loaded) return false;
    loaded->ini.Set(section, Trim(key), Trim(value));
    return static_cast<bool>(
        files_.WriteFileAtomic(file, EncodeIniText(loaded->ini.Text(), loaded->encoding)));
  }

 private:
  static std::string TrimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return std::string(text);
  }

  // The parsed file; an empty one when it does not exist; nothing when it exists but
  // can't be read or isn't text (so it is neither believed nor overwritten).
  std::optional<LoadedProfile> Load(std::string_view file) {
    if (files_.GetAttributes(file) == kInvalidFileAttributes) return LoadedProfile{};
    const auto bytes = files_.ReadFile(file, kMaxProfileBytes);
    if (!bytes) return std::nullopt;
    IniText text = DecodeIniBytes(*bytes);
    if (!text.valid) return std::nullopt;
    return LoadedProfile{IniFile::Parse(text.utf8), text.encoding};
  }

  FileSystem& files_;
};

}  // namespace

std::unique_ptr<ProfileFiles> MakePortableProfileFiles(FileSystem& files) {
  return std::make_unique<PortableProfileFiles>(files);
}

}  // namespace orvo::os
