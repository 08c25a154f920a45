// The installed back end and small shared helpers of the seam.
#include "platform/platform.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <type_traits>
#include <utility>

#include "platform/text.h"

namespace orvo::os {
namespace {

// The owner is replaced under the lock; the plain pointer beside it lets Current() read
// the installed back end without taking the lock on every registry or file call.
std::mutex g_mutex;
std::shared_ptr<Platform> g_owner;
std::atomic<Platform*> g_platform{nullptr};

// A plain pointer to the owner a BoundPlatform holds on the thread's stack: a thread_local
// with a destructor is not safe with MinGW's emulated TLS, which can free the variable's
// storage before running its destructor at thread exit (a worker thread then crashed in
// ~shared_ptr as it ended).
thread_local std::shared_ptr<Platform>* t_bound = nullptr;
static_assert(std::is_trivially_destructible_v<decltype(t_bound)>);

}  // namespace

void Install(std::shared_ptr<Platform> platform) {
  std::shared_ptr<Platform> previous;
  {
    std::lock_guard lock(g_mutex);
    g_platform.store(platform.get(), std::memory_order_release);
    previous = std::exchange(g_owner, std::move(platform));
  }
  // `previous` is released outside the lock: it may be the last reference.
}

Platform& Current() {
  if (t_bound) return **t_bound;
  Platform* installed = g_platform.load(std::memory_order_acquire);
  if (!installed) {
    std::fputs("orvo: no platform back end installed\n", stderr);
    std::abort();
  }
  return *installed;
}

std::shared_ptr<Platform> SharedCurrent() {
  if (t_bound) return *t_bound;
  std::lock_guard lock(g_mutex);
  return g_owner;
}

bool IsInstalled() {
  return t_bound != nullptr || g_platform.load(std::memory_order_acquire) != nullptr;
}

BoundPlatform::BoundPlatform(std::shared_ptr<Platform> platform) : platform_(std::move(platform)) {
  if (platform_) previous_ = std::exchange(t_bound, &platform_);
}

BoundPlatform::~BoundPlatform() {
  if (platform_) t_bound = previous_;
}

std::string Shell::TempPath(size_t max_chars) {
  std::string path;
  for (const char* name : {"%TMP%", "%TEMP%", "%USERPROFILE%", "%SystemRoot%"}) {
    std::string value;
    if (ExpandEnvironment(name, 32767, &value) && value != name && !value.empty()) {
      path = std::move(value);
      break;
    }
  }
  if (path.empty()) path = "C:\\Windows";
  if (path.back() != '\\') path += '\\';
  if (Utf8ToUtf16(path).size() + 1 > max_chars) return {};
  return path;
}

std::optional<std::string> FileSystem::FindName(std::string_view path) {
  if (path.find_first_of("*?") != std::string_view::npos) return std::nullopt;
  const size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos || slash + 1 == path.size()) return std::nullopt;
  const std::string_view name = path.substr(slash + 1);
  std::vector<FolderEntry> entries;
  // A drive root is listed as "C:\", any other folder without its trailing backslash.
  const std::string folder(path.substr(0, slash == 2 && path[1] == ':' ? 3 : slash));
  if (!ListFolder(folder, &entries)) return std::nullopt;
  for (const auto& entry : entries) {
    if (EqualsNoCase(entry.name, name)) return entry.name;
  }
  return std::nullopt;
}

std::vector<uint8_t> RegStringData(std::string_view utf8) {
  const std::string bytes = Utf8ToUtf16LeBytes(utf8, true);
  return {bytes.begin(), bytes.end()};
}

std::vector<uint8_t> RegDwordData(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

std::vector<uint8_t> RegMultiStringData(const std::vector<std::string>& items) {
  std::vector<uint8_t> out;
  for (const auto& item : items) {
    const auto one = RegStringData(item);
    out.insert(out.end(), one.begin(), one.end());
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

}  // namespace orvo::os
