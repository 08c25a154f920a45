#pragma once
// The news check: a worker thread reads the news description (INI text on the maker's
// site: [Msg] MsgID, ShowAll, Url, FormWidth, FormHeight) and, when it names a news item
// the settings have not seen (MSGID), the news window slides up with the item's page.
// Each item is shown once per settings file. Several checks may run at once: each one
// compares with the stored number when it ends.
#include <cstdint>
#include <functional>
#include <string>

#include "net/worker_thread.h"

namespace orvo {

class TGetNews : public TWorkerThread {
 public:
  using Completion =
      std::function<void(TGetNews& sender, const std::string& page_url, int32_t number,
                         bool show_all, int32_t width, int32_t height)>;

  // Normal priority. An empty URL reads the site's fallback description.
  explicit TGetNews(std::string url);

  std::function<void(TGetNews&)> OnStart;
  // On the UI thread when the check ends; a failed download gives number 0.
  Completion OnComplete;

  const std::string& Url() const { return url_; }

 protected:
  void Execute() override;
  void DoTerminate() override;

 private:
  const std::string url_;
  int32_t number_ = 0;
  bool show_all_ = true;
  std::string page_url_;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

class TOrvoNews : public TGetNews {
 public:
  // `stored` (the settings' MSGID) must outlive the thread; it is read and changed on
  // the UI thread only.
  TOrvoNews(std::string url, int32_t& stored);
  int32_t& Stored() { return stored_; }

 private:
  int32_t& stored_;
};

// Starts a TOrvoNews on the site's news description.
void StartNewsCheck(int32_t& msgid);
void StartNewsCheckFrom(const std::string& url, int32_t& msgid);

// When a TOrvoNews ends (once the main window has painted): nothing for a number of 0 or
// less or the stored one; otherwise the number is stored and the news window shows the
// page (at width x height when both are given).
void NewsDecision(int32_t& stored, const std::string& page_url, int32_t number, int32_t width,
                  int32_t height);

}  // namespace orvo
