// Files and folders through kernel32 and the shell's delete operation.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <atomic>

#include "platform/win32/wide.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

namespace orvo::os::win32 {
namespace {

std::string Message(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string out = text ? Narrow(text) : "error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' '))
    out.pop_back();
  return out;
}

// A virus scanner or the browser's own indexer may hold the file for a moment without
// sharing it: the replacing rename is tried again a few times, a tenth of a second apart,
// before the write is given up (as Chromium's own file writer does). Any other refusal
// is final at once.
constexpr int kReplaceAttempts = 5;
constexpr DWORD kReplacePauseMs = 100;

DWORD ReplaceWithRetries(const std::wstring& temp, const std::wstring& target) {
  DWORD e = ERROR_SUCCESS;
  for (int attempt = 0; attempt < kReplaceAttempts; ++attempt) {
    if (attempt > 0) Sleep(kReplacePauseMs);
    if (MoveFileExW(temp.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return ERROR_SUCCESS;
    }
    e = GetLastError();
    if (e != ERROR_SHARING_VIOLATION && e != ERROR_ACCESS_DENIED && e != ERROR_LOCK_VIOLATION)
      return e;
  }
  return e;
}

class Win32Redirection : public RedirectionGuard {
 public:
  explicit Win32Redirection(void* old) : old_(old) {}
  ~Win32Redirection() override { Wow64RevertWow64FsRedirection(old_); }

 private:
  void* old_;
};

class Win32FileSystem : public FileSystem {
 public:
  uint32_t GetAttributes(std::string_view path) override {
    return GetFileAttributesW(Wide(path).c_str());
  }

  bool SetAttributes(std::string_view path, uint32_t attributes) override {
    return SetFileAttributesW(Wide(path).c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
  }

  bool ListFolder(std::string_view path, std::vector<FolderEntry>* entries) override {
    entries->clear();
    std::wstring pattern = Wide(path);
    if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
    pattern += L"*.*";
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
      const std::wstring_view name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      entries->push_back({Narrow(name), data.dwFileAttributes});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
  }

  std::optional<std::string> ReadFile(std::string_view path, size_t max_bytes) override {
    KernelHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return std::nullopt;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || static_cast<uint64_t>(size.QuadPart) > max_bytes) {
      return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
      if (!::ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0) {
        return std::nullopt;
      }
      done += got;
    }
    return bytes;
  }

  WriteResult WriteFileAtomic(std::string_view path, std::string_view bytes) override {
    static std::atomic<unsigned> counter{0};
    const std::wstring target = Wide(path);
    const size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? target : target.substr(slash + 1);
    const std::wstring temp = folder + L"~" + name + L".tmp-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(counter++);
    // Windows refuses to replace a read-only file; Wine does not, so ask first.
    const DWORD attrs = GetFileAttributesW(target.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)) {
      return {ERROR_ACCESS_DENIED, std::string(path) + " is read-only"};
    }
    KernelHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      const DWORD e = GetLastError();
      return {static_cast<long>(e),
              "cannot create a file beside " + std::string(path) + ": " + Message(e)};
    }
    size_t done = 0;
    while (done < bytes.size()) {
      DWORD wrote = 0;
      const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
      if (!WriteFile(file.get(), bytes.data() + done, want, &wrote, nullptr) || wrote == 0) {
        const DWORD e = GetLastError();
        file.close();
        DeleteFileW(temp.c_str());
        return {static_cast<long>(e ? e : ERROR_WRITE_FAULT), "write failed: " + Message(e)};
      }
      done += wrote;
    }
    if (!FlushFileBuffers(file.get())) {
      const DWORD e = GetLastError();
      file.close();
      DeleteFileW(temp.c_str());
      return {static_cast<long>(e), "flush failed: " + Message(e)};
    }
    file.close();
    if (const DWORD e = ReplaceWithRetries(temp, target); e != ERROR_SUCCESS) {
      DeleteFileW(temp.c_str());
      return {static_cast<long>(e), "cannot replace " + std::string(path) + ": " + Message(e)};
    }
    return {};
  }

  WriteResult MoveFileReplacing(std::string_view from, std::string_view to) override {
    const DWORD attrs = GetFileAttributesW(Wide(to).c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)) {
      return {ERROR_ACCESS_DENIED, std::string(to) + " is read-only"};
    }
    if (const DWORD e = ReplaceWithRetries(Wide(from), Wide(to)); e != ERROR_SUCCESS) {
      return {static_cast<long>(e), "cannot replace " + std::string(to) + ": " + Message(e)};
    }
    return {};
  }

  bool CreateFolders(std::string_view path) override {
    const int rc = SHCreateDirectoryExW(nullptr, Wide(path).c_str(), nullptr);
    return rc == ERROR_SUCCESS || rc == ERROR_ALREADY_EXISTS || rc == ERROR_FILE_EXISTS;
  }

  bool RemoveFile(std::string_view path) override { return DeleteFileW(Wide(path).c_str()); }

  bool IsFileLocked(std::string_view path) override {
    const std::wstring w = Wide(path);
    const DWORD attrs = GetFileAttributesW(w.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) return false;
    KernelHandle file(CreateFileW(w.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file.valid();
  }

  int ShellDelete(std::string_view path, uint32_t flags) override {
    std::wstring from = Wide(path);
    from.push_back(L'\0');  // the list ends with a second NUL
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = static_cast<FILEOP_FLAGS>(flags);
    return SHFileOperationW(&op);
  }

  std::unique_ptr<RedirectionGuard> DisableRedirection() override {
    void* old = nullptr;
    if (!Wow64DisableWow64FsRedirection(&old)) return nullptr;
    return std::make_unique<Win32Redirection>(old);
  }

  std::string NativePath(std::string_view path) override { return std::string(path); }

  std::optional<std::string> FindName(std::string_view path) override {
    if (path.find_first_of("*?") != std::string_view::npos) return std::nullopt;
    WIN32_FIND_DATAW data{};
    const HANDLE h = FindFirstFileW(Wide(path).c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    FindClose(h);
    return Narrow(data.cFileName);
  }
};

}  // namespace

std::unique_ptr<FileSystem> MakeFileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace orvo::os::win32
