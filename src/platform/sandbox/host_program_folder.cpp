// The program's own folder and resources natively: a host folder beside the executable
// (or one a test names) and resource bytes compiled into the program at build time.
#include <algorithm>

#include "platform/program_files.h"
#include "platform/sandbox/embedded_resources.h"
#include "platform/sandbox/host_files.h"

namespace fs = std::filesystem;

namespace orvo::os {
namespace {

class HostProgramFolder : public ProgramFolder {
 public:
  explicit HostProgramFolder(std::string folder) : folder_(std::move(folder)) {
    if (folder_.back() != '/') folder_ += '/';
  }

  const std::string& Folder() const override { return folder_; }
  char Separator() const override { return '/'; }

  bool Exists(std::string_view path) override {
    return sandbox::HostAttributes(fs::path(path)) != kInvalidFileAttributes;
  }

  bool ListFolder(std::string_view path, std::vector<FolderEntry>* entries) override {
    return sandbox::ListHostFolder(fs::path(path), entries);
  }

  std::optional<std::string> ReadFile(std::string_view path, size_t max_bytes) override {
    return sandbox::ReadHostFileCapped(fs::path(path), max_bytes);
  }

 private:
  std::string folder_;
};

}  // namespace

std::unique_ptr<ProgramFolder> OpenProgramFolder(std::string_view folder) {
  if (!folder.empty()) return std::make_unique<HostProgramFolder>(std::string(folder));
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || !exe.has_parent_path()) return nullptr;
  return std::make_unique<HostProgramFolder>(exe.parent_path().string());
}

std::optional<std::string_view> FindRawResource(std::string_view name) {
  for (const auto& resource : sandbox::EmbeddedResources()) {
    if (resource.name == name) return resource.bytes;
  }
  return std::nullopt;
}

}  // namespace orvo::os
