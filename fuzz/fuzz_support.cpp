// The shared pieces of the fuzz targets; see fuzz_support.h.
#include "fuzz_support.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>

#include "catalogue/firefox_extensions.h"
#include "catalogue/system_values.h"
#include "platform/text.h"

namespace fs = std::filesystem;

namespace orvo::fuzz {

void Fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::abort();
}

std::vector<std::string_view> SplitParts(std::string_view input, size_t max_parts) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < max_parts) {
    const size_t at = input.find(kPartSeparator);
    if (at == std::string_view::npos) break;
    parts.push_back(input.substr(0, at));
    input.remove_prefix(at + kPartSeparator.size());
  }
  parts.push_back(input);
  parts.resize(max_parts);
  return parts;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

namespace {

TBrowserExtensionInfo* FindExtension(TBrowserAppBase& app, bool last) {
  TBrowserExtensionInfo* found = nullptr;
  for (int i = 0; i < app.GetCount(); ++i) {
    TBrowserExtensionInfo* item = app.GetItem(i);
    if (item->ItemKind != ikExtension) continue;
    found = item;
    if (!last) break;
  }
  return found;
}

// The image is walked with the descriptor calls rather than std::filesystem: under the
// sanitizers every path object is a handful of allocations, and walking, clearing and
// comparing the image per input cost more than the catalogue it serves.

struct Entry {
  std::string name;
  unsigned char type;  // DT_DIR, DT_REG, DT_LNK, ... (DT_UNKNOWN: ask fstatat)
};

// The entries of an open folder, without "." and "..", read straight from the kernel
// into a buffer on the stack (opendir would allocate one per folder).
std::vector<Entry> EntryNames(int dir) {
  std::vector<Entry> entries;
  alignas(8) char buffer[8192];
  lseek(dir, 0, SEEK_SET);
  ssize_t got = 0;
  while ((got = getdents64(dir, buffer, sizeof buffer)) > 0) {
    for (ssize_t at = 0; at < got;) {
      const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
      const std::string_view name = entry->d_name;
      if (name != "." && name != "..") entries.push_back({std::string(name), entry->d_type});
      at += entry->d_reclen;
    }
  }
  return entries;
}

bool IsFolder(int dir, const Entry& entry) {
  if (entry.type != DT_UNKNOWN) return entry.type == DT_DIR;
  struct stat st {};
  return fstatat(dir, entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

// An open descriptor, closed when it goes.
struct Descriptor {
  explicit Descriptor(int opened) : fd(opened) {}
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  const int fd;
};

int OpenFolderAt(int dir, const std::string& name) {
  return openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Removes a file, link or whole folder (never following a link).
void RemoveEntry(int dir, const std::string& name) {
  if (unlinkat(dir, name.c_str(), 0) == 0) return;
  const Descriptor folder(OpenFolderAt(dir, name));
  if (folder.fd < 0) return;
  for (const Entry& inner : EntryNames(folder.fd)) RemoveEntry(folder.fd, inner.name);
  unlinkat(dir, name.c_str(), AT_REMOVEDIR);
}

// Empties a folder but for the folders named in `keep` (paths relative to the image, each
// with its parents listed), which are emptied in turn.
void ClearFolder(int dir, const std::string& relative, const std::set<std::string>& keep) {
  for (const Entry& entry : EntryNames(dir)) {
    const std::string path = relative + entry.name;
    if (keep.count(path) && IsFolder(dir, entry)) {
      const Descriptor folder(OpenFolderAt(dir, entry.name));
      if (folder.fd >= 0) ClearFolder(folder.fd, path + "/", keep);
    } else {
      RemoveEntry(dir, entry.name);
    }
  }
}

std::string ReadAt(int dir, const std::string& name) {
  std::string bytes;
  const Descriptor file(openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  if (file.fd < 0) return bytes;
  char buffer[16384];
  ssize_t got = 0;
  while ((got = read(file.fd, buffer, sizeof buffer)) > 0) {
    bytes.append(buffer, static_cast<size_t>(got));
  }
  return bytes;
}

void SnapshotFolder(int dir, const std::string& relative, const std::string& skipped,
                    ThrowAwayImage::Files& files) {
  for (const Entry& entry : EntryNames(dir)) {
    const std::string& name = entry.name;
    const std::string path = relative + name;
    struct stat st {};
    if (entry.type == DT_DIR) {
      st.st_mode = S_IFDIR;
    } else if (fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      continue;
    }
    if (S_ISDIR(st.st_mode)) {
      files.emplace_back(path + "/", "");
      if (path + "/" == skipped) continue;
      const Descriptor folder(OpenFolderAt(dir, name));
      if (folder.fd >= 0) SnapshotFolder(folder.fd, path + "/", skipped, files);
    } else if (S_ISLNK(st.st_mode)) {
      std::string target(4096, '\0');
      const ssize_t length = readlinkat(dir, name.c_str(), target.data(), target.size());
      target.resize(length > 0 ? static_cast<size_t>(length) : 0);
      files.emplace_back(path, "link to " + target);
    } else {
      files.emplace_back(path, ReadAt(dir, name));
    }
  }
}

// The folders every input starts from, relative to the image.
const char* const kImageFolders[] = {"C/Users/demo/AppData/Local", "C/Users/demo/AppData/Roaming",
                                     "C/Program Files"};

}  // namespace

TBrowserExtensionInfo* FirstExtension(TBrowserAppBase& app) { return FindExtension(app, false); }
TBrowserExtensionInfo* LastExtension(TBrowserAppBase& app) { return FindExtension(app, true); }

std::string PlainName(std::string_view bytes, size_t max_length) {
  std::string name;
  for (char c : bytes) {
    if (name.size() == max_length) break;
    if (c < ' ' || c > '~' || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      continue;
    name += c;
  }
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  return name;
}

ThrowAwayImage::ThrowAwayImage() {
  const fs::path base =
      fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::string templ = (base / "orvo-fuzz-XXXXXX").string();
  if (!mkdtemp(templ.data())) Fail(__FILE__, __LINE__, "mkdtemp");
  folder_ = templ;
  Reset();
}

ThrowAwayImage::~ThrowAwayImage() {
  UseSystem(nullptr);
  platform_.reset();
  std::error_code ec;
  fs::remove_all(folder_, ec);
}

void ThrowAwayImage::Reset() {
  UseSystem(nullptr);
  platform_.reset();
  // Only what the last input made goes; the folders every input starts from stay.
  static const std::set<std::string> keep = [] {
    std::set<std::string> folders;
    for (std::string folder : kImageFolders) {
      for (size_t at = folder.find('/'); at != std::string::npos; at = folder.find('/', at + 1)) {
        folders.insert(folder.substr(0, at));
      }
      folders.insert(folder);
    }
    return folders;
  }();
  {
    const Descriptor image(open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (image.fd < 0) Fail(__FILE__, __LINE__, "the image folder is gone");
    ClearFolder(image.fd, "", keep);
  }
  std::ofstream(folder_ / "image.ini", std::ios::binary) << "[Windows]\r\nBits=64\r\nUser=demo\r\n";
  std::error_code ec;
  for (const char* folder : kImageFolders) fs::create_directories(folder_ / folder, ec);
  std::string error;
  platform_ = os::sandbox::SandboxPlatform::Open(folder_, &error);
  if (!platform_) Fail(__FILE__, __LINE__, error.c_str());
  UseSystem(platform_);
}

fs::path ThrowAwayImage::Host(std::string_view windows_path) const {
  const auto host = platform_->image().MapPath(windows_path);
  if (!host) Fail(__FILE__, __LINE__, "a fuzz target named a path outside its image");
  return *host;
}

void ThrowAwayImage::Write(std::string_view windows_path, std::string_view bytes) {
  // The targets name their files in one spelling, on an image that starts empty, so the
  // path maps letter for letter; the image's own case-blind look-up is for the program.
  if (windows_path.size() < 4 || windows_path[1] != ':' || windows_path[2] != '\\') {
    Fail(__FILE__, __LINE__, "a fuzz target wrote a path that is not a drive path");
  }
  std::string host = folder_.string() + "/" + windows_path[0];
  std::string_view rest = windows_path.substr(3);
  while (true) {
    const size_t end = rest.find('\\');
    const std::string_view part = rest.substr(0, end);
    if (part.empty() || part == "." || part == ".." || part.find('/') != std::string_view::npos)
      Fail(__FILE__, __LINE__, "a fuzz target wrote a path with an empty, dot or slash part");
    host += '/';
    host += part;
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
    if (mkdir(host.c_str(), 0755) != 0 && errno != EEXIST) return;
  }
  const Descriptor file(open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (file.fd < 0) return;
  while (!bytes.empty()) {
    const ssize_t wrote = write(file.fd, bytes.data(), bytes.size());
    if (wrote <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(wrote));
  }
}

ThrowAwayImage::Files ThrowAwayImage::Snapshot(const std::string& allowed) const {
  Files files;
  const Descriptor image(open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (image.fd >= 0) SnapshotFolder(image.fd, "", allowed, files);
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> ThrowAwayImage::Changed(const Files& before, const Files& after) {
  std::vector<std::string> changed;
  auto a = before.begin();
  auto b = after.begin();
  while (a != before.end() || b != after.end()) {
    if (b == after.end() || (a != before.end() && a->first < b->first)) {
      changed.push_back((a++)->first);
    } else if (a == before.end() || b->first < a->first) {
      changed.push_back((b++)->first);
    } else {
      if (a->second != b->second) changed.push_back(a->first);
      ++a;
      ++b;
    }
  }
  return changed;
}

std::string ThrowAwayImage::Relative(std::string_view windows_folder) const {
  const auto host = platform_->image().MapPath(windows_folder);
  if (!host) return {};
  // Every mapped path is the image folder and what lies below it.
  const std::string prefix = folder_.string() + "/";
  std::string relative = host->string();
  if (relative.rfind(prefix, 0) != 0) Fail(__FILE__, __LINE__, "a path mapped outside its image");
  relative.erase(0, prefix.size());
  if (relative.empty() || relative.back() != '/') relative += '/';
  return relative;
}

void ResetForFirefox(ThrowAwayImage& image, bool write_profiles_ini) {
  image.Reset();
  TFireFoxExtensions::DownloadIcons = false;
  if (write_profiles_ini) {
    image.Write(std::string(kFirefoxFolder) + "profiles.ini",
                "[Profile0]\r\nName=default\r\nPath=Profiles/fuzz.default\r\n");
  }
}

void WriteExtensionFolders(ThrowAwayImage& image, std::string_view names) {
  // Windows has one folder for names that differ only in letter case.
  std::set<std::string> made;
  for (int n = 0; n < 16 && !names.empty(); ++n) {
    const size_t end = names.find('\n');
    const std::string name = PlainName(names.substr(0, end), 64);
    names.remove_prefix(end == std::string_view::npos ? names.size() : end + 1);
    if (!name.empty() && made.insert(ToLowerAscii(name)).second)
      image.Write(std::string(kChromeProfile) + "Extensions\\" + name + "\\1.0_0\\manifest.json",
                  "{}");
  }
}

}  // namespace orvo::fuzz
