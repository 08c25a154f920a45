// The average-rating chain; see rating_callback.h.
#include "rating/rating_callback.h"

#include "rating/rate_replies.h"
#include "rating/rate_requests.h"

namespace orvo {

RatingCallback::RatingCallback(TBrowserAppBase& catalogue, std::shared_ptr<TRatingResultLink> link)
    : catalogue_(&catalogue),
      browser_id_(RatingBrowserId(catalogue.BrowserKind)),
      out_(std::move(link)) {
  entries_.reserve(catalogue.Items.size());
  for (const auto& item : catalogue.Items) entries_.push_back({item->Id, item.get()});
}

bool RatingCallback::operator()(TRateThread& sender, bool& ok, TRateFields& fields,
                                std::string& url) {
  if (!out_.Attached()) return false;
  if (url.empty()) {
    std::vector<std::string> ids;
    ids.reserve(entries_.size());
    for (const Entry& entry : entries_) ids.push_back(entry.id);
    fields.push_back(FormField("browser_id", browser_id_));
    fields.push_back(FormField("plug_ids_json", PlugIdsJson(ids)));
    url = sender.Session().ActionUrl("get_plugs_rating");
    return true;
  }
  if (!ok) return false;
  const TNameValueLines lines(sender.Reply());
  const auto code = lines.Integer("msg");
  if (!code) {
    out_.Post(
        [](TRatingResultReceiver& r) { r.RatingResult(MakeRatingResult(rcUnreadableReply)); });
    return false;
  }
  const uint32_t result = ResultCode(*code);
  if (result != rcAverageRatings) {
    out_.Post([result](TRatingResultReceiver& r) { r.RatingResult(MakeRatingResult(result)); });
    return false;
  }
  Deliver(lines);
  return false;
}

void RatingCallback::Deliver(const TNameValueLines& lines) {
  const TBrowserAppBase* catalogue = catalogue_;
  for (const Entry& entry : entries_) {
    const auto value = lines.Value(entry.id);
    if (!value || value->empty()) continue;
    const auto average = ParseAverageRating(*value);
    if (!average) continue;
    const bool delivered = out_.Send([&](TRatingResultReceiver& r) {
      // The window may have deleted the record while the reply was on its way.
      if (!catalogue->Contains(entry.record) || entry.record->Id != entry.id) return;
      r.RatingResult(MakeAverageRatingResult(*average, entry.record));
    });
    if (!delivered) return;  // the window has gone
  }
  out_.Post(
      [](TRatingResultReceiver& r) { r.RatingResult(MakeRatingResult(rcAllRatingsDelivered)); });
}

bool StartRatingRequest(TBrowserAppBase& catalogue, std::shared_ptr<TRatingResultLink> link,
                        std::shared_ptr<TRateSession> session) {
  if (catalogue.Items.empty()) return false;
  StartRateThread(RatingCallback(catalogue, std::move(link)), {},
                  reinterpret_cast<intptr_t>(&catalogue), std::move(session));
  return true;
}

}  // namespace orvo
