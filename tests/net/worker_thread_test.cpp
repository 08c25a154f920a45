// How worker threads start and end, apart from what they download.
#include "net/worker_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/threads.h"
#include "platform/ui_dispatcher.h"
#include "support/failure_capture.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#endif

namespace orvo {
namespace {

using namespace std::chrono_literals;

class CountingThread : public TWorkerThread {
 public:
  explicit CountingThread(std::atomic<int>* executed)
      : TWorkerThread(Priority::kNormal), executed_(executed) {}
  std::function<void()> OnTerminate;

 protected:
  void Execute() override { ++*executed_; }
  void DoTerminate() override { OnTerminate(); }

 private:
  std::atomic<int>* executed_;
};

// A burst of threads that end at once, as the icon downloads of a list without network
// do at start-up. Each must run its own work once and report its own end once: with
// std::thread under MinGW, a thread ending before it was detached could hand its record to
// two later threads, one of which then started with no object (a crash) or not at all.
TEST(WorkerThread, EveryThreadOfABurstRunsOnceAndEndsOnce) {
  constexpr int kThreads = 3000;
  os::UiThreadScope ui;
  std::atomic<int> executed{0};
  std::vector<int> ends(kThreads, 0);
  int ended = 0;
  for (int i = 0; i < kThreads; ++i) {
    auto thread = std::make_unique<CountingThread>(&executed);
    thread->OnTerminate = [&ends, &ended, i] {
      ++ends[i];
      ++ended;
    };
    TWorkerThread::Start(std::move(thread));
  }
  ASSERT_TRUE(ui.dispatcher().RunUntil([&] { return ended >= kThreads; }, 120s)) << ended;
  ui.dispatcher().RunUntil([] { return false; }, 100ms);  // a late duplicate would show here
  EXPECT_EQ(executed, kThreads);
  EXPECT_EQ(ended, kThreads);
  for (int i = 0; i < kThreads; ++i) ASSERT_EQ(ends[i], 1) << "thread " << i;
}

TEST(WorkerThread, ADetachedThreadOwnsItsBodyAndFreesItWhenDone) {
  auto token = std::make_shared<int>(7);
  std::atomic<bool> ran{false};
  ASSERT_TRUE(os::StartDetachedThread([token, &ran] { ran = *token == 7; }));
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (token.use_count() > 1 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(5ms);
  }
  EXPECT_TRUE(ran);
  EXPECT_EQ(token.use_count(), 1);
}

#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// A process that may not map another thread's stack (the address space is capped just
// above what it uses; sanitizers need far more, so they skip this): the thread is refused,
// its work never runs, and its end is still reported, with the failure logged. The child
// process keeps the cap away from the test program.
TEST(WorkerThread, AThreadThatCannotStartReportsItsEndAtOnce) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int code = 0;
    {
      os::UiThreadScope ui;
      const test::FailureCapture log;
      std::atomic<int> executed{0};
      bool ended = false;
      auto thread = std::make_unique<CountingThread>(&executed);
      thread->OnTerminate = [&ended] { ended = true; };
      long pages = 0;
      std::ifstream("/proc/self/statm") >> pages;
      const rlim_t cap = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (4u << 20);
      const rlimit limit{cap, cap};
      if (pages <= 0 || setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
      // Stacks the C library kept from ended threads need no new mapping: threads that
      // wait take them all, and whatever room is left, until one more is refused.
      std::atomic<bool> release{false};
      int waiting = 0;
      while (waiting < 1000 && os::StartDetachedThread([&release] {
               while (!release) std::this_thread::sleep_for(1ms);
             })) {
        ++waiting;
      }
      if (waiting == 1000) _exit(2);
      TWorkerThread::Start(std::move(thread));
      if (!ui.dispatcher().RunUntil([&] { return ended; }, 5s)) code |= 4;
      if (executed != 0) code |= 8;
      if (log.Count("no worker thread could be started") != 1) code |= 16;
    }
    _exit(code);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0)
      << "2: no cap, 4: no end reported, 8: the work ran, 16: no failure logged";
}
#endif

}  // namespace
}  // namespace orvo
