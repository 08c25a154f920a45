// The process-wide dispatcher slot. Workers read it from their own threads while the UI
// thread may replace it, so the slot is guarded and hands out shared references.
#include "platform/ui_dispatcher.h"

#include <mutex>
#include <utility>

namespace orvo::os {
namespace {

std::mutex g_mutex;
std::shared_ptr<UiDispatcher> g_dispatcher;

}  // namespace

void InstallUiDispatcher(std::shared_ptr<UiDispatcher> dispatcher) {
  std::shared_ptr<UiDispatcher> previous;
  {
    std::lock_guard lock(g_mutex);
    previous = std::exchange(g_dispatcher, std::move(dispatcher));
  }
  // `previous` is released outside the lock: its destructor may be the last reference.
}

std::shared_ptr<UiDispatcher> CurrentUiDispatcher() {
  std::lock_guard lock(g_mutex);
  return g_dispatcher;
}

UiThreadScope::UiThreadScope(std::shared_ptr<UiDispatcher> dispatcher)
    : dispatcher_(std::move(dispatcher)) {
  InstallUiDispatcher(dispatcher_);
}

UiThreadScope::~UiThreadScope() {
  InstallUiDispatcher(nullptr);
  dispatcher_->Shutdown();
}

}  // namespace orvo::os
