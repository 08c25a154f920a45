// The temporary INI file of the notice checks.
#include "notices/notice_ini.h"

#include "catalogue/shell_helpers.h"
#include "net/temp_names.h"
#include "platform/ansi_code_page.h"
#include "platform/platform.h"
#include "platform/profile_files.h"
#include "platform/integer_text.h"

namespace orvo {
namespace {

constexpr int kNameAttempts = 8;

std::unique_ptr<os::ProfileFiles> Profiles() { return os::OpenProfileFiles(os::Current().files()); }

}  // namespace

std::string NoticeTempFolder() {
  std::string folder = GetTempDir();
  if (folder.find('%') != std::string::npos) folder = "c:\\";
  return FolderExists(folder) ? folder : std::string();
}

std::optional<NoticeIni> NoticeIni::Write(std::string_view text) {
  const std::string folder = NoticeTempFolder();
  if (folder.empty()) return std::nullopt;
  os::FileSystem& files = os::Current().files();
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string path = folder + RandomLetters(8) + ".ini";
    if (files.GetAttributes(path) != os::kInvalidFileAttributes) continue;
    const std::string bytes = os::Utf8ToAnsi(text) + "\r\n";
    if (!files.WriteFileAtomic(path, bytes)) return std::nullopt;
    return NoticeIni(std::move(path));
  }
  return std::nullopt;
}

std::string NoticeIni::String(std::string_view section, std::string_view key,
                              std::string_view fallback) const {
  return Profiles()->GetString(path_, section, key, fallback);
}

int32_t NoticeIni::Integer(std::string_view section, std::string_view key, int32_t fallback) const {
  return ParseInt32Or(String(section, key, ""), fallback);
}

std::vector<std::string> NoticeIni::KeyNames(std::string_view section) const {
  return Profiles()->KeyNames(path_, section);
}

bool NoticeIni::Remove() const { return os::Current().files().RemoveFile(path_); }

}  // namespace orvo
