// The download threads end to end: a real server, a real UI dispatcher pumped by the
// test's thread, real files. The callback must run on the UI thread, and the thread
// object must be gone once it has.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>

#include "platform/platform.h"
#include "platform/ui_dispatcher.h"
#include "net/download_threads.h"
#ifndef _WIN32
#include "platform/sandbox/image.h"
#endif
#include "support/failure_capture.h"
#include "support/loopback_server.h"
#include "support/png_samples.h"
#include "support/test_machine.h"

namespace orvo {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;

class DownloadThreadsTest : public testing::Test {
 protected:
  // Starts a text thread and pumps until its callback has run.
  struct TextOutcome {
    bool called = false;
    bool on_ui = false;
    bool done = false;
    std::string text;
  };
  TextOutcome ReadText(const std::string& url) {
    TextOutcome out;
    auto thread = std::make_unique<THttpReadThread>(url);
    thread->OnTerminate = [&](THttpReadThread& t) {
      out.called = true;
      out.on_ui = ui_.dispatcher().IsUiThread();
      out.done = t.Done();
      out.text = t.ResultText();
    };
    TWorkerThread::Start(std::move(thread));
    EXPECT_TRUE(ui_.dispatcher().RunUntil([&] { return out.called; }, 20s));
    return out;
  }

  // Starts a picture thread and pumps until its callback has run; returns the done flag.
  bool FetchPicture(const std::shared_ptr<TPictureItem>& item) {
    bool called = false;
    bool done = false;
    auto thread = std::make_unique<TDownLoadImgThread>(item);
    thread->OnTerminate = [&](TDownLoadImgThread& t) {
      called = true;
      done = t.Done();
      EXPECT_EQ(&t.Item(), item.get());
    };
    TWorkerThread::Start(std::move(thread));
    EXPECT_TRUE(ui_.dispatcher().RunUntil([&] { return called; }, 20s));
    EXPECT_EQ(item.use_count(), 1) << "the thread object is freed after its callback";
    return done;
  }

  std::shared_ptr<TPictureItem> Item(const std::string& url, const std::string& local_path = "") {
    auto item = std::make_shared<TPictureItem>();
    item->imgsrc = url;
    item->local_path = local_path;
    return item;
  }

  test::TestMachine machine_;
  os::UiThreadScope ui_;
  LoopbackServer server_;
};

TEST_F(DownloadThreadsTest, TextThreadReportsItsTextOnTheUiThread) {
  server_.Serve("/ad", "{\"msg\":1}");
  const auto out = ReadText(server_.Url("/ad"));
  EXPECT_TRUE(out.on_ui);
  EXPECT_TRUE(out.done);
  EXPECT_EQ(out.text, "{\"msg\":1}");
}

TEST_F(DownloadThreadsTest, TextThreadIsDoneWithEmptyTextWhenNothingAnswers) {
  const std::string url = [] {
    LoopbackServer gone;
    return gone.Url("/ad");
  }();
  const auto out = ReadText(url);
  EXPECT_TRUE(out.done);
  EXPECT_EQ(out.text, "");
}

TEST_F(DownloadThreadsTest, PictureThreadFillsTheItemAndSavesTheCopy) {
  const std::string png = test::MakePng(32, 32);
  server_.Serve("/pic.png", png, 200, "image/png");
  const std::string path = machine_.folder() + "\\pic.png";
  auto item = Item(server_.Url("/pic.png"), path);
  EXPECT_TRUE(FetchPicture(item));
  EXPECT_EQ(item->picture.PngFile(), png);
  EXPECT_EQ(item->picture.width(), 32);
  EXPECT_EQ(machine_.platform().files().ReadFile(path), png);
}

TEST_F(DownloadThreadsTest, PictureThreadWithoutLocalPathWritesNoFile) {
  server_.Serve("/icon.png", test::MakePng(16, 16), 200, "image/png");
  auto item = Item(server_.Url("/icon.png"));
  EXPECT_TRUE(FetchPicture(item));
  EXPECT_FALSE(item->picture.empty());
  std::vector<os::FolderEntry> entries;
  machine_.platform().files().ListFolder(machine_.folder(), &entries);
  EXPECT_TRUE(entries.empty());
}

// Nothing received, a page that is not a PNG, a broken PNG: the item stays empty, the
// done flag false, and nothing reaches the creator.
TEST_F(DownloadThreadsTest, PictureThreadFailuresLeaveTheItemEmpty) {
  const std::string png = test::MakePng(8, 8);
  server_.Serve("/empty.png", "", 200, "image/png");
  server_.Serve("/page.png", "<html>gone</html>", 404, "text/html");
  server_.CutShort("/cut.png", png.substr(0, 20), png.size());
  const std::string gone = [] {
    LoopbackServer s;
    return s.Url("/x.png");
  }();
  for (const std::string& url :
       {server_.Url("/empty.png"), server_.Url("/page.png"), server_.Url("/cut.png"), gone}) {
    auto item = Item(url, machine_.folder() + "\\never.png");
    EXPECT_FALSE(FetchPicture(item)) << url;
    EXPECT_TRUE(item->picture.empty()) << url;
  }
  EXPECT_FALSE(machine_.platform().files().ReadFile(machine_.folder() + "\\never.png"));
}

TEST_F(DownloadThreadsTest, PictureThreadThatCannotSaveItsCopyIsNotDone) {
  server_.Serve("/pic.png", test::MakePng(4, 4), 200, "image/png");
  auto item = Item(server_.Url("/pic.png"), machine_.folder() + "\\no such folder\\pic.png");
  EXPECT_FALSE(FetchPicture(item));
}

#ifndef _WIN32
// A cached copy the disk can't take in full, or whose rename another program blocks: not
// done, the old copy as it was and no temporary file beside it.
TEST_F(DownloadThreadsTest, PictureThreadOnAFullDiskKeepsTheOldCopy) {
  const std::string png = test::MakePng(24, 24);
  server_.Serve("/pic.png", png, 200, "image/png");
  const std::string path = machine_.folder() + "\\pic.png";
  const std::string old = test::MakePng(2, 2);
  machine_.WriteFile(path, old);
  for (const os::sandbox::WriteFaults& faults :
       {os::sandbox::WriteFaults{0, false}, os::sandbox::WriteFaults{png.size() - 1, false},
        os::sandbox::WriteFaults{std::nullopt, true}}) {
    machine_.image()->SetWriteFaults(faults);
    EXPECT_FALSE(FetchPicture(Item(server_.Url("/pic.png"), path)));
    machine_.image()->SetWriteFaults({});
    EXPECT_EQ(machine_.platform().files().ReadFile(path), old);
    std::vector<os::FolderEntry> entries;
    machine_.platform().files().ListFolder(machine_.folder(), &entries);
    EXPECT_EQ(entries.size(), 1u);
  }
}
#endif

// The UI thread goes away while downloads run: no callback runs, and every thread object
// is still freed (its item's last other reference goes with it).
TEST_F(DownloadThreadsTest, ThreadsOutlivingTheUiThreadFreeThemselvesSilently) {
  server_.ServeLate("/late.png", 300ms, test::MakePng(4, 4));
  std::vector<std::shared_ptr<TPictureItem>> items;
  std::atomic<int> callbacks{0};
  for (int i = 0; i < 3; ++i) {
    items.push_back(Item(server_.Url("/late.png")));
    auto thread = std::make_unique<TDownLoadImgThread>(items.back());
    thread->OnTerminate = [&](TDownLoadImgThread&) { ++callbacks; };
    TWorkerThread::Start(std::move(thread));
  }
  ui_.dispatcher().Shutdown();
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  for (const auto& item : items) {
    while (item.use_count() > 1 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(item.use_count(), 1);
  }
  EXPECT_EQ(callbacks, 0);
}

// Work that raises is noted in the failure log and swallowed: the thread still reports
// its end, with nothing done.
class RaisingThread : public TWorkerThread {
 public:
  RaisingThread() : TWorkerThread(Priority::kNormal) {}
  std::function<void()> OnTerminate;

 protected:
  void Execute() override { throw std::runtime_error("disk on fire"); }
  void DoTerminate() override { OnTerminate(); }
};

TEST_F(DownloadThreadsTest, WhatAThreadRaisesIsLoggedAndItsEndStillReported) {
  const test::FailureCapture log;
  bool ended = false;
  auto thread = std::make_unique<RaisingThread>();
  thread->OnTerminate = [&] { ended = true; };
  TWorkerThread::Start(std::move(thread));
  EXPECT_TRUE(ui_.dispatcher().RunUntil([&] { return ended; }, 20s));
  EXPECT_EQ(log.Lines(), std::vector<std::string>{"orvo: a worker thread raised: disk on fire"});
}

// Many downloads at once, for the thread sanitizer: every callback runs once, on the UI
// thread, and sees its own thread's results.
TEST_F(DownloadThreadsTest, ManyDownloadsAtOnce) {
  constexpr int kEach = 6;
  server_.Serve("/pic.png", test::MakePng(10, 10), 200, "image/png");
  for (int i = 0; i < kEach; ++i)
    server_.Serve("/t" + std::to_string(i), "text " + std::to_string(i));
  int pictures = 0;
  int texts = 0;
  std::vector<std::shared_ptr<TPictureItem>> items;
  for (int i = 0; i < kEach; ++i) {
    items.push_back(
        Item(server_.Url("/pic.png"), machine_.folder() + "\\p" + std::to_string(i) + ".png"));
    auto picture = std::make_unique<TDownLoadImgThread>(items.back());
    picture->OnTerminate = [&](TDownLoadImgThread& t) {
      EXPECT_TRUE(t.Done());
      EXPECT_EQ(t.Item().picture.width(), 10);
      ++pictures;
    };
    TWorkerThread::Start(std::move(picture));
    auto text = std::make_unique<THttpReadThread>(server_.Url("/t" + std::to_string(i)));
    text->OnTerminate = [&, i](THttpReadThread& t) {
      EXPECT_TRUE(ui_.dispatcher().IsUiThread());
      EXPECT_EQ(t.ResultText(), "text " + std::to_string(i));
      ++texts;
    };
    TWorkerThread::Start(std::move(text));
  }
  EXPECT_TRUE(ui_.dispatcher().RunUntil([&] { return pictures == kEach && texts == kEach; }, 30s));
}

}  // namespace
}  // namespace orvo
