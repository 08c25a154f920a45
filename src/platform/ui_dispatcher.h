#pragma once
// The user-interface thread as a destination for calls. One thread owns the windows, the
// catalogues and the settings; worker threads hand it work through this dispatcher and
// never touch a window themselves. The semantics are those of window messages, because
// the window system is built on the same queue:
//
//   Post   queues the call and returns at once; posted calls run in the order posted,
//          when the UI thread pumps its queue.
//   Send   runs the call on the UI thread and waits until it has run. From the UI thread
//          itself it runs at once (a direct call). From another thread the call waits
//          until the UI thread pumps; pending sends are served before pending posts.
//
// Only the UI thread pumps (PumpPending, RunUntil). A call may pump again (a modal loop).
// Once shut down, nothing more runs: pending posts are dropped unrun, waiting senders are
// released with false, and later posts and sends return false at once. Shutdown belongs
// to the UI thread; workers keep the dispatcher alive through their shared_ptr and
// simply see it closed.
//
// Back ends: a hidden message window on Windows (win32/), a portable queue (headless/).
#include <chrono>
#include <functional>
#include <memory>

namespace orvo::os {

class UiDispatcher {
 public:
  using Call = std::function<void()>;

  virtual ~UiDispatcher() = default;

  // False when the dispatcher is shut down (the call is then destroyed unrun). A posted
  // call that raises is reported on stderr; nothing else sees the exception.
  virtual bool Post(Call call) = 0;
  // True when the call ran. An exception raised by the call reaches the sender.
  virtual bool Send(const Call& call) = 0;
  // UI thread: runs everything pending now (and whatever those calls queue), then
  // returns how many calls and messages it handled.
  virtual size_t PumpPending() = 0;
  // UI thread: pumps and waits until `done` is true or the time-out passes; returns the
  // last value of `done`, which is looked at after every call and at least every 10 ms. On Windows
  // a quit request (WM_QUIT) also ends the wait; the request stays queued for the outer loop.
  virtual bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) = 0;
  virtual bool IsUiThread() const = 0;
  // UI thread: true when a worker's Send has reached the queue and waits to be served.
  // Lets a caller (a test, a modal loop) wait for a sender by condition, not by time.
  virtual bool HasWaitingSend() const = 0;
  // UI thread: see above. Idempotent.
  virtual void Shutdown() = 0;
};

// The dispatcher worker threads report to. Set once by the UI thread at start-up (or by a
// test); null when none is installed.
void InstallUiDispatcher(std::shared_ptr<UiDispatcher> dispatcher);
std::shared_ptr<UiDispatcher> CurrentUiDispatcher();

// The dispatcher the linked back end provides for the calling thread, which becomes its
// UI thread: the message window in the Windows build, the portable queue elsewhere.
std::shared_ptr<UiDispatcher> MakeUiDispatcher();

// Makes the calling thread the UI thread for the scope's lifetime: creates (or takes) a
// dispatcher, installs it, and on destruction uninstalls and shuts it down.
class UiThreadScope {
 public:
  // Inline, so that the reference to the back end's factory sits with the caller, who
  // links a back end.
  UiThreadScope() : UiThreadScope(MakeUiDispatcher()) {}
  explicit UiThreadScope(std::shared_ptr<UiDispatcher> dispatcher);
  ~UiThreadScope();
  UiThreadScope(const UiThreadScope&) = delete;
  UiThreadScope& operator=(const UiThreadScope&) = delete;

  UiDispatcher& dispatcher() { return *dispatcher_; }

 private:
  std::shared_ptr<UiDispatcher> dispatcher_;
};

}  // namespace orvo::os
