#pragma once
// The rows of the ratings window's review list: what a row holds, how the service's texts
// are made safe to show, and where a row's parts go. A review row, with its rectangle
// L, T, R, B (list coordinates) and the vote column starting at x0 = R - VoteColumn:
//
//   L            L+120 L+130                                  x0                    R
//   +----------------------------------------------------------+--------------------+ T
//   |                   ***** (score, 17 px apart, at T+2)      |                    |
//   |  nickname  (T+10)                                       |                    |
//   |                   content, word-wrapped, from T+20       | [^] Like [v] Dislike [!] Report
//   |  date      (T+30)                                       |   like area at x0+5, T+20
//   |                   ...                                   |                    |
//   +----------------------------------------------------------+--------------------+ B
//   a line in D2D2D2 along the bottom edge
//
// The vote areas are at least 50 pixels wide and grow with their captions (German ones are
// longer); the vote column is at least 200 pixels and grows with them. The content is
// measured in the width it is drawn in, and the row is that height plus the content's top
// offset and a margin, kept within 60 to 220 pixels.
#include <cstdint>
#include <string>
#include <string_view>

#include "graphics/canvas.h"
#include "graphics/font.h"
#include "rating/rate_replies.h"
#include "ui/lum_list_item.h"

namespace orvo {

inline constexpr int kReviewRowMinHeight = 60;
inline constexpr int kReviewRowMaxHeight = 220;
inline constexpr int kMoreRowHeight = 32;
inline constexpr int kContentLeft = 130;  // from the row's left
inline constexpr int kContentTop = 20;    // from the row's top
inline constexpr int kContentBottomMargin = 10;
inline constexpr TColor kReviewLinkBlue = 0xE69616;  // 15111446: the "more" row, live votes
inline constexpr TColor kReviewLine = 0xD2D2D2;      // 13816530: the line under each row
inline constexpr TColor kEmptyListText = 0xBDBDBD;   // 12434877: "NONERATE"

// One review row's data (TReviewItem), owned by its list row; a row without one is the
// "more" row.
struct TReviewItem : TItemData {
  int64_t Id = 0;  // the review's id (for the user's own new review: c_id)
  // As shown: ShownLine / ShownText of what the service sent.
  std::string Nickname;
  std::string Content;
  std::string Date;
  int Score = 0;          // 0 .. 5
  bool voted = false;     // liked or disliked: Like and Dislike no longer react
  bool reported = false;  // Report no longer reacts
  // Hot spots, list coordinates, from the row's last painting.
  Rect LikeArea = kNoRect;
  Rect DislikeArea = kNoRect;
  Rect ReportArea = kNoRect;
  // The last measure: the content width it was made for and the row height it gave.
  int MeasuredWidth = -1;
  int MeasuredHeight = 0;
};

TReviewItem MakeReviewItem(const TReviewData& review);

// Text from the service (or typed by the user) as the list shows it: text, never markup
// or commands. A line (nickname, date): every control character (line breaks too) becomes
// a blank. A text (the content): line breaks stay, other control characters become
// blanks. Both are cut, with an ellipsis, at lengths far beyond what a row can show, so
// that a huge reply costs no more to measure than a full row.
std::string ShownLine(std::string_view text);
std::string ShownText(std::string_view text);

// The fonts, captions and sizes every review row shares; made again when the language
// changes.
struct TReviewRowLook {
  Font nickname;
  Font date;
  Font content;
  Font vote;  // its colour is set per state when painting
  Font more;
  std::string like, dislike, report, more_text;
  int like_width = 50;
  int dislike_width = 50;
  int report_width = 50;
  int vote_column = 200;

  // Sizes the vote areas and the column for the captions in the vote font.
  void Measure(Canvas& canvas);
};

struct TVoteAreas {
  Rect like;
  Rect dislike;
  Rect report;
};
// The vote areas of a row (list coordinates).
TVoteAreas VoteAreas(const TReviewRowLook& look, const Rect& row);
// Where the content goes in a row.
Rect ContentRect(const TReviewRowLook& look, const Rect& row);
// The row height for content of that measured height.
int ReviewRowHeight(int content_height);
// The colour of the Like, Dislike and Report captions once done: the system's grey-text
// colour where the system has a scheme of its own, else the classic one.
TColor GrayTextColor();
// Today (the local calendar date) in the user's short date format.
std::string TodayShortDate();

// DrawText formats of the parts.
inline constexpr uint32_t kContentFormat =
    kDtWordBreak | kDtEditControl | kDtEndEllipsis | kDtNoPrefix;
inline constexpr uint32_t kNameFormat = kDtCenter | kDtSingleLine | kDtEndEllipsis | kDtNoPrefix;

}  // namespace orvo
