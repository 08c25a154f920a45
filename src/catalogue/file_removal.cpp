#include "catalogue/file_removal.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace orvo {
namespace {

// Enough to tell a user what is gone; a listing is never the place for thousands of names.
constexpr size_t kNamesShown = 3;
// An add-on folder holds hundreds of files at most; links leading in circles stop here.
constexpr size_t kMaxListed = 100000;
constexpr int kMaxDepth = 64;

// The files under `path`, relative to it, sorted; just the file's own name for a file.
void ListFiles(os::FileSystem& files, const std::string& path, const std::string& relative,
               int depth, std::vector<std::string>& out) {
  std::vector<os::FolderEntry> entries;
  if (depth > kMaxDepth || !files.ListFolder(path, &entries)) return;
  for (const auto& e : entries) {
    if (out.size() >= kMaxListed) return;
    const std::string name = relative.empty() ? e.name : relative + "\\" + e.name;
    // A link is removed as a link by the shell: what it points at is not ours to list.
    if ((e.attributes & os::kFileAttributeDirectory) &&
        !(e.attributes & os::kFileAttributeReparsePoint)) {
      ListFiles(files, path + "\\" + e.name, name, depth + 1, out);
    } else {
      out.push_back(name);
    }
  }
}

std::vector<std::string> FilesAt(os::FileSystem& files, std::string_view path) {
  std::vector<std::string> out;
  const uint32_t attributes = files.GetAttributes(path);
  if (attributes == os::kInvalidFileAttributes) return out;
  if (!(attributes & os::kFileAttributeDirectory)) {
    const size_t slash = path.find_last_of('\\');
    out.emplace_back(slash == std::string_view::npos ? path : path.substr(slash + 1));
    return out;
  }
  ListFiles(files, std::string(path), "", 0, out);
  std::sort(out.begin(), out.end());
  return out;
}

std::string Names(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size() && i < kNamesShown; ++i) text += (i ? ", " : "") + names[i];
  if (names.size() > kNamesShown)
    text += " and " + std::to_string(names.size() - kNamesShown) + " more";
  return text;
}

}  // namespace

os::WriteResult RemoveForGood(std::string_view path, bool (*remove)(std::string_view)) {
  os::FileSystem& files = os::Current().files();
  if (files.GetAttributes(path) == os::kInvalidFileAttributes) return {};
  const std::vector<std::string> before = FilesAt(files, path);
  remove(path);
  if (files.GetAttributes(path) == os::kInvalidFileAttributes) return {};

  const std::vector<std::string> after = FilesAt(files, path);
  std::vector<std::string> gone;
  std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                      std::back_inserter(gone));
  std::vector<std::string> in_use;
  const bool folder = files.GetAttributes(path) & os::kFileAttributeDirectory;
  for (const auto& name : after) {
    const std::string full = folder ? std::string(path) + "\\" + name : std::string(path);
    if (files.IsFileLocked(full)) in_use.push_back(name);
  }

  std::string message = std::string(path);
  if (gone.empty()) {
    message += " could not be deleted; nothing of it was removed";
  } else {
    message += " is only partly deleted: " + std::to_string(gone.size()) + " of " +
               std::to_string(before.size()) + " files were removed (" + Names(gone) + ")";
  }
  if (!in_use.empty()) message += "; in use: " + Names(in_use);
  const long code = in_use.empty() ? os::kErrorAccessDenied : os::kErrorSharingViolation;
  return {code, message};
}

}  // namespace orvo
