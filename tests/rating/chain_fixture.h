#pragma once
// What the chain tests share: a machine (for the HTTP back end), a UI thread pumped by
// the test, the service behind its recording front, a session of the test's own, and
// windows that write down what reaches them, in order, as short lines.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/browser_app.h"
#include "platform/ui_dispatcher.h"
#include "rating/rating_receivers.h"
#include "rating/rate_session.h"
#include "rating/rating_test_service.h"
#include "support/test_machine.h"

namespace orvo::test {

// "result CODE LPARAM" for a plain result.
std::string ResultLine(uint32_t code, intptr_t lparam = 0);

class RecordingWindow : public TRatingsWindowReceiver {
 public:
  using Receiver = TRatingsWindowReceiver;
  void RatingResult(const TRatingResult& result) override;
  void SetLoadFailed(bool failed) override;
  void ApplyRatings(const TPlugRatings& ratings) override;
  void AddReviewRows(const std::vector<TReviewData>& reviews, bool more) override;

  std::vector<std::string> events;
  std::vector<TReviewData> rows;
  bool off_ui_thread = false;
  TReceiverAnchor<TRatingsWindowReceiver> anchor{*this};

 private:
  void Note(std::string line);
};

// The main window's side: "rating ID TENTHS" for an average, else ResultLine.
class RecordingMainWindow : public TRatingResultReceiver {
 public:
  using Receiver = TRatingResultReceiver;
  void RatingResult(const TRatingResult& result) override;

  std::vector<std::string> events;
  bool off_ui_thread = false;
  std::function<void(const TRatingResult&)> also;  // runs after the note
  TReceiverAnchor<TRatingResultReceiver> anchor{*this};
};

// A browser catalogue holding the given ids, for the main window's chain.
class TestCatalogue : public TBrowserAppBase {
 public:
  TestCatalogue(uint8_t kind, const std::vector<std::string>& ids);
  void CloseBrowser() override {}
  bool IsRunning() override { return false; }
  ChangeResult DeleteItem(TBrowserExtensionInfo* item) override;
  ChangeResult ToggleItem(TBrowserExtensionInfo*) override { return {}; }
};

class ChainTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(service_.Error(), ""); }
  // Pumps the UI thread until the chain has ended.
  void Wait(const std::shared_ptr<const bool>& ended);
  // Starts a chain for a new window (start(link) gives the end flag) and, once the chain's
  // request of `action` has reached the service, closes the window (detaches its link) or
  // destroys it (ends its anchor, which is what a window's destruction does to the
  // link); then waits for the chain's end. Returns what reached the window: its receiver
  // is kept alive here, so a call that reached a destroyed window would be written down
  // rather than land in freed memory.
  template <class Window, class Start>
  std::vector<std::string> CloseWindowDuring(const std::string& action, bool destroy, Start start) {
    Window window;
    std::optional<TReceiverAnchor<typename Window::Receiver>> anchor(std::in_place, window);
    const size_t asked = service_.Arrived(action);
    const std::shared_ptr<const bool> ended = start(anchor->Link());
    EXPECT_TRUE(ui_.dispatcher().RunUntil([&] { return service_.Arrived(action) > asked; },
                                          std::chrono::seconds(60)));
    if (destroy) {
      anchor.reset();
    } else {
      anchor->Detach();
    }
    Wait(ended);
    return window.events;
  }
  // The session key as the requests carry it.
  std::string KeyField() const { return "&key=" + session_->Key(); }

  TestMachine machine_;
  os::UiThreadScope ui_;
  RatingTestService service_;
  std::shared_ptr<TRateSession> session_ = std::make_shared<TRateSession>(service_.BaseUrl());
};

}  // namespace orvo::test
