// The portable UI dispatcher. Two queues under one lock: sends (a sender waits on its
// entry) and posts. The UI thread always serves sends first, as the window system serves
// incoming sent messages before it retrieves a posted one. Calls run outside the lock so
// that they may post, send to themselves, or pump again.
#include "platform/headless/queue_dispatcher.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

#include "platform/failure_log.h"

namespace orvo::os::headless {
namespace {

// RunUntil looks at its condition at least this often: the condition may change on a
// worker without anything being queued.
constexpr std::chrono::milliseconds kRecheck{10};

class QueueDispatcher : public UiDispatcher {
 public:
  QueueDispatcher() : ui_thread_(std::this_thread::get_id()) {}
  ~QueueDispatcher() override { Shutdown(); }

  bool Post(Call call) override {
    {
      std::lock_guard lock(mutex_);
      if (closed_) return false;
      posts_.push_back(std::move(call));
    }
    ui_wake_.notify_one();
    return true;
  }

  bool Send(const Call& call) override {
    std::unique_lock lock(mutex_);
    if (closed_) return false;
    if (IsUiThread()) {
      lock.unlock();
      call();
      return true;
    }
    SendEntry entry{&call};
    sends_.push_back(&entry);
    ui_wake_.notify_one();
    senders_wake_.wait(lock, [&] { return entry.finished; });
    lock.unlock();
    if (entry.error) std::rethrow_exception(entry.error);
    return entry.ran;
  }

  bool HasWaitingSend() const override {
    RequireUiThread("HasWaitingSend");
    std::lock_guard lock(mutex_);
    return !sends_.empty();
  }

  size_t PumpPending() override {
    RequireUiThread("PumpPending");
    size_t handled = 0;
    std::unique_lock lock(mutex_);
    while (!closed_) {
      if (!sends_.empty()) {
        SendEntry* entry = sends_.front();
        sends_.pop_front();
        lock.unlock();
        try {
          (*entry->call)();
        } catch (...) {
          entry->error = std::current_exception();
        }
        lock.lock();
        entry->ran = true;
        entry->finished = true;
        senders_wake_.notify_all();
      } else if (!posts_.empty()) {
        Call call = std::move(posts_.front());
        posts_.pop_front();
        lock.unlock();
        RunPosted(call);
        call = nullptr;  // its captures are released before the lock is taken again
        lock.lock();
      } else {
        break;
      }
      ++handled;
    }
    return handled;
  }

  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) override {
    RequireUiThread("RunUntil");
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      PumpPending();
      if (done()) return true;
      const auto now = std::chrono::steady_clock::now();
      if (now >= deadline) return done();
      std::unique_lock lock(mutex_);
      ui_wake_.wait_until(lock, std::min(deadline, now + kRecheck),
                          [&] { return closed_ || !sends_.empty() || !posts_.empty(); });
      if (closed_) {
        lock.unlock();
        return done();
      }
    }
  }

  bool IsUiThread() const override { return std::this_thread::get_id() == ui_thread_; }

  void Shutdown() override {
    std::deque<Call> dropped;
    {
      std::lock_guard lock(mutex_);
      if (closed_) return;
      closed_ = true;
      for (SendEntry* entry : sends_) entry->finished = true;
      sends_.clear();
      dropped.swap(posts_);
    }
    senders_wake_.notify_all();
    ui_wake_.notify_all();
    // `dropped` is destroyed here, outside the lock: captured objects may do anything.
  }

 private:
  struct SendEntry {
    const Call* call;
    bool ran = false;
    bool finished = false;
    std::exception_ptr error;
  };

  void RequireUiThread(const char* what) const {
    if (IsUiThread()) return;
    std::fprintf(stderr, "orvo: %s called outside the user-interface thread\n", what);
    std::abort();
  }

  static void RunPosted(const Call& call) {
    try {
      call();
    } catch (...) {
      LogCaughtException("a call posted to the user-interface thread");
    }
  }

  const std::thread::id ui_thread_;
  mutable std::mutex mutex_;
  std::condition_variable ui_wake_;
  std::condition_variable senders_wake_;
  std::deque<SendEntry*> sends_;
  std::deque<Call> posts_;
  bool closed_ = false;
};

}  // namespace

std::shared_ptr<UiDispatcher> MakeQueueDispatcher() { return std::make_shared<QueueDispatcher>(); }

}  // namespace orvo::os::headless
