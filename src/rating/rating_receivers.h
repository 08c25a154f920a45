#pragma once
// What the windows implement to receive the results of their request chains. Every
// method runs on the user-interface thread; a chain reaches it only while the window's
// link is attached (receiver_link.h).
//
//   main window     TRatingResultReceiver   average ratings (sent: the window's handler
//                                           has run before the chain goes on) and codes
//                                           0, 65534, 65535 (posted)
//   ratings window  TRatingsWindowReceiver  everything posted, never sent: the window
//                                           may block its thread while a chain runs
#include <vector>

#include "rating/rate_replies.h"
#include "rating/rating_codes.h"
#include "rating/receiver_link.h"

namespace orvo {

// The WM_RATINGRESULT handler of a window.
class TRatingResultReceiver {
 public:
  virtual ~TRatingResultReceiver() = default;
  virtual void RatingResult(const TRatingResult& result) = 0;
};

class TRatingsWindowReceiver : public TRatingResultReceiver {
 public:
  // The opening chain's verdict after each reply: true when the request failed or its
  // reply could not be read. The last call before the chain ends is the one that counts.
  virtual void SetLoadFailed(bool failed) = 0;
  // A reply with code 1: the service's id of the add-on and its ratings (0 where the
  // reply gave none).
  virtual void ApplyRatings(const TPlugRatings& ratings) = 0;
  // One page of reviews; `more` when the service has a further page.
  virtual void AddReviewRows(const std::vector<TReviewData>& reviews, bool more) = 0;
};

using TRatingResultLink = TReceiverLink<TRatingResultReceiver>;
using TRatingsWindowLink = TReceiverLink<TRatingsWindowReceiver>;

}  // namespace orvo
