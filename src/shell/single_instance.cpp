// The single-instance record in named shared memory.
#include "shell/single_instance.h"

#include <cstring>
#include <memory>

#include "platform/shared_memory.h"

namespace orvo {
namespace {

// The mapping and its view, alive from start-up to process end.
std::unique_ptr<os::SharedMemory> g_instance_memory;

WindowHandle32 ReadSlot(int slot) {
  WindowHandle32 value = 0;
  std::memcpy(&value, g_instance_memory->data() + size_t(slot) * 4, 4);
  return value;
}

void WriteSlot(int slot, WindowHandle32 value) {
  std::memcpy(g_instance_memory->data() + size_t(slot) * 4, &value, 4);
}

}  // namespace

void OpenInstanceMemory(std::string_view name) {
  g_instance_memory = os::OpenSharedMemory(name, kInstanceMemorySize);
}

bool CheckPreviousInstance(WindowHandle32 application_window, InstanceWindows& windows) {
  if (!g_instance_memory) return false;
  const WindowHandle32 first = ReadSlot(0);
  if (first == 0) {
    WriteSlot(0, application_window);
    return false;
  }
  windows.SendSysCommand(first, kScRestore);
  if (const WindowHandle32 main_window = ReadSlot(1); main_window != 0) {
    windows.SetTopMost(main_window, true);
    windows.SetTopMost(main_window, false);
  }
  return true;
}

void RegisterMainWindow(WindowHandle32 main_window) {
  if (g_instance_memory) WriteSlot(1, main_window);
}

void CloseInstanceMemory() { g_instance_memory.reset(); }

}  // namespace orvo
