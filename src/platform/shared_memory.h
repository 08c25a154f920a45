#pragma once
// A small block of memory shared by name between the processes of one user: the
// single-instance record lives in one. On Windows it is a mapping backed by the paging
// file; natively a file in the user's runtime folder (XDG_RUNTIME_DIR, else
// /tmp/orvo-<uid>), mapped into each process. Either way the block behaves as a Windows
// one: it is created zero-filled, and once the last process holding it has ended, the
// next one to open it finds it zero-filled again.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace orvo::os {

class SharedMemory {
 public:
  virtual ~SharedMemory() = default;
  SharedMemory(const SharedMemory&) = delete;
  SharedMemory& operator=(const SharedMemory&) = delete;

  // The mapped view, size() bytes, readable and writable, valid until destroyed.
  uint8_t* data() { return data_; }
  size_t size() const { return size_; }
  // True when this process created the block (it was zero-filled for us).
  bool created() const { return created_; }

 protected:
  // A back end unmaps the view and lets go of the block in its destructor.
  SharedMemory(void* view, size_t size, bool created)
      : data_(static_cast<uint8_t*>(view)), size_(size), created_(created) {}

 private:
  uint8_t* data_;
  size_t size_;
  bool created_;
};

// Opens the block of that name for full access, creating it with `size` zero bytes when
// none exists. Null when it can't be opened, created or mapped; the caller then runs
// without what the block was for.
std::unique_ptr<SharedMemory> OpenSharedMemory(std::string_view name, size_t size);

}  // namespace orvo::os
