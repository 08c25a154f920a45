// Files of a Windows image. Windows refusals are imitated where the program's behaviour
// depends on them: a file someone holds open (an flock lock on the host file, or a
// [LockedFiles] entry in image.ini) can't be replaced or deleted (a permanent delete of a
// folder stops at it, as the shell's does, and what went before stays gone), a read-only
// file can't be written, a missing folder can't receive a file.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

#include "platform/sandbox/host_files.h"
#include "platform/sandbox/sandbox_platform.h"
#include "platform/text.h"

namespace fs = std::filesystem;

namespace orvo::os::sandbox {
namespace {

// Someone else holds the host file open exclusively.
bool HostFileLocked(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == EACCES;
  const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);  // closing releases the probe's own lock
  return locked;
}

bool HostReadOnly(const fs::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR);
}

class SandboxFileSystem : public FileSystem {
 public:
  explicit SandboxFileSystem(Image& image) : image_(image) {}

  uint32_t GetAttributes(std::string_view path) override {
    const auto host = image_.MapPath(path);
    return host ? HostAttributes(*host) : kInvalidFileAttributes;
  }

  bool SetAttributes(std::string_view path, uint32_t attributes) override {
    const auto host = image_.MapPath(path);
    struct stat st {};
    if (!host || ::stat(host->c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    mode = (attributes & kFileAttributeReadOnly) ? (mode & ~mode_t(0222)) : (mode | S_IWUSR);
    return ::chmod(host->c_str(), mode) == 0;
  }

  bool ListFolder(std::string_view path, std::vector<FolderEntry>* entries) override {
    entries->clear();
    const auto host = image_.MapPath(path);
    return host && ListHostFolder(*host, entries);
  }

  std::optional<std::string> ReadFile(std::string_view path, size_t max_bytes) override {
    return image_.ReadFile(path, max_bytes);
  }

  WriteResult WriteFileAtomic(std::string_view path, std::string_view bytes) override {
    const auto host = image_.MapPath(path);
    if (!host) return {kErrorBadPathname, "not a path inside the image: " + std::string(path)};
    std::error_code ec;
    if (!fs::is_directory(host->parent_path(), ec)) {
      return {kErrorPathNotFound, "folder not found for " + std::string(path)};
    }
    if (fs::is_directory(*host, ec))
      return {kErrorAccessDenied, std::string(path) + " is a folder"};
    if (fs::exists(*host, ec)) {
      if (HostReadOnly(*host)) return {kErrorAccessDenied, std::string(path) + " is read-only"};
      if (HostFileLocked(*host) || image_.ListedAsLocked(path)) {
        return {kErrorSharingViolation, std::string(path) + " is in use by another process"};
      }
    }
    return image_.WriteHostFileAtomic(*host, bytes);
  }

  WriteResult MoveFileReplacing(std::string_view from, std::string_view to) override {
    const auto source = image_.MapPath(from);
    const auto target = image_.MapPath(to);
    if (!source || !target) {
      return {kErrorBadPathname, "not a path inside the image: " + std::string(source ? to : from)};
    }
    std::error_code ec;
    if (!fs::is_regular_file(*source, ec))
      return {kErrorFileNotFound, std::string(from) + " not found"};
    if (fs::is_directory(*target, ec))
      return {kErrorAccessDenied, std::string(to) + " is a folder"};
    if (fs::exists(*target, ec)) {
      if (HostReadOnly(*target)) return {kErrorAccessDenied, std::string(to) + " is read-only"};
      if (HostFileLocked(*target) || image_.ListedAsLocked(to)) {
        return {kErrorSharingViolation, std::string(to) + " is in use by another process"};
      }
    }
    return image_.RenameHostFile(*source, *target);
  }

  bool CreateFolders(std::string_view path) override {
    const auto host = image_.MapPath(path);
    std::error_code ec;
    if (!host) return false;
    fs::create_directories(*host, ec);
    return fs::is_directory(*host, ec);
  }

  bool RemoveFile(std::string_view path) override {
    const auto host = image_.MapPath(path);
    std::error_code ec;
    if (!host || !fs::is_regular_file(fs::symlink_status(*host, ec)) || IsFileLocked(path))
      return false;
    return fs::remove(*host, ec);
  }

  bool IsFileLocked(std::string_view path) override {
    const auto host = image_.MapPath(path);
    std::error_code ec;
    if (!host || !fs::is_regular_file(*host, ec)) return false;
    return image_.ListedAsLocked(path) || HostReadOnly(*host) || HostFileLocked(*host);
  }

  int ShellDelete(std::string_view path, uint32_t flags) override {
    const auto host = image_.MapPath(path);
    std::error_code ec;
    if (!host || !fs::exists(fs::symlink_status(*host, ec))) return kErrorFileNotFound;
    if (host->parent_path() == image_.folder()) return kErrorAccessDenied;  // a drive root
    image_.Record("shell delete " + std::string(path) +
                  (flags & kFofAllowUndo ? " (recycle)" : ""));
    image_.ForgetResolvedFolders();
    if (flags & kFofAllowUndo) {
      // The recycle bin takes the whole tree or nothing.
      if (TreeHasLockedFile(*host, path)) return kErrorSharingViolation;
      const fs::path bin = image_.folder() / "C" / "$Recycle.Bin";
      fs::create_directories(bin, ec);
      fs::path target = bin / host->filename();
      for (int n = 1; fs::exists(fs::symlink_status(target, ec)); ++n) {
        target = bin / (host->filename().string() + "." + std::to_string(n));
      }
      fs::rename(*host, target, ec);
      return ec ? kErrorAccessDenied : 0;
    }
    return RemoveTree(*host, path);
  }

  std::unique_ptr<RedirectionGuard> DisableRedirection() override {
    return nullptr;  // the sandbox runs as a native process: nothing is redirected
  }

  std::string NativePath(std::string_view path) override {
    const auto host = image_.MapPath(path);
    return host ? host->string() : std::string();
  }

 private:
  // A permanent delete goes as the system's does: entry by entry, in name order, each
  // folder after its contents, stopping at the first file in use. What went before that
  // stays gone.
  int RemoveTree(const fs::path& host, std::string_view windows_path) {
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(host, ec))) {
      std::vector<fs::path> entries;
      for (const auto& e : fs::directory_iterator(host, ec)) entries.push_back(e.path());
      std::sort(entries.begin(), entries.end());
      for (const auto& e : entries) {
        const int rc = RemoveTree(e, std::string(windows_path) + "\\" + e.filename().string());
        if (rc != 0) return rc;
      }
    } else if (HostFileLocked(host) || image_.ListedAsLocked(windows_path)) {
      return kErrorSharingViolation;
    }
    fs::remove(host, ec);
    return ec ? kErrorAccessDenied : 0;
  }

  bool TreeHasLockedFile(const fs::path& host, std::string_view windows_path) {
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(host, ec))) {
      return HostFileLocked(host) || image_.ListedAsLocked(windows_path);
    }
    for (const auto& e : fs::recursive_directory_iterator(host, ec)) {
      if (!e.is_regular_file(ec)) continue;
      if (HostFileLocked(e.path())) return true;
      const std::string rel = fs::relative(e.path(), host, ec).string();
      std::string win = std::string(windows_path) + "\\";
      for (char c : rel) win += c == '/' ? '\\' : c;
      if (image_.ListedAsLocked(win)) return true;
    }
    return false;
  }

  Image& image_;
};

}  // namespace

std::unique_ptr<FileSystem> MakeFileSystem(Image& image) {
  return std::make_unique<SandboxFileSystem>(image);
}

}  // namespace orvo::os::sandbox
