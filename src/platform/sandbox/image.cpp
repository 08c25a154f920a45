// Opening a Windows image folder, mapping Windows paths into it, and the facts its
// image.ini gives.
#include "platform/sandbox/image.h"

#include "platform/date_format.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/date_format.h"
#include "platform/sandbox/host_files.h"
#include "platform/sandbox/sqlite_faults.h"
#include "platform/text.h"
#include "platform/win_constants.h"

namespace fs = std::filesystem;

namespace orvo::os::sandbox {
namespace {

std::optional<std::string> ReadHostFile(const fs::path& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = "cannot open " + path.string();
    return std::nullopt;
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

uint32_t ParseUnsigned(std::string_view text, uint32_t fallback, int base = 10) {
  text = TrimView(text);
  if (base == 16 && StartsWithNoCase(text, "0x")) text.remove_prefix(2);
  if (text.empty()) return fallback;
  uint64_t v = 0;
  for (char c : text) {
    const int d = HexDigitValue(static_cast<unsigned char>(c));
    if (d < 0 || d >= base) return fallback;
    v = v * base + d;
    if (v > 0xFFFFFFFFu) return fallback;
  }
  return static_cast<uint32_t>(v);
}

bool IsInside(const fs::path& inner, const fs::path& outer) {
  const std::string a = inner.string();
  const std::string b = outer.string();
  return a.size() >= b.size() && a.compare(0, b.size(), b) == 0 &&
         (a.size() == b.size() || a[b.size()] == '/');
}

// The images open in this process, so that SQLite's file access (which bypasses the
// seam) can find the one a database file lies in and be held to its faults. Never
// destroyed: a worker thread still running as the process ends may drop the last
// reference to a back end, and its image leaves the list after the statics have gone.
struct LiveImages {
  std::mutex mutex;
  std::vector<Image*> images;
};
LiveImages& Live() {
  static LiveImages* const live = new LiveImages;
  return *live;
}

long CodeOf(int error_number) {
  switch (error_number) {
    case ENOSPC:
    case EDQUOT: return kErrorDiskFull;
    case EACCES:
    case EPERM:
    case EROFS: return kErrorAccessDenied;
    default: return kErrorWriteFault;
  }
}

}  // namespace

Image::~Image() {
  LiveImages& live = Live();
  std::lock_guard<std::mutex> lock(live.mutex);
  std::erase(live.images, this);
}

uint64_t Image::TakeDiskSpaceAt(const fs::path& host_path, uint64_t wanted) {
  LiveImages& live = Live();
  std::lock_guard<std::mutex> lock(live.mutex);
  for (Image* image : live.images) {
    if (IsInside(host_path, image->folder_) || IsInside(host_path, image->canonical_)) {
      return image->TakeDiskSpace(wanted);
    }
  }
  return wanted;
}

void Image::SetWriteFaults(const WriteFaults& faults) {
  std::lock_guard<std::mutex> lock(faults_mutex_);
  faults_ = faults;
}

WriteFaults Image::write_faults() const {
  std::lock_guard<std::mutex> lock(faults_mutex_);
  return faults_;
}

uint64_t Image::TakeDiskSpace(uint64_t wanted) {
  std::lock_guard<std::mutex> lock(faults_mutex_);
  if (!faults_.free_bytes) return wanted;
  const uint64_t granted = std::min(wanted, *faults_.free_bytes);
  *faults_.free_bytes -= granted;
  return granted;
}

bool Image::RenameFails() const {
  std::lock_guard<std::mutex> lock(faults_mutex_);
  return faults_.rename_fails;
}

std::unique_ptr<Image> Image::Open(const fs::path& folder, std::string* error) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    *error = "image folder not found: " + folder.string();
    return nullptr;
  }
  std::unique_ptr<Image> image(new Image());
  image->folder_ = fs::absolute(folder, ec);
  image->canonical_ = fs::canonical(folder, ec);
  if (ec) {
    *error = "image folder not readable: " + folder.string();
    return nullptr;
  }

  const fs::path ini_path = folder / "image.ini";
  if (fs::exists(ini_path, ec)) {
    auto text = ReadHostFile(ini_path, error);
    if (!text) return nullptr;
    image->ini_ = IniFile::Parse(*text);
  }
  const IniFile& ini = image->ini_;
  image->is64_ = ParseUnsigned(ini.GetOr("Windows", "Bits", "64"), 64) != 32;
  {
    const std::string v = ini.GetOr("Windows", "Version", "10.0.19045");
    const size_t d1 = v.find('.');
    const size_t d2 = d1 == std::string::npos ? std::string::npos : v.find('.', d1 + 1);
    image->version_.major = ParseUnsigned(v.substr(0, d1), 10);
    image->version_.minor =
        d1 == std::string::npos ? 0 : ParseUnsigned(v.substr(d1 + 1, d2 - d1 - 1), 0);
    image->version_.build = d2 == std::string::npos ? 0 : ParseUnsigned(v.substr(d2 + 1), 0);
  }
  image->ui_language_ =
      static_cast<uint16_t>(ParseUnsigned(ini.GetOr("Windows", "UILanguage", "0409"), 0x0409, 16));
  image->keyboard_delay_ =
      std::min<uint32_t>(ParseUnsigned(ini.GetOr("Windows", "KeyboardDelay", "1"), 1), 3);
  image->keyboard_speed_ =
      std::min<uint32_t>(ParseUnsigned(ini.GetOr("Windows", "KeyboardSpeed", "31"), 31), 31);
  image->short_date_ = ini.GetOr("Windows", "ShortDate", "");
  if (image->short_date_.empty()) image->short_date_ = kIsoDatePicture;
  image->user_ = ini.GetOr("Windows", "User", "demo");
  if (image->user_.empty() || image->user_.find_first_of("\\/:") != std::string::npos) {
    image->user_ = "demo";
  }

  const fs::path reg_path = folder / "registry.reg";
  if (fs::exists(reg_path, ec)) {
    auto bytes = ReadHostFile(reg_path, error);
    if (!bytes) return nullptr;
    RegFileParse parse = ParseRegFile(*bytes, &image->hive_);
    if (!parse.ok) {
      *error = "registry.reg: " + parse.error;
      return nullptr;
    }
    image->reg_format_ = parse.format;
    for (auto& w : parse.warnings) image->warnings_.push_back("registry.reg " + w);
  }
  if (const auto free = ini.Get("Faults", "DiskFreeBytes")) {
    image->faults_.free_bytes = std::strtoull(free->c_str(), nullptr, 10);
  }
  image->faults_.rename_fails = ParseUnsigned(ini.GetOr("Faults", "RenameFails", "0"), 0) != 0;
  InstallSqliteFaults();
  {
    LiveImages& live = Live();
    std::lock_guard<std::mutex> lock(live.mutex);
    live.images.push_back(image.get());
  }
  return image;
}

std::optional<fs::path> Image::MapPath(std::string_view windows_path) const {
  std::string p(windows_path);
  for (char& c : p) {
    if (c == '/') c = '\\';
  }
  if (p.rfind("\\\\?\\", 0) == 0) p.erase(0, 4);
  if (p.size() < 2 || p[1] != ':' ||
      !((p[0] >= 'a' && p[0] <= 'z') || (p[0] >= 'A' && p[0] <= 'Z'))) {
    return std::nullopt;
  }
  if (p.size() > 2 && p[2] != '\\') return std::nullopt;  // "C:name" is relative to a drive
  if (p.find('\0') != std::string::npos) return std::nullopt;

  std::vector<std::string> parts;
  for (const auto& part : RegHive::SplitPath(std::string_view(p).substr(2))) {
    if (part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    if (part.find(':') != std::string::npos) return std::nullopt;  // alternate data streams
    parts.push_back(part);
  }

  const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(p[0])));
  fs::path host = folder_ / std::string(1, drive);
  std::string key(1, drive);
  std::error_code ec;
  bool exists = true;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    key += '\\';
    key += ToLowerAscii(part);
    if (exists) {
      {
        std::lock_guard<std::mutex> lock(folders_mutex_);
        const auto hit = resolved_folders_.find(key);
        if (hit != resolved_folders_.end()) {
          host = hit->second;
          continue;
        }
      }
      fs::path next = host / part;
      fs::file_status st = fs::symlink_status(next, ec);
      if (!fs::exists(st)) {
        // Not with this spelling: look for the same name in another letter case.
        bool found = false;
        for (const auto& entry : fs::directory_iterator(host, ec)) {
          const std::string name = entry.path().filename().string();
          if (EqualsNoCase(name, part)) {
            next = host / name;
            st = fs::symlink_status(next, ec);
            found = true;
            break;
          }
        }
        if (!found) exists = false;
      }
      if (exists && fs::is_symlink(st)) {
        // A link inside the image must not lead out of it.
        const fs::path target = fs::canonical(next, ec);
        if (ec || !IsInside(target, canonical_)) return std::nullopt;
      } else if (exists && fs::is_directory(st)) {
        std::lock_guard<std::mutex> lock(folders_mutex_);
        resolved_folders_.emplace(key, next);
      }
      host = std::move(next);
      continue;
    }
    host /= part;
  }
  return host;
}

void Image::ForgetResolvedFolders() const {
  std::lock_guard<std::mutex> lock(folders_mutex_);
  resolved_folders_.clear();
}

std::string Image::SpecialFolder(int csidl) const {
  const std::string profile = "C:\\Users\\" + user_;
  struct Entry {
    int csidl;
    const char* key;
    std::string fallback;
  };
  const Entry entries[] = {
      {kCsidlAppData, "AppData", profile + "\\AppData\\Roaming"},
      {kCsidlLocalAppData, "LocalAppData", profile + "\\AppData\\Local"},
      {kCsidlProgramFiles, "ProgramFiles", "C:\\Program Files"},
      {kCsidlProgramFilesX86, "ProgramFilesX86",
       is64_ ? "C:\\Program Files (x86)" : "C:\\Program Files"},
      {kCsidlWindows, "Windows", "C:\\Windows"},
      {kCsidlSystem, "System", "C:\\Windows\\System32"},
      {kCsidlPersonal, "Personal", profile + "\\Documents"},
      {kCsidlProfile, "Profile", profile},
      {kCsidlCommonAppData, "CommonAppData", "C:\\ProgramData"},
      {kCsidlDesktop, "Desktop", profile + "\\Desktop"},
      {kCsidlDesktopDirectory, "Desktop", profile + "\\Desktop"},
      {kCsidlStartMenu, "StartMenu",
       profile + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
  };
  for (const auto& e : entries) {
    if (e.csidl == csidl) {
      std::string v = ini_.GetOr("Folders", e.key, e.fallback);
      while (v.size() > 3 && v.back() == '\\') v.pop_back();
      return v;
    }
  }
  return {};
}

std::optional<std::string> Image::Environment(std::string_view name) const {
  if (auto v = ini_.Get("Environment", name)) return v;
  const std::string profile = SpecialFolder(kCsidlProfile);
  const std::pair<const char*, std::string> derived[] = {
      {"USERPROFILE", profile},
      {"USERNAME", user_},
      {"APPDATA", SpecialFolder(kCsidlAppData)},
      {"LOCALAPPDATA", SpecialFolder(kCsidlLocalAppData)},
      {"ProgramFiles", SpecialFolder(kCsidlProgramFiles)},
      {"ProgramW6432", is64_ ? SpecialFolder(kCsidlProgramFiles) : std::string()},
      {"ProgramFiles(x86)", is64_ ? SpecialFolder(kCsidlProgramFilesX86) : std::string()},
      {"CommonProgramFiles", SpecialFolder(kCsidlProgramFiles) + "\\Common Files"},
      {"SystemRoot", SpecialFolder(kCsidlWindows)},
      {"windir", SpecialFolder(kCsidlWindows)},
      {"SystemDrive", "C:"},
      {"HOMEDRIVE", "C:"},
      {"HOMEPATH", profile.size() > 2 ? profile.substr(2) : std::string()},
      {"ProgramData", SpecialFolder(kCsidlCommonAppData)},
      {"ALLUSERSPROFILE", SpecialFolder(kCsidlCommonAppData)},
      {"PUBLIC", "C:\\Users\\Public"},
      {"TEMP", SpecialFolder(kCsidlLocalAppData) + "\\Temp"},
      {"TMP", SpecialFolder(kCsidlLocalAppData) + "\\Temp"},
      {"COMPUTERNAME", "SANDBOX"},
      {"OS", "Windows_NT"},
  };
  for (const auto& [n, v] : derived) {
    if (EqualsNoCase(n, name) && !v.empty()) return v;
  }
  return std::nullopt;
}

std::vector<Image::Process> Image::Processes() const {
  std::vector<Process> out;
  for (const auto& key : ini_.Keys("Processes")) {
    const uint32_t pid = ParseUnsigned(key, 0);
    if (pid == 0) continue;
    out.push_back({pid, Trim(ini_.GetOr("Processes", key, ""))});
  }
  return out;
}

bool Image::RemoveProcess(uint32_t pid) {
  for (const auto& key : ini_.Keys("Processes")) {
    if (ParseUnsigned(key, 0) == pid) {
      ini_.Remove("Processes", key);
      return SaveIni();
    }
  }
  return false;
}

std::vector<std::string> Image::WindowClasses() const {
  std::vector<std::string> out;
  for (const auto& key : ini_.Keys("TopLevelWindows"))
    out.push_back(ini_.GetOr("TopLevelWindows", key, ""));
  return out;
}

DenyKind Image::Denied(const RegHive::Location& where) const {
  DenyKind result = DenyKind::kNone;
  for (const auto& key : ini_.Keys("AccessDenied")) {
    const size_t slash = key.find('\\');
    const auto root = ParseRegRoot(std::string_view(key).substr(0, slash), true);
    if (!root) continue;
    const auto denied = RegHive::Locate(*root, slash == std::string::npos
                                                   ? std::string_view()
                                                   : std::string_view(key).substr(slash + 1));
    if (denied.root != where.root || denied.parts.size() > where.parts.size()) continue;
    bool prefix = true;
    for (size_t i = 0; i < denied.parts.size() && prefix; ++i) {
      prefix = EqualsNoCase(denied.parts[i], where.parts[i]);
    }
    if (!prefix) continue;
    const DenyKind kind = EqualsNoCase(Trim(ini_.GetOr("AccessDenied", key, "all")), "write")
                              ? DenyKind::kWrite
                              : DenyKind::kAll;
    if (kind == DenyKind::kAll) return kind;
    result = kind;
  }
  return result;
}

bool Image::ListedAsLocked(std::string_view windows_path) const {
  const auto host = MapPath(windows_path);
  if (!host) return false;
  for (const auto& key : ini_.Keys("LockedFiles")) {
    const auto other = MapPath(ini_.GetOr("LockedFiles", key, ""));
    if (other && *other == *host) return true;
  }
  return false;
}

std::optional<std::string> Image::ReadFile(std::string_view windows_path, size_t max_bytes) const {
  const auto host = MapPath(windows_path);
  if (!host) return std::nullopt;
  return ReadHostFileCapped(*host, max_bytes);
}

bool Image::SaveRegistry() {
  RegFileFormat used = reg_format_;
  const std::string text = WriteRegFile(hive_, reg_format_, &used);
  reg_format_ = used;
  if (const WriteResult saved = WriteHostFileAtomic(folder_ / "registry.reg", text); !saved) {
    warnings_.push_back("registry.reg not saved: " + saved.message);
    return false;
  }
  return true;
}

bool Image::SaveIni() {
  return static_cast<bool>(WriteHostFileAtomic(folder_ / "image.ini", ini_.Text()));
}

void Image::AppendOpenedUrl(const std::string& line) {
  Record("open " + line);
  std::ofstream out(folder_ / "opened-urls.txt", std::ios::app | std::ios::binary);
  out << line << '\n';
}

void Image::Record(const std::string& what) {
  std::lock_guard<std::mutex> lock(journal_mutex_);
  journal_.push_back(what);
}

std::vector<std::string> Image::Journal() const {
  std::lock_guard<std::mutex> lock(journal_mutex_);
  return journal_;
}

WriteResult Image::WriteHostFileAtomic(const fs::path& path, std::string_view bytes) {
  static std::atomic<unsigned> counter{0};
  const fs::path temp =
      path.parent_path() / ("." + path.filename().string() + ".tmp-" + std::to_string(getpid()) +
                            "-" + std::to_string(counter++));
  mode_t mode = 0644;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) {
    return {CodeOf(errno), "cannot create " + temp.string() + ": " + std::strerror(errno)};
  }
  const auto fail = [&](long code, const std::string& what) {
    ::close(fd);
    ::unlink(temp.c_str());
    return WriteResult{code, what};
  };
  size_t done = 0;
  while (done < bytes.size()) {
    const size_t room = TakeDiskSpace(bytes.size() - done);
    if (room == 0) {
      return fail(kErrorDiskFull,
                  "cannot write " + path.string() + ": there is not enough space on the disk");
    }
    const ssize_t n = ::write(fd, bytes.data() + done, room);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(CodeOf(errno), "cannot write " + path.string() + ": " + std::strerror(errno));
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0)
    return fail(CodeOf(errno), "cannot flush " + path.string() + ": " + std::strerror(errno));
  if (::close(fd) != 0) {
    ::unlink(temp.c_str());
    return {CodeOf(errno), "cannot flush " + path.string() + ": " + std::strerror(errno)};
  }
  if (RenameFails()) {
    ::unlink(temp.c_str());
    return {kErrorSharingViolation,
            "cannot replace " + path.string() + ": another program holds it open"};
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int e = errno;
    ::unlink(temp.c_str());
    return {CodeOf(e), "cannot replace " + path.string() + ": " + std::strerror(e)};
  }
  const int dir = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return {};
}

WriteResult Image::RenameHostFile(const fs::path& from, const fs::path& to) {
  if (RenameFails()) {
    return {kErrorSharingViolation,
            "cannot replace " + to.string() + ": another program holds it open"};
  }
  if (::rename(from.c_str(), to.c_str()) != 0) {
    const int e = errno;
    return {CodeOf(e), "cannot replace " + to.string() + ": " + std::strerror(e)};
  }
  const int dir = ::open(to.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return {};
}

}  // namespace orvo::os::sandbox
