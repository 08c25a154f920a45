// Named shared memory natively: a small file in the user's runtime folder, mapped into
// every process that opens the name. Each holder keeps a shared flock on the file; whoever
// can take the lock exclusively is alone with it, so the contents are left over from
// processes that have ended and are zeroed, the way a Windows mapping vanishes with its
// last handle. The file itself stays (deleting it would race with a process opening it).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "platform/shared_memory.h"
#include "platform/sandbox/runtime_folder.h"

namespace orvo::os {
namespace {

std::string FileNameFor(std::string_view name) {
  std::string file = "orvo-shm-";
  for (char c : name) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '{' || c == '}' || c == '-' || c == '_' || c == '.';
    file += plain ? c : '_';
  }
  return file;
}

bool Lock(int fd, int how) {
  while (::flock(fd, how) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// A shared lock, waiting a little for an opener that is zeroing the block right now.
bool LockShared(int fd) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (Lock(fd, LOCK_SH | LOCK_NB)) return true;
    if (errno != EWOULDBLOCK) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

class FileSharedMemory : public SharedMemory {
 public:
  FileSharedMemory(int fd, void* view, size_t size, bool created)
      : SharedMemory(view, size, created), fd_(fd) {}
  ~FileSharedMemory() override {
    ::munmap(data(), size());
    ::close(fd_);  // releases the lock
  }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<SharedMemory> OpenSharedMemory(std::string_view name, size_t size) {
  if (size == 0) return nullptr;
  const auto folder = RuntimeFolder();
  if (!folder) return nullptr;
  const std::string path = *folder + "/" + FileNameFor(name);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return nullptr;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
  bool alone = false;
  if (ok) {
    alone = Lock(fd, LOCK_EX | LOCK_NB);
    if (alone) {
      ok = ::ftruncate(fd, 0) == 0 && ::ftruncate(fd, static_cast<off_t>(size)) == 0 &&
           Lock(fd, LOCK_SH);
    } else {
      ok = errno == EWOULDBLOCK && LockShared(fd) && ::fstat(fd, &st) == 0 &&
           (static_cast<size_t>(st.st_size) >= size ||
            ::ftruncate(fd, static_cast<off_t>(size)) == 0);
    }
  }
  void* view = ok ? ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0) : MAP_FAILED;
  if (view == MAP_FAILED) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<FileSharedMemory>(fd, view, size, alone);
}

}  // namespace orvo::os
