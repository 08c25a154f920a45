#pragma once
// A "Windows image": a host folder that stands in for a Windows machine.
//
//   <image>/image.ini      what kind of Windows it is, the user's folders, running
//                          processes, top-level windows, keys marked access-denied
//   <image>/registry.reg   the registry, in regedit format, saved back after every change
//   <image>/C/ ...         drive C: (any other drive letter likewise)
//   <image>/opened-urls.txt  what the program asked the shell to open, one line each
//
// Windows paths map onto the folder case-insensitively, and a path can never leave it:
// ".." stops at the drive root and anything that resolves (through a link) outside the
// image is refused.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/reg_file.h"
#include "platform/reg_hive.h"
#include "platform/system_info.h"

namespace orvo::os::sandbox {

enum class DenyKind { kNone, kWrite, kAll };

// Failures the image imitates on request, so that every writer's failure path can be
// driven: a disk that fills up (once `free_bytes` more bytes have been written into the
// image, every write fails as a full disk does, a short write first) and a replacing
// rename that fails (another program holds the target without sharing). Set from
// image.ini's [Faults] section (DiskFreeBytes=N, RenameFails=1), or by a test.
struct WriteFaults {
  std::optional<uint64_t> free_bytes;  // none: the disk never fills
  bool rename_fails = false;
};

class Image {
 public:
  // Opens the image; on failure returns null and says why in `error`.
  static std::unique_ptr<Image> Open(const std::filesystem::path& folder, std::string* error);
  ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  const std::vector<std::string>& warnings() const { return warnings_; }

  // The host path for a Windows path, or nothing when the path is not an absolute
  // drive path or would lead outside the image. Existing components are matched without
  // case; missing ones keep the spelling given.
  std::optional<std::filesystem::path> MapPath(std::string_view windows_path) const;
  // Forgets the folders MapPath has resolved; called after anything is deleted or moved.
  void ForgetResolvedFolders() const;

  // --- what image.ini says ---------------------------------------------------------
  bool Is64Bit() const { return is64_; }
  WindowsVersion Version() const { return version_; }
  uint16_t UiLanguage() const { return ui_language_; }
  uint32_t KeyboardDelay() const { return keyboard_delay_; }
  uint32_t KeyboardSpeed() const { return keyboard_speed_; }
  // [Windows] ShortDate: the user's short date picture ("M/d/yyyy", "dd.MM.yyyy", ...);
  // ISO order (yyyy-MM-dd) when the image names none.
  const std::string& ShortDatePicture() const { return short_date_; }
  std::string SpecialFolder(int csidl) const;
  // Environment variables (names without case), derived from the folders plus the
  // [Environment] section.
  std::optional<std::string> Environment(std::string_view name) const;

  struct Process {
    uint32_t pid;
    std::string exe;
  };
  std::vector<Process> Processes() const;
  bool RemoveProcess(uint32_t pid);
  std::vector<std::string> WindowClasses() const;
  // The strongest denial that applies to the key or one of its parents.
  DenyKind Denied(const RegHive::Location& where) const;
  bool ListedAsLocked(std::string_view windows_path) const;

  // --- the registry ----------------------------------------------------------------
  RegHive& hive() { return hive_; }
  // Writes registry.reg back atomically; false (with a warning kept) when it can't.
  bool SaveRegistry();

  // --- records ---------------------------------------------------------------------
  void AppendOpenedUrl(const std::string& line);
  void Record(const std::string& what);
  std::vector<std::string> Journal() const;

  // A whole file of the image, when it exists and is no larger than max_bytes.
  std::optional<std::string> ReadFile(std::string_view windows_path, size_t max_bytes) const;

  // Writes a host file atomically (temporary file in the same folder, flush, rename). On
  // failure the file is as it was and no temporary file is left; the result carries a
  // Win32 code (kErrorDiskFull for a full disk) and what failed.
  // Renames a host file over another (the rename faults apply); the folder is flushed.
  WriteResult RenameHostFile(const std::filesystem::path& from, const std::filesystem::path& to);
  WriteResult WriteHostFileAtomic(const std::filesystem::path& path, std::string_view bytes);

  // --- failures on request ------------------------------------------------------------
  void SetWriteFaults(const WriteFaults& faults);
  WriteFaults write_faults() const;
  // Takes up to `wanted` bytes of the free space for a write into the image; what it
  // grants may be less (the disk fills), always all when no limit is set.
  uint64_t TakeDiskSpace(uint64_t wanted);
  bool RenameFails() const;
  // TakeDiskSpace of the live image whose folder holds the host path (for SQLite's own
  // file access); all of `wanted` when no image holds it.
  static uint64_t TakeDiskSpaceAt(const std::filesystem::path& host_path, uint64_t wanted);

 private:
  Image() = default;
  bool SaveIni();

  std::filesystem::path folder_;
  std::filesystem::path canonical_;
  IniFile ini_;
  RegHive hive_;
  RegFileFormat reg_format_ = RegFileFormat::kRegedit4;
  std::vector<std::string> warnings_;
  bool is64_ = true;
  WindowsVersion version_{10, 0, 19045};
  uint16_t ui_language_ = 0x0409;
  uint32_t keyboard_delay_ = 1;
  std::string short_date_;
  uint32_t keyboard_speed_ = 31;
  std::string user_ = "demo";
  // Folders already resolved (no link, letter case found), by their lower-case Windows
  // path: a catalogue maps thousands of paths under the same few folders.
  mutable std::mutex folders_mutex_;
  mutable std::unordered_map<std::string, std::filesystem::path> resolved_folders_;
  mutable std::mutex journal_mutex_;
  std::vector<std::string> journal_;
  mutable std::mutex faults_mutex_;
  WriteFaults faults_;
};

}  // namespace orvo::os::sandbox
