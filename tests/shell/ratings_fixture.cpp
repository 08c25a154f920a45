// The ratings window tests' machine, service and helpers; see ratings_fixture.h.
#include "shell/ratings_fixture.h"

#include "platform/ui_dispatcher.h"
#include "shell/language.h"
#include "shell/message_form.h"
#include "ui/lum_message_box.h"

namespace orvo::test {

DemoCatalogue::DemoCatalogue() {
  BrowserKind = bkChrome;
  DisplayName = "Google Chrome";
}

TBrowserExtensionInfo& DemoCatalogue::Add(const std::string& id, const std::string& name,
                                          const std::string& version,
                                          const std::string& description) {
  auto record = std::make_unique<TBrowserExtensionInfo>();
  record->Id = id;
  record->Name = name;
  record->Version = version;
  record->Description = description;
  record->ItemKind = ikExtension;
  Items.push_back(std::move(record));
  return *Items.back();
}

RatingsTest::RatingsTest() {
  session = std::make_shared<TRateSession>(service.BaseUrl());
  InstallRateSession(session);
  InstallShippedLanguages();
  UseLanguage("English");
  tab_tidy = &chrome.Add(kTabTidy, "Tab Tidy", "2.4.1", "Groups and sorts your open tabs.");
  no_reviews = &chrome.Add(kNoReviews, "Quiet Notes", "8.1.0", "Notes that stay on this computer.");
  // Message boxes are answered at once; the test counts them.
  screen->on_modal_idle = [this] {
    TLumMessageBox& box = module.msgdlg;
    if (!box.Busy()) return false;
    ++boxes_shown;
    box.Finish(kMsgResultOk);
    return true;
  };
}

RatingsTest::~RatingsTest() {
  screen->on_modal_idle = nullptr;
  FreeAllToasts();
  InstallRateSession(nullptr);
}

void RatingsTest::UseLanguage(const std::string& name) {
  ChooseLanguageFile(name);
  ReloadLanguage();
}

bool RatingsTest::Walk(TBrowserExtensionInfo& addon, const Steps& steps,
                       TRatingsShowOptions options) {
  options.on_shown = [&](TfrmXOBRate& window) {
    if (steps) steps(window);
    if (window.Shown()) window.Close();
  };
  return ShowRatings(chrome, addon, options);
}

bool RatingsTest::Pump(const std::function<bool()>& until, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  const auto ui = os::CurrentUiDispatcher();
  while (!until()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ui->RunUntil(until, std::chrono::milliseconds(20));
    screen->ProcessMessages();
  }
  screen->ProcessMessages();
  return true;
}

void RatingsTest::Settle(TfrmXOBRate& window) {
  EXPECT_TRUE(Pump([&] { return !window.Busy(); })) << "a chain of the window did not end";
}

void RatingsTest::ClickOn(const TControl& control, Point at) {
  const TForm* form = control.Form();
  ASSERT_NE(form, nullptr);
  const Point o = control.FormOrigin();
  screen->Click(form->Left() + o.x + at.x, form->Top() + o.y + at.y);
}

void RatingsTest::ClickInList(TfrmXOBRate& window, const Rect& area) {
  ASSERT_GT(area.width(), 0) << "the area was never painted";
  ClickOn(*window.m_lstView, {(area.left + area.right) / 2, (area.top + area.bottom) / 2});
}

std::vector<TReviewItem*> RatingsTest::Reviews(TfrmXOBRate& window) {
  std::vector<TReviewItem*> out;
  for (int i = 0; i < window.m_lstView->ItemCount(); ++i) {
    if (TReviewItem* review = TfrmXOBRate::ReviewOf(*window.m_lstView->Items(i)))
      out.push_back(review);
  }
  return out;
}

bool RatingsTest::HasMoreRow(TfrmXOBRate& window) {
  const int n = window.m_lstView->ItemCount();
  return n > 0 && !TfrmXOBRate::ReviewOf(*window.m_lstView->Items(n - 1));
}

std::vector<std::string> RatingsTest::TakeToasts() {
  std::vector<std::string> texts;
  for (TfrmMessage* toast : LiveToasts()) texts.push_back(toast->Text());
  FreeAllToasts();
  return texts;
}

}  // namespace orvo::test
