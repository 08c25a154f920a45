// Everything torn down while transfers are under way, the way a closing window, a test's
// end or the next test's set-up does it: the window, the screen with its dispatcher, the
// rating session and the platform back end all go (or are replaced) before the server
// answers. The worker threads hold the back end and the session they were made with, so
// neither goes before the last worker that uses it has ended; they finish their work
// through them, and what they would hand to the user-interface thread is dropped unrun.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "catalogue/system_values.h"
#include "net/download_threads.h"
#include "platform/platform.h"
#include "rating/rate_session.h"
#include "rating/rate_thread.h"
#include "support/headless_screen.h"
#include "support/loopback_server.h"
#include "support/png_samples.h"
#include "support/test_machine.h"
#include "ui/form.h"

namespace orvo::test {
namespace {

using namespace std::chrono_literals;

// A loopback server whose answers wait until the test lets them go (or the server goes),
// and which tells how many requests have arrived.
class HeldServer {
 public:
  HeldServer() : png_(MakePng(8, 8)) {
    server_.AnswerWith("/icon.png", [this](const RecordedRequest&) {
      Wait();
      return LoopbackServer::Answer{200, png_, "image/png"};
    });
    server_.AnswerWith("/plugin/index.php", [this](const RecordedRequest& r) {
      Wait();
      if (r.target.find("to=get_captcha") != std::string::npos) {
        return LoopbackServer::Answer{200, R"({"msg":13,"key":"k1"})", "application/json"};
      }
      return LoopbackServer::Answer{200, R"({"msg":2})", "application/json"};
    });
  }
  ~HeldServer() { Release(); }

  std::string Url(std::string_view path) const { return server_.Url(path); }
  const std::string& png() const { return png_; }
  size_t Count(std::string_view path) const { return server_.Count(path); }

  bool WaitArrived(size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, 20s, [&] { return arrived_ >= count; });
  }
  void Release() {
    std::lock_guard lock(mutex_);
    held_ = false;
    changed_.notify_all();
  }

 private:
  void Wait() {
    std::unique_lock lock(mutex_);
    ++arrived_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return !held_; });
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  size_t arrived_ = 0;
  bool held_ = true;
  const std::string png_;
  LoopbackServer server_;  // last: its handlers go first
};

// Signalled when the object it guards is deleted, wherever that happens; the wait gives
// the deleting thread's earlier writes to the waiter.
struct DeletionSignal {
  std::mutex mutex;
  std::condition_variable deleted;
  bool done = false;
  bool Wait() {
    std::unique_lock lock(mutex);
    return deleted.wait_for(lock, 20s, [&] { return done; });
  }
};

template <class T>
std::shared_ptr<T> Signalling(std::unique_ptr<T> object,
                              const std::shared_ptr<DeletionSignal>& signal) {
  return std::shared_ptr<T>(object.release(), [signal](T* p) {
    delete p;
    std::lock_guard lock(signal->mutex);
    signal->done = true;
    signal->deleted.notify_all();
  });
}

TEST(OrderlyShutdown, TransfersUnderWayKeepWhatTheyUseUntilTheyEnd) {
  HeldServer server;
  TestMachine machine;  // keeps the files; the back end the workers use is a second one
  std::string error;
  std::unique_ptr<os::Platform> own =
      os::OpenPlatform(machine.sandbox() ? machine.image_folder() : std::string(), &error);
  ASSERT_TRUE(own) << error;
  const auto platform_deleted = std::make_shared<DeletionSignal>();
  std::shared_ptr<os::Platform> platform = Signalling(std::move(own), platform_deleted);
  std::weak_ptr<os::Platform> platform_left = platform;
  UseSystem(std::move(platform));

  auto item = std::make_shared<TPictureItem>();
  item->imgsrc = server.Url("/icon.png");
  item->local_path = machine.folder() + "\\icon.png";
  std::atomic<int> handed_back{0};
  std::atomic<int> chain_steps{0};
  std::atomic<bool> chain_ok{false};
  std::weak_ptr<TRateSession> session_left;
  {
    auto session = std::make_shared<TRateSession>(server.Url(""));
    session_left = session;
    InstallRateSession(std::move(session));
    auto screen = std::make_unique<HeadlessScreen>();
    auto window = std::make_unique<TForm>();
    window->SetBounds(40, 30, 200, 100);
    window->Show();
    (*screen)->ProcessMessages();

    auto download = std::make_unique<TDownLoadImgThread>(item);
    download->OnTerminate = [&](TDownLoadImgThread&) { ++handed_back; };
    TWorkerThread::Start(std::move(download));
    StartRateThread([&](TRateThread& sender, bool& ok, TRateFields& fields, std::string& url) {
      ++chain_steps;
      if (url.empty()) {
        url = sender.Session().ActionUrl("get_plug_info");
        fields.push_back("plug_id=x");
        return true;
      }
      chain_ok = ok;
      return false;
    });
    // The picture and the session key are asked for; both replies are held.
    ASSERT_TRUE(server.WaitArrived(2));

    // Down in the order a closing program takes: the window, the screen and its
    // dispatcher, the session, the back end.
    window.reset();
    screen.reset();
    InstallRateSession(nullptr);
  }
  UseSystem(nullptr);
  EXPECT_FALSE(os::IsInstalled());
  EXPECT_FALSE(platform_left.expired());
  EXPECT_FALSE(session_left.expired());

  server.Release();
  ASSERT_TRUE(platform_deleted->Wait());
  EXPECT_TRUE(session_left.expired());
  // The workers finished their work through what they held: the key, then the request
  // after it; the picture and its copy in the folder.
  EXPECT_EQ(server.Count("/plugin/index.php"), 2u);
  EXPECT_EQ(chain_steps, 2);
  EXPECT_TRUE(chain_ok);
  EXPECT_EQ(item->picture.PngFile(), server.png());
  EXPECT_EQ(machine.platform().files().ReadFile(item->local_path), server.png());
  // Nobody was left to hand the end to.
  EXPECT_EQ(handed_back, 0);
}

}  // namespace
}  // namespace orvo::test
