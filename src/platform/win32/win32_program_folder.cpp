// The program's own folder (the executable's, through GetModuleFileNameW) and its RCDATA
// resources (FindResourceW on the executable's module).
#include <windows.h>

#include "platform/program_files.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace orvo::os {
namespace {

class Win32ProgramFolder : public ProgramFolder {
 public:
  explicit Win32ProgramFolder(std::string folder)
      : folder_(std::move(folder)), files_(win32::MakeFileSystem()) {
    if (folder_.back() != '\\' && folder_.back() != '/') folder_ += '\\';
  }

  const std::string& Folder() const override { return folder_; }
  char Separator() const override { return '\\'; }

  bool Exists(std::string_view path) override {
    return files_->GetAttributes(path) != kInvalidFileAttributes;
  }

  bool ListFolder(std::string_view path, std::vector<FolderEntry>* entries) override {
    return files_->ListFolder(path, entries);
  }

  std::optional<std::string> ReadFile(std::string_view path, size_t max_bytes) override {
    return files_->ReadFile(path, max_bytes);
  }

 private:
  std::string folder_;
  std::unique_ptr<FileSystem> files_;
};

std::string ExecutablePath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return win32::Narrow(std::wstring_view(buf.data(), n));
    if (buf.size() >= 32768) return {};
    buf.resize(buf.size() * 2);
  }
}

}  // namespace

std::unique_ptr<ProgramFolder> OpenProgramFolder(std::string_view folder) {
  if (!folder.empty()) return std::make_unique<Win32ProgramFolder>(std::string(folder));
  const std::string exe = ExecutablePath();
  const size_t slash = exe.find_last_of("\\/");
  if (slash == std::string::npos) return nullptr;
  return std::make_unique<Win32ProgramFolder>(exe.substr(0, slash + 1));
}

std::optional<std::string_view> FindRawResource(std::string_view name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info =
      FindResourceW(module, win32::Wide(name).c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!info) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  return std::string_view(static_cast<const char*>(bytes), size);
}

}  // namespace orvo::os
