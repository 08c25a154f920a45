// The news check thread and what the program does with its answer.
#include "notices/news_check.h"

#include "net/http_downloads.h"
#include "net/transfer_limits.h"
#include "notices/first_paint_gate.h"
#include "notices/news_window.h"
#include "notices/notice_ini.h"
#include "shell/site_pages.h"

namespace orvo {

TGetNews::TGetNews(std::string url)
    : TWorkerThread(Priority::kNormal),
      url_(url.empty() ? SitePage(kNewsFallbackPath) : std::move(url)),
      page_url_(SitePage(kNewsPagePath)) {}

void TGetNews::Execute() {
  if (OnStart) Synchronize([this] { OnStart(*this); });
  const std::string text = HttpGetText(url_, kMaxDescriptionBytes);
  if (text.empty()) return;
  const auto ini = NoticeIni::Write(text);
  if (!ini) return;
  number_ = ini->Integer("Msg", "MsgID", 0);
  show_all_ = ini->Integer("Msg", "ShowAll", 1) == 1;
  page_url_ = ini->String("Msg", "Url", page_url_);
  width_ = ini->Integer("Msg", "FormWidth", 0);
  height_ = ini->Integer("Msg", "FormHeight", 0);
  ini->Remove();
}

void TGetNews::DoTerminate() {
  if (OnComplete) OnComplete(*this, page_url_, number_, show_all_, width_, height_);
}

TOrvoNews::TOrvoNews(std::string url, int32_t& stored)
    : TGetNews(std::move(url)), stored_(stored) {}

void NewsDecision(int32_t& stored, const std::string& page_url, int32_t number, int32_t width,
                  int32_t height) {
  if (number <= 0 || number == stored) return;
  stored = number;
  NewsWindow().ShowNews(page_url, width, height);
}

void StartNewsCheckFrom(const std::string& url, int32_t& msgid) {
  int32_t* stored = &msgid;
  WhenMainWindowPainted([url, stored] {
    auto check = std::make_unique<TOrvoNews>(url, *stored);
    check->OnComplete = [stored](TGetNews&, const std::string& page_url, int32_t number, bool,
                                 int32_t width, int32_t height) {
      WhenMainWindowPainted([stored, page_url, number, width, height] {
        NewsDecision(*stored, page_url, number, width, height);
      });
    };
    TWorkerThread::Start(std::move(check));
  });
}

void StartNewsCheck(int32_t& msgid) { StartNewsCheckFrom(SitePage(kNewsInfoPath), msgid); }

}  // namespace orvo
