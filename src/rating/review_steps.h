#pragma once
// The ratings window's four chains, as objects the window starts with a link to itself:
//
//   PlugInfoStep    opening: get_plug_info (add_plug first if the service does not know
//                   the add-on), then the first page of reviews
//   CommentsStep    a further page, or the first page in another order
//   AddCommentStep  posts the user's review, then refreshes the ratings
//   VoteStep        like (1), dislike (0) or report (2) of one review
//
// Everything reaches the window by posting (receiver_link.h), never by a synchronous
// hand-over: the window's thread may itself be waiting for the chain to end. Results the
// window shows as notices arrive as TRatingResult (LParam a review id or 0).
#include <cstdint>
#include <memory>
#include <string>

#include "catalogue/browser_app.h"
#include "rating/rate_thread.h"
#include "rating/rating_receivers.h"

namespace orvo {

// What the chains send about the add-on, taken on the user-interface thread when the
// window opens, so that no request thread reads the record.
struct TRatedPlug {
  int BrowserId = 0;  // the catalogue's rating browser id
  std::string Id;     // the record's own identifier
  std::string Name;
  std::string Description;
  std::string Version;
};
TRatedPlug RatedPlugOf(const TBrowserAppBase& catalogue, const TBrowserExtensionInfo& record);

using TRatingsWindowOutlet = TReceiverOutlet<TRatingsWindowReceiver>;

class PlugInfoStep {
 public:
  PlugInfoStep(TRatedPlug plug, std::shared_ptr<TRatingsWindowLink> link);
  bool operator()(TRateThread& sender, bool& ok, TRateFields& fields, std::string& url);

 private:
  TRatedPlug plug_;
  TRatingsWindowOutlet out_;
  // A service that kept answering "unknown" or "ratings" would otherwise be asked forever.
  bool registered_ = false;
  bool reviews_asked_ = false;
};

class CommentsStep {
 public:
  // start_id: the page's offset in the service's order, which is the number of reviews
  // the service has sent for this order so far (0 for the first page). Rows the window
  // adds itself (the user's own new review) are not among them.
  CommentsStep(std::string service_plug_id, int sort_type, int start_id,
               std::shared_ptr<TRatingsWindowLink> link);
  bool operator()(TRateThread& sender, bool& ok, TRateFields& fields, std::string& url);

 private:
  std::string service_plug_id_;
  int sort_type_;
  int start_id_;
  TRatingsWindowOutlet out_;
};

class AddCommentStep {
 public:
  AddCommentStep(TRatedPlug plug, std::string service_plug_id, std::string nickname,
                 std::string content, int score, std::shared_ptr<TRatingsWindowLink> link);
  bool operator()(TRateThread& sender, bool& ok, TRateFields& fields, std::string& url);

 private:
  TRatedPlug plug_;
  std::string service_plug_id_;
  std::string nickname_;
  std::string content_;
  int score_;
  TRatingsWindowOutlet out_;
  bool refreshed_ = false;  // one review, one refresh: a second "stored" is not a new review
};

// The creator puts comment_id and score into the first request's fields and the review id
// into the thread's Tag (StartVote does both).
class VoteStep {
 public:
  explicit VoteStep(std::shared_ptr<TRatingsWindowLink> link);
  bool operator()(TRateThread& sender, bool& ok, TRateFields& fields, std::string& url);

 private:
  TRatingsWindowOutlet out_;
};

// Starters (user-interface thread); each returns the chain's end flag (StartRateThread).
std::shared_ptr<const bool> StartPlugInfo(
    TRatedPlug plug, std::shared_ptr<TRatingsWindowLink> link,
    std::shared_ptr<TRateSession> session = CurrentRateSession());
std::shared_ptr<const bool> StartComments(
    std::string service_plug_id, int sort_type, int start_id,
    std::shared_ptr<TRatingsWindowLink> link,
    std::shared_ptr<TRateSession> session = CurrentRateSession());
std::shared_ptr<const bool> StartAddComment(
    TRatedPlug plug, std::string service_plug_id, std::string nickname, std::string content,
    int score, std::shared_ptr<TRatingsWindowLink> link,
    std::shared_ptr<TRateSession> session = CurrentRateSession());
// score: 1 like, 0 dislike, 2 report.
std::shared_ptr<const bool> StartVote(int64_t review_id, int score,
                                      std::shared_ptr<TRatingsWindowLink> link,
                                      std::shared_ptr<TRateSession> session = CurrentRateSession());

}  // namespace orvo
