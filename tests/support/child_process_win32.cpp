// Child processes on Windows: CreateProcessW of the running test program.
#include <windows.h>

#include "platform/win32/wide.h"
#include "support/child_process.h"
#include "support/test_machine.h"

namespace orvo::test {

ChildProcess::ChildProcess(const std::string& mode, const std::vector<std::string>& args) {
  const std::wstring exe = os::win32::Wide(OwnExecutablePath());
  std::wstring command = L"\"" + exe + L"\" --orvo-child " + os::win32::Wide(mode);
  for (const auto& a : args) command += L" \"" + os::win32::Wide(a) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                     &pi)) {
    CloseHandle(pi.hThread);
    handle_ = pi.hProcess;
  }
}

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::started() const { return handle_ != nullptr; }

int ChildProcess::Wait(int timeout_ms) {
  if (!handle_) return -1;
  if (WaitForSingleObject(static_cast<HANDLE>(handle_), static_cast<DWORD>(timeout_ms)) !=
      WAIT_OBJECT_0) {
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(static_cast<HANDLE>(handle_), &code);
  CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
  return static_cast<int>(code);
}

void ChildProcess::Kill() {
  if (!handle_) return;
  TerminateProcess(static_cast<HANDLE>(handle_), 1);
  WaitForSingleObject(static_cast<HANDLE>(handle_), 10000);
  CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

}  // namespace orvo::test
