#pragma once
// The numbers the rating service and the windows agree on: the result codes of the
// service's replies, the two codes the request threads add themselves, and the window
// message WM_RATINGRESULT whose parameters carry them. A result travels as the message
// would: WParam holds the code (for an average rating also the rating, in tenths, in its
// high 16 bits) and LParam a review id, an add-on record or 0.
#include <cstdint>

namespace orvo {

class TBrowserExtensionInfo;

inline constexpr uint32_t WM_RATINGRESULT = 0x12E4;  // 4836

// Result codes. 0 to 13 come from the service; the last two never do.
inline constexpr uint32_t rcNotVerified = 0;  // the service could not verify the product
inline constexpr uint32_t rcPlugKnown = 1;    // ratings follow
inline constexpr uint32_t rcPlugUnknown = 2;
inline constexpr uint32_t rcCommentNotStored = 3;
inline constexpr uint32_t rcCommentStored = 4;  // c_id holds the review's id
inline constexpr uint32_t rcLastPage = 5;       // reviews follow, no further page
inline constexpr uint32_t rcMorePages = 6;      // reviews follow, a further page exists
inline constexpr uint32_t rcReportStored = 7;
inline constexpr uint32_t rcVoteStored = 8;  // like or dislike
inline constexpr uint32_t rcAverageRatings = 9;
inline constexpr uint32_t rcAlreadyVoted = 10;
inline constexpr uint32_t rcAlreadyCommented = 11;
inline constexpr uint32_t rcAlreadyReported = 12;
inline constexpr uint32_t rcKeyGranted = 13;
inline constexpr uint32_t rcAllRatingsDelivered = 65534;  // 0xFFFE
inline constexpr uint32_t rcUnreadableReply = 65535;      // 0xFFFF: missing or unparseable

// The parameters of one WM_RATINGRESULT.
struct TRatingResult {
  uintptr_t WParam = 0;
  intptr_t LParam = 0;

  // The low 16 bits: the result code.
  uint32_t Code() const { return static_cast<uint32_t>(WParam & 0xFFFF); }
  // For code 9: the average rating in tenths (the high 16 bits), and as stars.
  uint32_t RatingTenths() const { return static_cast<uint32_t>((WParam >> 16) & 0xFFFF); }
  double Rating() const { return RatingTenths() / 10.0; }
  // For code 9: the add-on record the rating belongs to; null for any other code.
  TBrowserExtensionInfo* Record() const;
};

// A plain result: the code and LParam (a review id or 0).
TRatingResult MakeRatingResult(uint32_t code, intptr_t lparam = 0);
// An average rating for a record: WParam = (truncate(average x 10) << 16) + 9. The average
// must lie within 0 to 5 (see ParseAverageRating).
TRatingResult MakeAverageRatingResult(double average, TBrowserExtensionInfo* record);

}  // namespace orvo
