#pragma once
// Worker threads that free themselves. The creator makes one (nothing runs yet), sets its
// termination callback and hands it to Start, which takes ownership. The thread runs
// Execute, swallowing whatever it raises; then the termination callback runs on the
// user-interface thread (posted through the UI dispatcher that was installed when the
// thread was created), and the thread object is freed. A thread cannot be restarted or
// cancelled. If the UI dispatcher has shut down by then, the callback never runs and the
// object is freed all the same.
//
// A worker may outlive the window, the test or the run that started it, so it holds what
// it uses: the UI dispatcher and the platform back end installed when it was created are
// shared with it, and the back end is bound to its thread while Execute runs (so the
// helpers it calls reach that one through os::Current(), even after it was replaced or
// removed). A derived thread holds whatever else it uses the same way (the rating thread
// its session). Whatever Execute raises is logged and swallowed.
#include <functional>
#include <memory>

#include "platform/platform.h"
#include "platform/ui_dispatcher.h"

namespace orvo {

class TWorkerThread {
 public:
  virtual ~TWorkerThread();
  TWorkerThread(const TWorkerThread&) = delete;
  TWorkerThread& operator=(const TWorkerThread&) = delete;

  // Runs the thread. Should no thread be available, the termination is reported at once
  // with nothing done.
  static void Start(std::unique_ptr<TWorkerThread> thread);

 protected:
  enum class Priority { kNormal, kIdle };
  // Must be called on the user-interface thread (it takes the installed dispatcher).
  explicit TWorkerThread(Priority priority);

  virtual void Execute() = 0;
  // From Execute: runs `call` on the user-interface thread and waits until it has run.
  // False when the user-interface thread has shut down (the call did not run).
  bool Synchronize(const std::function<void()>& call);
  // Runs the derived class's termination callback; called on the user-interface thread.
  virtual void DoTerminate() = 0;

 private:
  static void Run(std::shared_ptr<TWorkerThread> self);
  static void ReportEnd(std::shared_ptr<TWorkerThread> self);

  const Priority priority_;
  const std::shared_ptr<os::UiDispatcher> ui_;
  const std::shared_ptr<os::Platform> platform_;  // null when none was installed
};

}  // namespace orvo
