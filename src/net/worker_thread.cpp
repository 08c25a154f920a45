// Self-freeing worker threads. Ownership travels with the work: the detached thread owns
// the object while Execute runs, then hands it to the posted termination call, so the
// object is freed on the UI thread after its callback (or on the worker when the post is
// refused) and nobody needs to join anything. The object also owns the worker's share of
// the back end, so the back end outlives the thread's last call into it.
#include "net/worker_thread.h"

#include <cstdio>
#include <cstdlib>

#include "platform/failure_log.h"
#include "platform/threads.h"

namespace orvo {

TWorkerThread::TWorkerThread(Priority priority)
    : priority_(priority), ui_(os::CurrentUiDispatcher()), platform_(os::SharedCurrent()) {
  if (!ui_) {
    std::fputs("orvo: a worker thread was created with no UI dispatcher installed\n", stderr);
    std::abort();
  }
}

TWorkerThread::~TWorkerThread() = default;

void TWorkerThread::Start(std::unique_ptr<TWorkerThread> thread) {
  std::shared_ptr<TWorkerThread> owned(std::move(thread));
  // The thread's copy is made before it starts; on failure it is gone and this one reports.
  if (!os::StartDetachedThread([owned]() mutable { Run(std::move(owned)); })) {
    os::LogFailure("no worker thread could be started");
    ReportEnd(std::move(owned));
  }
}

bool TWorkerThread::Synchronize(const std::function<void()>& call) { return ui_->Send(call); }

void TWorkerThread::Run(std::shared_ptr<TWorkerThread> self) {
  if (self->priority_ == Priority::kIdle) os::SetCurrentThreadIdlePriority();
  {
    const os::BoundPlatform bound(self->platform_);
    try {
      self->Execute();
    } catch (...) {
      // Worker threads report failure through their own fields, never by raising.
      os::LogCaughtException("a worker thread");
    }
  }
  ReportEnd(std::move(self));
}

void TWorkerThread::ReportEnd(std::shared_ptr<TWorkerThread> self) {
  const std::shared_ptr<os::UiDispatcher> ui = self->ui_;
  ui->Post([self = std::move(self)] { self->DoTerminate(); });
}

}  // namespace orvo
