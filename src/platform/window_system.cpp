// The installed window system, and the scope that installs one with its dispatcher.
#include "platform/window_system.h"

#include <utility>

namespace orvo::os {
namespace {

// UI thread only, like everything of the window system.
WindowSystem* g_system = nullptr;

}  // namespace

void InstallWindowSystem(WindowSystem* system) { g_system = system; }

WindowSystem* CurrentWindowSystem() { return g_system; }

WindowSystemScope::WindowSystemScope(std::unique_ptr<WindowSystem> system)
    : system_(std::move(system)) {
  InstallWindowSystem(system_.get());
  InstallUiDispatcher(system_->Dispatcher());
}

WindowSystemScope::~WindowSystemScope() {
  InstallUiDispatcher(nullptr);
  if (g_system == system_.get()) InstallWindowSystem(nullptr);
  system_->Dispatcher()->Shutdown();
  system_.reset();
}

}  // namespace orvo::os
