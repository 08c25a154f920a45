#include "support/write_watch.h"

#include "catalogue/system_values.h"
#include "platform/text.h"

namespace orvo::test {

class WriteWatch::Platform final : public os::Platform, public os::FileSystem {
 public:
  explicit Platform(std::shared_ptr<os::Platform> inner)
      : owner_(std::move(inner)), inner_(*owner_), files_(inner_.files()) {}

  os::Registry& registry() override { return inner_.registry(); }
  os::FileSystem& files() override { return *this; }
  os::Shell& shell() override { return inner_.shell(); }
  os::Processes& processes() override { return inner_.processes(); }
  os::SystemInfo& system() override { return inner_.system(); }
  os::Http& http() override { return inner_.http(); }

  uint32_t GetAttributes(std::string_view path) override { return files_.GetAttributes(path); }
  bool SetAttributes(std::string_view path, uint32_t attributes) override {
    Note(path);
    return files_.SetAttributes(path, attributes);
  }
  bool ListFolder(std::string_view path, std::vector<os::FolderEntry>* entries) override {
    return files_.ListFolder(path, entries);
  }
  std::optional<std::string> ReadFile(std::string_view path, size_t max_bytes) override {
    return files_.ReadFile(path, max_bytes);
  }
  os::WriteResult WriteFileAtomic(std::string_view path, std::string_view bytes) override {
    Note(path);
    return files_.WriteFileAtomic(path, bytes);
  }
  os::WriteResult MoveFileReplacing(std::string_view from, std::string_view to) override {
    Note(from);
    Note(to);
    return files_.MoveFileReplacing(from, to);
  }
  bool CreateFolders(std::string_view path) override { return files_.CreateFolders(path); }
  bool RemoveFile(std::string_view path) override {
    Note(path);
    return files_.RemoveFile(path);
  }
  bool IsFileLocked(std::string_view path) override { return files_.IsFileLocked(path); }
  int ShellDelete(std::string_view path, uint32_t flags) override {
    Note(path);
    return files_.ShellDelete(path, flags);
  }
  std::unique_ptr<os::RedirectionGuard> DisableRedirection() override {
    return files_.DisableRedirection();
  }
  std::string NativePath(std::string_view path) override { return files_.NativePath(path); }
  std::optional<std::string> FindName(std::string_view path) override {
    return files_.FindName(path);
  }

  std::vector<std::string> changed;

 private:
  void Note(std::string_view path) { changed.emplace_back(path); }
  const std::shared_ptr<os::Platform> owner_;
  os::Platform& inner_;
  os::FileSystem& files_;
};

WriteWatch::WriteWatch() : inner_(os::SharedCurrent()) {
  platform_ = std::make_shared<Platform>(inner_);
  UseSystem(platform_);
}

WriteWatch::~WriteWatch() { UseSystem(inner_); }

const std::vector<std::string>& WriteWatch::changed() const { return platform_->changed; }

bool WriteWatch::Reached(std::string_view path) const {
  const std::string target = ToLowerAscii(path);
  for (const std::string& c : platform_->changed) {
    std::string p = ToLowerAscii(c);
    while (!p.empty() && p.back() == '\\') p.pop_back();
    if (target == p || target.rfind(p + "\\", 0) == 0) return true;
  }
  return false;
}

}  // namespace orvo::test
