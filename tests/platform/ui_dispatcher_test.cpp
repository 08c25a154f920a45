// The UI dispatcher's window-message semantics, held against every back end the build
// has: the portable queue everywhere, the message window in the Windows build.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/headless/queue_dispatcher.h"
#include "platform/ui_dispatcher.h"
#include "support/failure_capture.h"
#ifdef _WIN32
#include "platform/win32/win32_ui_dispatcher.h"
#endif

namespace orvo::os {
namespace {

using namespace std::chrono_literals;

struct Backend {
  const char* name;
  std::shared_ptr<UiDispatcher> (*make)();
};

class UiDispatcherTest : public testing::TestWithParam<Backend> {
 protected:
  void SetUp() override { ui_ = GetParam().make(); }
  void TearDown() override { ui_->Shutdown(); }

  // Waits (without pumping) until a worker's send has reached the queue. A time limit
  // only catches a sender that never gets there; the wait itself is by condition.
  bool SendReachesTheQueue() {
    const auto give_up = std::chrono::steady_clock::now() + 10s;
    while (!ui_->HasWaitingSend()) {
      if (std::chrono::steady_clock::now() > give_up) return false;
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }

  std::shared_ptr<UiDispatcher> ui_;
};

TEST_P(UiDispatcherTest, PostsRunInOrderOnlyWhenPumped) {
  std::vector<int> order;
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(ui_->Post([&order, i] { order.push_back(i); }));
  EXPECT_TRUE(order.empty());
  ui_->PumpPending();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_P(UiDispatcherTest, SendFromTheUiThreadRunsAtOnce) {
  bool ran = false;
  EXPECT_TRUE(ui_->IsUiThread());
  EXPECT_TRUE(ui_->Send([&] { ran = true; }));
  EXPECT_TRUE(ran);
}

TEST_P(UiDispatcherTest, SendFromAWorkerWaitsForThePumpAndRunsOnTheUiThread) {
  std::atomic<bool> returned{false}, result{false};
  bool ran_on_ui = false;
  std::thread worker([&] {
    EXPECT_FALSE(ui_->IsUiThread());
    result = ui_->Send([&] { ran_on_ui = ui_->IsUiThread(); });
    returned = true;
  });
  EXPECT_TRUE(SendReachesTheQueue());
  EXPECT_FALSE(returned) << "a send must wait for the UI thread";
  EXPECT_TRUE(ui_->RunUntil([&] { return returned.load(); }, 5s));
  worker.join();
  EXPECT_TRUE(result);
  EXPECT_TRUE(ran_on_ui);
}

TEST_P(UiDispatcherTest, PendingSendsAreServedBeforePendingPosts) {
  std::vector<std::string> order;
  ui_->Post([&] { order.push_back("post"); });
  std::thread worker([&] { ui_->Send([&] { order.push_back("send"); }); });
  EXPECT_TRUE(SendReachesTheQueue());
  ui_->RunUntil([&] { return order.size() == 2; }, 5s);
  worker.join();
  EXPECT_EQ(order, (std::vector<std::string>{"send", "post"}));
}

TEST_P(UiDispatcherTest, ACallMayPostAndPumpAgain) {
  std::vector<std::string> order;
  std::atomic<bool> sent{false};
  std::thread worker;
  ui_->Post([&] {
    order.push_back("outer");
    ui_->Post([&] { order.push_back("posted inside"); });
    // A modal loop inside a call serves a worker's send.
    worker = std::thread([&] {
      ui_->Send([&] { order.push_back("sent during the modal loop"); });
      sent = true;
    });
    ui_->RunUntil([&] { return sent.load(); }, 5s);
    order.push_back("outer done");
  });
  ui_->PumpPending();
  worker.join();
  ASSERT_EQ(order.size(), 4u);
  EXPECT_EQ(order[0], "outer");
  EXPECT_EQ(order[3], "outer done");
  EXPECT_NE(std::find(order.begin(), order.end(), "sent during the modal loop"), order.end());
  EXPECT_NE(std::find(order.begin(), order.end(), "posted inside"), order.end());
}

TEST_P(UiDispatcherTest, RunUntilGivesUpAtItsTimeOut) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(ui_->RunUntil([] { return false; }, 200ms));
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 190ms);
  EXPECT_LT(took, 3s);
}

TEST_P(UiDispatcherTest, AnExceptionReachesTheSenderButNeverEscapesAPostedCall) {
  const orvo::test::FailureCapture log;
  std::exception_ptr caught;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    try {
      ui_->Send([] { throw std::runtime_error("from the UI thread"); });
    } catch (...) {
      caught = std::current_exception();
    }
    done = true;
  });
  ui_->Post([] { throw std::runtime_error("posted"); });
  bool after = false;
  ui_->Post([&] { after = true; });
  EXPECT_NO_THROW(ui_->RunUntil([&] { return done.load() && after; }, 5s));
  worker.join();
  ASSERT_TRUE(caught);
  EXPECT_THROW(std::rethrow_exception(caught), std::runtime_error);
  EXPECT_TRUE(after);
  // The posted call's failure is noted; the sender's is the sender's to handle.
  EXPECT_EQ(log.Lines(), std::vector<std::string>{
                             "orvo: a call posted to the user-interface thread raised: posted"});
}

TEST_P(UiDispatcherTest, ShutdownDropsPostsReleasesSendersAndRefusesLaterCalls) {
  auto witness = std::make_shared<int>(0);
  bool ran = false;
  ASSERT_TRUE(ui_->Post([&ran, witness] { ran = true; }));
  EXPECT_EQ(witness.use_count(), 2);
  std::atomic<int> send_result{-1};
  std::thread worker([&] { send_result = ui_->Send([&] { ran = true; }) ? 1 : 0; });
  EXPECT_TRUE(SendReachesTheQueue());
  ui_->Shutdown();
  worker.join();
  EXPECT_EQ(send_result, 0);
  EXPECT_FALSE(ran);
  EXPECT_EQ(witness.use_count(), 1) << "a dropped post releases what it holds";
  EXPECT_FALSE(ui_->Post([&] { ran = true; }));
  EXPECT_FALSE(ui_->Send([&] { ran = true; }));
  std::thread late([&] { EXPECT_FALSE(ui_->Send([&] { ran = true; })); });
  late.join();
  EXPECT_EQ(ui_->PumpPending(), 0u);
  EXPECT_FALSE(ran);
}

// Many workers posting and sending at once: every call runs once, on the UI thread, and
// each worker's posts keep their order.
TEST_P(UiDispatcherTest, ManyWorkersAtOnce) {
  constexpr int kWorkers = 4;
  constexpr int kCalls = 300;
  std::vector<std::vector<int>> seen(kWorkers);
  std::atomic<int> finished{0};
  int sends = 0;
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&, w] {
      for (int i = 0; i < kCalls; ++i) {
        ui_->Post([&, w, i] { seen[w].push_back(i); });
        if (i % 50 == 0) ui_->Send([&] { ++sends; });
      }
      ++finished;
    });
  }
  ui_->RunUntil(
      [&] {
        if (finished < kWorkers) return false;
        size_t total = 0;
        for (const auto& s : seen) total += s.size();
        return total == size_t(kWorkers) * kCalls;
      },
      20s);
  for (auto& t : workers) t.join();
  ui_->PumpPending();
  EXPECT_EQ(sends, kWorkers * (kCalls / 50));
  for (const auto& s : seen) {
    ASSERT_EQ(s.size(), size_t(kCalls));
    for (int i = 0; i < kCalls; ++i) EXPECT_EQ(s[i], i);
  }
}

TEST(UiThreadScope, InstallsForItsLifetime) {
  EXPECT_EQ(CurrentUiDispatcher(), nullptr);
  {
    UiThreadScope scope;
    EXPECT_EQ(CurrentUiDispatcher().get(), &scope.dispatcher());
  }
  EXPECT_EQ(CurrentUiDispatcher(), nullptr);
}

std::vector<Backend> Backends() {
  std::vector<Backend> b{{"queue", &headless::MakeQueueDispatcher}};
#ifdef _WIN32
  b.push_back({"window", &win32::MakeWindowDispatcher});
#endif
  return b;
}

INSTANTIATE_TEST_SUITE_P(Backends, UiDispatcherTest, testing::ValuesIn(Backends()),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace orvo::os
