// The installed window system, and the scope that installs one with its dispatcher.
#include "platform/window_system.h"

#include <atomic>
#include <utility>

namespace orvo::os {
namespace {

// UI thread only, like everything of the window system.
WindowSystem* g_system = nullptr;

std::atomic<uint64_t> g_next_serial{1};

}  // namespace

WindowSystem::WindowSystem() : serial_(g_next_serial.fetch_add(1)) {}

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
