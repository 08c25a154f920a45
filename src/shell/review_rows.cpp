// Review rows: shown texts and the places of a row's parts; see review_rows.h.
#include "shell/review_rows.h"

#include <algorithm>
#include <ctime>

#include "platform/date_format.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvo {
namespace {

// Far more than a row shows: a nickname cell holds some 20 characters, a 220-pixel row of
// content some 1,500.
constexpr size_t kLineLimit = 200;   // code points
constexpr size_t kTextLimit = 2500;  // code points
constexpr char kEllipsis[] = "\xE2\x80\xA6";

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

std::string Shown(std::string_view text, bool keep_breaks, size_t limit) {
  std::string out;
  out.reserve(std::min(text.size(), limit * 4));
  size_t i = 0;
  size_t count = 0;
  while (i < text.size()) {
    if (count == limit) {
      out += kEllipsis;
      break;
    }
    const size_t start = i;
    const char32_t c = NextUtf8CodePoint(text, i);
    ++count;
    if (c == U'\r' || c == U'\n') {
      out += keep_breaks ? static_cast<char>(c) : ' ';
    } else if (IsControl(c) || c == 0xFFFD) {
      // A stray byte is shown as the replacement character, not as itself.
      out += c == 0xFFFD ? "\xEF\xBF\xBD" : " ";
    } else {
      out.append(text.substr(start, i - start));
    }
  }
  return out;
}

int AreaWidth(Canvas& canvas, const std::string& caption) {
  // The icon takes 16 pixels and the caption starts 18 pixels right of the icon's left.
  return std::max(50, 18 + canvas.TextWidth(caption) + 2);
}

}  // namespace

TReviewItem MakeReviewItem(const TReviewData& review) {
  TReviewItem item;
  item.Id = review.Id;
  item.Nickname = ShownLine(review.Nickname);
  item.Content = ShownText(review.Content);
  item.Date = ShownLine(review.Date);
  item.Score = std::clamp(review.Score, 0, 5);
  return item;
}

std::string ShownLine(std::string_view text) { return Shown(text, false, kLineLimit); }

std::string ShownText(std::string_view text) { return Shown(text, true, kTextLimit); }

void TReviewRowLook::Measure(Canvas& canvas) {
  canvas.font = vote;
  like_width = AreaWidth(canvas, like);
  dislike_width = AreaWidth(canvas, dislike);
  report_width = AreaWidth(canvas, report);
  vote_column = std::max(200, 5 + like_width + 10 + dislike_width + 10 + report_width + 10);
}

TVoteAreas VoteAreas(const TReviewRowLook& look, const Rect& row) {
  const int x0 = row.right - look.vote_column;
  const int y0 = row.top;
  TVoteAreas a;
  a.like = {x0 + 5, y0 + 20, x0 + 5 + look.like_width, y0 + 36};
  a.dislike = {a.like.right + 10, a.like.top, a.like.right + 10 + look.dislike_width,
               a.like.bottom};
  a.report = {a.dislike.right + 10, a.dislike.top, a.dislike.right + 10 + look.report_width,
              a.dislike.top + 18};
  return a;
}

Rect ContentRect(const TReviewRowLook& look, const Rect& row) {
  return {row.left + kContentLeft, row.top + kContentTop, row.right - look.vote_column, row.bottom};
}

TColor GrayTextColor() {
  if (os::IsInstalled()) {
    if (const auto colour = os::Current().system().GrayTextColor()) return *colour;
  }
  return ColorToRGB(clGrayText);
}

std::string TodayShortDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  const int year = local.tm_year + 1900, month = local.tm_mon + 1, day = local.tm_mday;
  if (os::IsInstalled()) return os::Current().system().ShortDate(year, month, day);
  return os::FormatDatePicture(os::kIsoDatePicture, year, month, day);
}

int ReviewRowHeight(int content_height) {
  return std::clamp(content_height + kContentTop + kContentBottomMargin, kReviewRowMinHeight,
                    kReviewRowMaxHeight);
}

}  // namespace orvo
