#pragma once
// The main window on a copy of the demo image, as a user meets it: the shipped languages,
// the shared image module, a headless screen, and a rating service stand-in on loopback
// that answers the window's chain with ratings the test chooses (or holds its reply back,
// or answers with a code). The Firefox profile's icon addresses are pointed at the
// stand-in too, which serves the demo site's icons, so nothing leaves the test.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "shell/main_window.h"
#include "shell/shell_fixture.h"
#include "support/headless_screen.h"
#include "support/loopback_server.h"
#include "ui/image_module.h"

namespace orvo::test {

// The rating service's two actions the main window needs: a key, and the averages.
class RatingStandIn {
 public:
  RatingStandIn();
  ~RatingStandIn();

  std::string BaseUrl() const { return server_.Url(""); }
  // The averages by add-on id, as the reply's lines write them ("3.5,12").
  void SetRating(const std::string& id, const std::string& value);
  // The next replies of get_plugs_rating are this text instead.
  void ReplyWith(std::string text);
  // get_plugs_rating waits until Release (or the stand-in goes).
  void Hold();
  void Release();
  // get_plugs_rating requests that have arrived (answered or held).
  size_t RatingRequests() const;
  // The browser_id field of each rating request, in order.
  std::vector<std::string> BrowserIds() const;
  LoopbackServer& server() { return server_; }
  // The demo site's icon at that path ("/icons/...") is served.
  bool ServesIcon(const std::string& path) const { return icons_.count(path) != 0; }

 private:
  LoopbackServer::Answer Answer(const RecordedRequest& request);

  mutable std::mutex mutex_;
  std::condition_variable released_;
  bool held_ = false;
  bool closing_ = false;
  std::map<std::string, std::string> ratings_;
  std::string reply_;
  size_t rating_requests_ = 0;
  std::vector<std::string> browser_ids_;
  std::set<std::string> icons_;
  LoopbackServer server_;  // last: it goes first
};

class MainWindowTest : public ShellTest {
 protected:
  // `image`: another image than the demo one (demo must be true).
  explicit MainWindowTest(const std::string& extra_ini = "", bool demo = true,
                          const std::string& image = "");
  ~MainWindowTest() override;

  // Creates and shows the window (English unless told), and waits for the first tab's
  // ratings.
  void Open(const std::string& language = "English");
  // Pumps the UI thread until the condition holds (at most 20 s).
  bool PumpUntil(const std::function<bool()>& done);
  void WaitRatings();
  // Selects the tab of that browser by clicking it.
  void ClickTab(uint8_t kind);
  // The row of the add-on with that id on the selected tab, scrolled into view.
  TLumLvItem* Row(const std::string& id);
  TAddonRow& Data(TLumLvItem& row) { return *row.DataAs<TAddonRow>(); }
  // A screen point inside a list rectangle of a row.
  Point ScreenPoint(const Rect& list_rect) const;
  void ClickIn(const Rect& list_rect);
  // Clicks and answers the message box that opens with the keys given.
  void ClickAnswering(const Rect& list_rect, std::vector<uint16_t> keys);
  TBrowserAppBase& Catalogue() { return *main->SelectedCatalogue(); }
  TBrowserExtensionInfo* Record(const std::string& id);
  // The texts of the toasts alive now.
  std::vector<std::string> ToastTexts() const;
  // Waits until the Firefox icons the stand-in has were fetched.
  void WaitFirefoxIcons();

  RatingStandIn service;
  HeadlessScreen screen;
  std::unique_ptr<TimgModule> module;
  std::unique_ptr<TfrmXOBMain> main;
  int message_boxes = 0;  // boxes answered by ClickAnswering
};

}  // namespace orvo::test
