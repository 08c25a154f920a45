// Packing of the WM_RATINGRESULT parameters.
#include "rating/rating_codes.h"

#include <cmath>

namespace orvo {

TBrowserExtensionInfo* TRatingResult::Record() const {
  if (Code() != rcAverageRatings) return nullptr;
  return reinterpret_cast<TBrowserExtensionInfo*>(LParam);
}

TRatingResult MakeRatingResult(uint32_t code, intptr_t lparam) {
  return TRatingResult{static_cast<uintptr_t>(code), lparam};
}

TRatingResult MakeAverageRatingResult(double average, TBrowserExtensionInfo* record) {
  const auto tenths = static_cast<uintptr_t>(std::trunc(average * 10));
  return TRatingResult{(tenths << 16) + rcAverageRatings, reinterpret_cast<intptr_t>(record)};
}

}  // namespace orvo
