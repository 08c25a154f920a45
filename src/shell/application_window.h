#pragma once
// The application's hidden top-level window: the one a second start of the program finds
// in the single-instance record and sends SC_RESTORE to. It has no picture and never
// shows; restoring it restores the program (the main window comes back from the taskbar
// and to the front), minimising it minimises the program.
#include <functional>
#include <memory>

#include "platform/instance_windows.h"
#include "platform/window_system.h"

namespace orvo {

class TApplicationWindow : private os::WindowClient {
 public:
  // Needs an installed window system.
  TApplicationWindow();
  ~TApplicationWindow() override;

  // The handle other processes reach it by; 0 when it can't be reached.
  os::WindowHandle32 Handle() const;
  // Restores were asked for, by other processes or the system.
  int Restores() const { return restores_; }
  std::function<void()> OnRestore;

 private:
  bool OnSysCommand(os::SysCommand command) override;

  std::unique_ptr<os::Window> window_;
  std::unique_ptr<os::PublishedWindow> published_;
  int restores_ = 0;
};

}  // namespace orvo
