// The hidden application window and what it does with system commands.
#include "shell/application_window.h"

#include "ui/application.h"
#include "ui/form.h"

namespace orvo {

TApplicationWindow::TApplicationWindow() {
  os::WindowSystem* system = os::CurrentWindowSystem();
  if (!system) return;
  os::WindowOptions options;
  options.title = "Orvo Plug-in Manager";
  options.tool = true;
  window_ = system->NewWindow(options, this);
  if (window_) published_ = os::PublishWindow(*window_);
}

TApplicationWindow::~TApplicationWindow() {
  published_.reset();  // before the window it reaches
  window_.reset();
}

os::WindowHandle32 TApplicationWindow::Handle() const {
  return published_ ? published_->Handle() : 0;
}

bool TApplicationWindow::OnSysCommand(os::SysCommand command) {
  switch (command) {
    case os::SysCommand::kRestore:
      ++restores_;
      if (OnRestore) OnRestore();
      if (TForm* main = Application().MainForm; main && main->Minimized()) main->Restore();
      return true;
    case os::SysCommand::kMinimize: Application().Minimize(); return true;
    default: return true;
  }
}

}  // namespace orvo
