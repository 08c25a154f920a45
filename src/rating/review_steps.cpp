// The ratings window's chains; see review_steps.h.
#include "rating/review_steps.h"

#include <algorithm>
#include <utility>

#include "rating/rate_replies.h"
#include "rating/rate_requests.h"

namespace orvo {
namespace {

void PostCode(const TRatingsWindowOutlet& out, uint32_t code, intptr_t lparam = 0) {
  out.Post([result = MakeRatingResult(code, lparam)](TRatingsWindowReceiver& r) {
    r.RatingResult(result);
  });
}

// Also without ratings_cache: the window keeps the service's id for the later pages.
void PostRatings(const TRatingsWindowOutlet& out, const Json& reply) {
  out.Post(
      [ratings = ReadPlugRatings(reply)](TRatingsWindowReceiver& r) { r.ApplyRatings(ratings); });
}

// Codes 5 and 6; a reply without a "comment" array adds nothing, not even the "more" row.
void PostReviews(const TRatingsWindowOutlet& out, const Json& reply, uint32_t code) {
  if (auto reviews = ReadReviews(reply)) {
    out.Post([reviews = std::move(*reviews), more = code == rcMorePages](
                 TRatingsWindowReceiver& r) { r.AddReviewRows(reviews, more); });
  }
}

void FirstPage(const std::string& service_plug_id, TRateThread& sender, TRateFields& fields,
               std::string& url) {
  fields = {FormField("plug_id", service_plug_id), "start_id=0", "sort_type=0"};
  url = sender.Session().ActionUrl("get_comments");
}

}  // namespace

TRatedPlug RatedPlugOf(const TBrowserAppBase& catalogue, const TBrowserExtensionInfo& record) {
  return TRatedPlug{RatingBrowserId(catalogue.BrowserKind), record.Id, record.Name,
                    record.Description, record.Version};
}

PlugInfoStep::PlugInfoStep(TRatedPlug plug, std::shared_ptr<TRatingsWindowLink> link)
    : plug_(std::move(plug)), out_(std::move(link)) {}

bool PlugInfoStep::operator()(TRateThread& sender, bool& ok, TRateFields& fields,
                              std::string& url) {
  if (!out_.Attached()) return false;
  if (url.empty()) {
    fields.push_back(FormField("browser_id", plug_.BrowserId));
    fields.push_back(FormField("sort_type", static_cast<long long>(sender.Tag)));
    fields.push_back(FormField("plug_id", plug_.Id));
    url = sender.Session().ActionUrl("get_plug_info");
    return true;
  }
  const auto reply = ParseRateReply(sender.Reply());
  const bool failed = !ok || !reply;
  out_.Post([failed](TRatingsWindowReceiver& r) { r.SetLoadFailed(failed); });
  if (!reply) return false;
  const uint32_t code = ReplyCode(reply->value);
  switch (code) {
    case rcPlugKnown:
      PostRatings(out_, reply->value);
      if (reviews_asked_) return false;
      reviews_asked_ = true;
      FirstPage(ReadServicePlugId(reply->value), sender, fields, url);
      return true;
    case rcPlugUnknown:
      if (registered_) break;
      registered_ = true;
      fields = {FormField("browser_id", plug_.BrowserId), FormField("name", plug_.Name),
                FormField("introduction", plug_.Description), FormField("plug_id", plug_.Id)};
      url = sender.Session().ActionUrl("add_plug");
      return true;
    case rcLastPage:
    case rcMorePages: PostReviews(out_, reply->value, code); return false;
    default: break;
  }
  PostCode(out_, code);
  return false;
}

CommentsStep::CommentsStep(std::string service_plug_id, int sort_type, int start_id,
                           std::shared_ptr<TRatingsWindowLink> link)
    : service_plug_id_(std::move(service_plug_id)),
      sort_type_(sort_type),
      start_id_(std::max(start_id, 0)),
      out_(std::move(link)) {}

bool CommentsStep::operator()(TRateThread& sender, bool&, TRateFields& fields, std::string& url) {
  if (!out_.Attached()) return false;
  if (url.empty()) {
    fields.push_back(FormField("plug_id", service_plug_id_));
    fields.push_back(FormField("sort_type", sort_type_));
    fields.push_back(FormField("start_id", start_id_));
    url = sender.Session().ActionUrl("get_comments");
    return true;
  }
  // A page that cannot be read changes nothing: the list keeps its rows and "more" row.
  const auto reply = ParseRateReply(sender.Reply());
  if (!reply) return false;
  const uint32_t code = ReplyCode(reply->value);
  if (code == rcLastPage || code == rcMorePages) {
    PostReviews(out_, reply->value, code);
  } else {
    PostCode(out_, code);
  }
  return false;
}

AddCommentStep::AddCommentStep(TRatedPlug plug, std::string service_plug_id, std::string nickname,
                               std::string content, int score,
                               std::shared_ptr<TRatingsWindowLink> link)
    : plug_(std::move(plug)),
      service_plug_id_(std::move(service_plug_id)),
      nickname_(std::move(nickname)),
      content_(std::move(content)),
      score_(score),
      out_(std::move(link)) {}

bool AddCommentStep::operator()(TRateThread& sender, bool&, TRateFields& fields, std::string& url) {
  if (!out_.Attached()) return false;
  if (url.empty()) {
    fields.push_back(FormField("plug_id", service_plug_id_));
    fields.push_back(FormField("nickname", nickname_));
    fields.push_back(FormField("content", content_));
    fields.push_back(FormField("ver", plug_.Version));
    fields.push_back(FormField("score", score_));
    url = sender.Session().ActionUrl("add_comment");
    return true;
  }
  const auto reply = ParseRateReply(sender.Reply());
  if (!reply) {
    PostCode(out_, rcUnreadableReply);
    return false;
  }
  const uint32_t code = ReplyCode(reply->value);
  switch (code) {
    case rcPlugKnown: PostRatings(out_, reply->value); return false;
    case rcCommentStored:
      if (refreshed_) return false;
      refreshed_ = true;
      PostCode(out_, code, static_cast<intptr_t>(ReadReviewId(reply->value)));
      fields = {FormField("browser_id", plug_.BrowserId), FormField("plug_id", plug_.Id)};
      url = sender.Session().ActionUrl("get_plug_info");
      return true;
    default: PostCode(out_, code); return false;
  }
}

VoteStep::VoteStep(std::shared_ptr<TRatingsWindowLink> link) : out_(std::move(link)) {}

bool VoteStep::operator()(TRateThread& sender, bool&, TRateFields&, std::string& url) {
  if (!out_.Attached()) return false;
  if (url.empty()) {
    url = sender.Session().ActionUrl("add_comment_ratings");
    return true;
  }
  const auto reply = ParseRateReply(sender.Reply());
  if (reply) {
    PostCode(out_, ReplyCode(reply->value), sender.Tag);
  } else {
    PostCode(out_, rcUnreadableReply);
  }
  return false;
}

std::shared_ptr<const bool> StartPlugInfo(TRatedPlug plug, std::shared_ptr<TRatingsWindowLink> link,
                                          std::shared_ptr<TRateSession> session) {
  // The thread's Tag is the sort order of the first request: by usefulness.
  return StartRateThread(PlugInfoStep(std::move(plug), std::move(link)), {}, 0, std::move(session));
}

std::shared_ptr<const bool> StartComments(std::string service_plug_id, int sort_type, int start_id,
                                          std::shared_ptr<TRatingsWindowLink> link,
                                          std::shared_ptr<TRateSession> session) {
  return StartRateThread(
      CommentsStep(std::move(service_plug_id), sort_type, start_id, std::move(link)), {}, 0,
      std::move(session));
}

std::shared_ptr<const bool> StartAddComment(TRatedPlug plug, std::string service_plug_id,
                                            std::string nickname, std::string content, int score,
                                            std::shared_ptr<TRatingsWindowLink> link,
                                            std::shared_ptr<TRateSession> session) {
  return StartRateThread(
      AddCommentStep(std::move(plug), std::move(service_plug_id), std::move(nickname),
                     std::move(content), score, std::move(link)),
      {}, 0, std::move(session));
}

std::shared_ptr<const bool> StartVote(int64_t review_id, int score,
                                      std::shared_ptr<TRatingsWindowLink> link,
                                      std::shared_ptr<TRateSession> session) {
  return StartRateThread(VoteStep(std::move(link)),
                         {FormField("comment_id", review_id), FormField("score", score)},
                         static_cast<intptr_t>(review_id), std::move(session));
}

}  // namespace orvo
