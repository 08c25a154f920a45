// Temporary folder and file names.
#include "net/temp_names.h"

#include <chrono>
#include <random>
#include <vector>

#include "platform/platform.h"

namespace orvo {
namespace {
constexpr size_t kTempPathChars = 255;
}

// Walks the path's prefixes from the innermost outwards: each prefix ending at a "\" is
// its parent's long form plus "\" plus the name the file system reports for it. (The same
// rule written as a recursion would recurse once per component of untrusted depth.)
std::string ExpandLongPath(std::string_view path) {
  std::vector<size_t> slashes;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '\\') slashes.push_back(i);
  }
  if (slashes.empty() || slashes.back() == 0) return std::string(path);
  // The innermost prefix that is its own long form: the text before the first "\", or,
  // when the path starts with "\", the text before the second one.
  size_t next = slashes[0] == 0 ? 1 : 0;
  std::string result(path.substr(0, next < slashes.size() ? slashes[next] : path.size()));
  os::FileSystem& files = os::Current().files();
  for (; next < slashes.size(); ++next) {
    const size_t end = next + 1 < slashes.size() ? slashes[next + 1] : path.size();
    const std::string_view prefix = path.substr(0, end);
    result += '\\';
    if (prefix.back() == '\\') continue;
    const auto name = files.FindName(prefix);
    if (!name) return {};
    result += *name;
  }
  return result;
}

std::string GetTempDir() {
  const std::string temp = os::Current().shell().TempPath(kTempPathChars);
  std::string dir = ExpandLongPath(temp);
  if (dir.empty()) dir = temp;
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  return dir;
}

std::string RandomLetters(int count) {
  if (count <= 0) return {};
  std::mt19937 generator(static_cast<std::mt19937::result_type>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  std::uniform_int_distribution<int> letter(0, 25);
  std::string out;
  out.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) out += static_cast<char>('a' + letter(generator));
  return out;
}

}  // namespace orvo
