// Named shared memory backed by the paging file (CreateFileMappingW with no file); the
// system frees it with the last handle.
#include <windows.h>

#include "platform/shared_memory.h"
#include "platform/win32/wide.h"

namespace orvo::os {
namespace {

class MappingSharedMemory : public SharedMemory {
 public:
  MappingSharedMemory(HANDLE mapping, void* view, size_t size, bool created)
      : SharedMemory(view, size, created), mapping_(mapping) {}
  ~MappingSharedMemory() override {
    UnmapViewOfFile(data());
    CloseHandle(mapping_);
  }

 private:
  HANDLE mapping_;
};

}  // namespace

std::unique_ptr<SharedMemory> OpenSharedMemory(std::string_view name, size_t size) {
  if (size == 0) return nullptr;
  const std::wstring wide = win32::Wide(name);
  bool created = false;
  HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, wide.c_str());
  if (!mapping) {
    mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                 static_cast<DWORD>(size), wide.c_str());
    if (!mapping) return nullptr;
    // Another process may have created it between our two calls.
    created = GetLastError() != ERROR_ALREADY_EXISTS;
  }
  void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, size);
  if (!view) {
    CloseHandle(mapping);
    return nullptr;
  }
  if (created) ZeroMemory(view, size);
  return std::make_unique<MappingSharedMemory>(mapping, view, size, created);
}

}  // namespace orvo::os
