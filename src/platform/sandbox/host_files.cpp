// Attributes, listings and capped reads of host files.
#include "platform/sandbox/host_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/text.h"

namespace fs = std::filesystem;

namespace orvo::os::sandbox {
namespace {

uint32_t AttributesOf(const struct stat& st) {
  uint32_t attrs = S_ISDIR(st.st_mode) ? kFileAttributeDirectory : kFileAttributeArchive;
  if (!(st.st_mode & S_IWUSR)) attrs |= kFileAttributeReadOnly;
  return attrs;
}

}  // namespace

uint32_t HostAttributes(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return kInvalidFileAttributes;
  return AttributesOf(st);
}

bool ListHostFolder(const fs::path& path, std::vector<FolderEntry>* entries) {
  entries->clear();
  std::error_code ec;
  if (!fs::is_directory(path, ec)) return false;
  for (const auto& e : fs::directory_iterator(path, ec)) {
    struct stat st {};
    if (::stat(e.path().c_str(), &st) == 0)
      entries->push_back({e.path().filename().string(), AttributesOf(st)});
  }
  // NTFS lists a folder in name order; the host file system does not.
  std::sort(entries->begin(), entries->end(), [](const FolderEntry& a, const FolderEntry& b) {
    return ToUpperAscii(a.name) < ToUpperAscii(b.name);
  });
  return !ec;
}

std::optional<std::string> ReadHostFileCapped(const fs::path& path, size_t max_bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  std::optional<std::string> bytes;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
      static_cast<uint64_t>(st.st_size) <= max_bytes) {
    std::string data(static_cast<size_t>(st.st_size), '\0');
    size_t done = 0;
    while (done < data.size()) {
      const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
      if (n <= 0) {
        if (n < 0 && errno == EINTR) continue;
        break;
      }
      done += static_cast<size_t>(n);
    }
    if (done == data.size()) bytes = std::move(data);
  }
  ::close(fd);
  return bytes;
}

}  // namespace orvo::os::sandbox
