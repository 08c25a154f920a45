// The ratings window's review list: rows measured and painted from their review data,
// the vote buttons under the pointer and their clicks, the "more" row that asks for the
// next page, the empty list's picture, and the rows the chains and the user's own review
// add. See review_rows.h for a row's parts and places.
#include <algorithm>
#include <chrono>

#include "platform/ui_dispatcher.h"
#include "shell/language.h"
#include "shell/ratings_form.h"
#include "ui/image_module.h"

namespace orvo {
namespace {

enum SharedImage {
  kLitStar = 2,
  kGreyStar = 4,
  kReportLive = 23,
  kReportDone = 24,
  kLikeLive = 25,
  kLikeDone = 26,
  kDislikeLive = 27,
  kDislikeDone = 28,
  kNoReviews = 29,
};

constexpr int kStarStep = 17;
constexpr auto kSortWait = std::chrono::milliseconds(1000);

// One vote button: its icon at the area's top-left, its caption 18 pixels right of it.
void DrawVote(Canvas& canvas, const Rect& area, const PngImage& icon, const std::string& caption,
              const Font& font) {
  canvas.DrawPng(area.left, area.top, icon);
  canvas.font = font;
  Rect text{area.left + 18, area.top, area.right + 8, area.top + 16};
  canvas.DrawText(caption, text, kDtLeft | kDtVCenter | kDtSingleLine | kDtNoPrefix);
}

}  // namespace

// --- rows ---

TLumLvItem* TfrmXOBRate::RowOfReview(int64_t review_id) const {
  for (int i = 0; i < m_lstView->ItemCount(); ++i) {
    TLumLvItem* row = m_lstView->Items(i);
    if (const TReviewItem* review = ReviewOf(*row); review && review->Id == review_id) return row;
  }
  return nullptr;
}

void TfrmXOBRate::AppendReviews(const std::vector<TReviewData>& reviews, bool more) {
  hover_row_ = nullptr;  // the "more" row may go
  m_lstView->BeginUpdate();
  if (const int n = m_lstView->ItemCount(); n > 0 && !ReviewOf(*m_lstView->Items(n - 1))) {
    m_lstView->DeleteItem(m_lstView->Items(n - 1));
  }
  for (const TReviewData& data : reviews) {
    // Every review the service sent counts for the next page's offset, also one that is
    // listed already: the user's own new review, which the service may send again in a
    // later page since it joined the order after the first pages were read.
    ++service_rows_;
    if (!listed_.insert(data.Id).second) continue;
    TLumLvItem& row = m_lstView->AddItem();
    row.Data = std::make_unique<TReviewItem>(MakeReviewItem(data));
  }
  if (more) m_lstView->AddItem();
  m_lstView->EndUpdate();
  UpdateEmptyState();
}

void TfrmXOBRate::InsertOwnReview(int64_t review_id) {
  TReviewItem review;
  review.Id = review_id;
  review.Nickname = ShownLine(lmdtnk->Text());
  review.Content = ShownText(redt1->Text());
  review.Score = std::clamp(Score, 0, 5);
  review.Date = ShownLine(TodayShortDate());
  listed_.insert(review_id);
  auto row = std::make_unique<TLumLvItem>();
  row->Data = std::make_unique<TReviewItem>(std::move(review));
  TLumLvItem* inserted = m_lstView->InsertItem(std::move(row), 0);
  UpdateEmptyState();
  if (inserted) m_lstView->ScrollIntoView(inserted);
}

// The content measured in the width it is painted in, kept per row until that width
// changes: a layout measures every row, and most rows keep their height.
void TfrmXOBRate::MeasureRow(TLumLvItem& row, int& height) {
  TReviewItem* review = ReviewOf(row);
  if (!review) {
    height = kMoreRowHeight;
    return;
  }
  const TLumScrollBar* bar = m_lstView->VerticalBar();
  const int row_width = m_lstView->Width() - 4 - (m_lstView->VerticalBarShown() ? bar->Width() : 0);
  const int width = std::max(row_width - kContentLeft - look_.vote_column, 20);
  if (review->MeasuredWidth != width) {
    Canvas& canvas = measure_.canvas();
    canvas.font = look_.content;
    Rect r{0, 0, width, 0};
    if (!review->Content.empty()) canvas.DrawText(review->Content, r, kContentFormat | kDtCalcRect);
    review->MeasuredWidth = width;
    review->MeasuredHeight = ReviewRowHeight(review->Content.empty() ? 0 : r.height());
  }
  height = review->MeasuredHeight;
}

void TfrmXOBRate::DrawRow(Canvas& canvas, TLumLvItem& row) {
  const Rect r = row.ItemRect;
  canvas.brush.style = BrushStyle::kClear;
  TReviewItem* review = ReviewOf(row);
  if (!review) {
    canvas.font = look_.more;
    Rect text = r;
    canvas.DrawText(look_.more_text, text, kDtCenter | kDtVCenter | kDtSingleLine | kDtNoPrefix);
    return;
  }
  canvas.font = look_.nickname;
  Rect name{r.left, r.top + 10, r.left + 120, r.top + 27};
  canvas.DrawText(review->Nickname, name, kNameFormat);
  canvas.font = look_.date;
  Rect date = name.Offset(0, 20);
  canvas.DrawText(review->Date, date, kNameFormat);
  for (int k = 0; k < 5; ++k) {
    canvas.DrawPng(r.left + kContentLeft + kStarStep * k, r.top + 2,
                   SharedPng(k < review->Score ? kLitStar : kGreyStar));
  }
  Rect content = ContentRect(look_, r);
  canvas.Save();
  canvas.IntersectClip(content);
  canvas.font = look_.content;
  canvas.DrawText(review->Content, content, kContentFormat);
  canvas.Restore();

  const TVoteAreas areas = VoteAreas(look_, r);
  review->LikeArea = areas.like;
  review->DislikeArea = areas.dislike;
  review->ReportArea = areas.report;
  // Live captions are blue and underlined under the pointer; done ones are grey.
  const auto font_for = [&](bool done, const Rect& area) {
    Font f = look_.vote;
    f.color = done ? GrayTextColor() : kReviewLinkBlue;
    if (!done && pointer_ && area.Contains(*pointer_)) f.style |= fsUnderline;
    return f;
  };
  DrawVote(canvas, areas.like, SharedPng(review->voted ? kLikeDone : kLikeLive), look_.like,
           font_for(review->voted, areas.like));
  DrawVote(canvas, areas.dislike, SharedPng(review->voted ? kDislikeDone : kDislikeLive),
           look_.dislike, font_for(review->voted, areas.dislike));
  DrawVote(canvas, areas.report, SharedPng(review->reported ? kReportDone : kReportLive),
           look_.report, font_for(review->reported, areas.report));

  canvas.pen.color = kReviewLine;
  canvas.pen.style = PenStyle::kSolid;
  canvas.MoveTo(r.left, r.bottom - 1);
  canvas.LineTo(r.right, r.bottom - 1);
}

// --- the pointer ---

// The pointer's place is taken before the list repaints the rows whose hover look
// changed (ListMouseMove), so those paints underline the right caption already; a row is
// painted again here only when the pointer moved between its parts.
void TfrmXOBRate::ListMouseMove(int x, int y) {
  previous_pointer_ = pointer_;
  pointer_ = Point{x, y};
}

void TfrmXOBRate::m_lstViewItemMouseMove(TLumLvItem& row, int x, int y) {
  const Point p{x, y};
  const TReviewItem* review = ReviewOf(row);
  // Which live part is under the pointer: the "more" row, or a button not done yet.
  const auto live_part = [&](const std::optional<Point>& at) {
    if (!at || !row.ItemRect.Contains(*at)) return 0;
    if (!review) return 4;
    if (!review->voted && review->LikeArea.Contains(*at)) return 1;
    if (!review->voted && review->DislikeArea.Contains(*at)) return 2;
    if (!review->reported && review->ReportArea.Contains(*at)) return 3;
    return 0;
  };
  const int part = live_part(p);
  m_lstView->Cursor = part ? crHandPoint : crDefault;
  const bool row_changed = hover_row_ != &row;
  hover_row_ = &row;
  if (!row_changed && part != live_part(previous_pointer_)) m_lstView->RedrawItem(&row);
}

void TfrmXOBRate::m_lstViewItemClick(TLumLvItem& row) {
  TReviewItem* review = ReviewOf(row);
  if (!review) {
    const int n = m_lstView->ItemCount();
    if (n >= 2 && ReviewOf(*m_lstView->Items(n - 2))) StartNextPage();
    return;
  }
  if (!pointer_) return;
  if (!review->voted) {
    if (review->LikeArea.Contains(*pointer_)) {
      StartVote(*review, 1);
    } else if (review->DislikeArea.Contains(*pointer_)) {
      StartVote(*review, 0);
    }
  }
  if (!review->reported && review->ReportArea.Contains(*pointer_)) StartVote(*review, 2);
}

void TfrmXOBRate::StartVote(TReviewItem& review, int score) {
  std::erase_if(votes_, [](const std::shared_ptr<const bool>& ended) { return *ended; });
  votes_.push_back(orvo::StartVote(review.Id, score, anchor_.Link()));
}

// One page at a time: a second click on "more" while a page is on its way would ask for
// the same page again and list its reviews twice.
void TfrmXOBRate::StartNextPage() {
  if (PageRunning()) return;
  page_ = StartComments(ServicePlugId, std::max(cbb1->index(), 0), service_rows_, list_link_);
}

void TfrmXOBRate::SortChanged() {
  // Pages of the old order that are still on their way are not for this list.
  list_link_->Detach();
  list_link_ = std::make_shared<TRatingsWindowLink>(*this);
  m_lstView->Clear();
  listed_.clear();
  service_rows_ = 0;
  pointer_.reset();
  hover_row_ = nullptr;
  UpdateEmptyState();
  const std::shared_ptr<const bool> page =
      StartComments(ServicePlugId, std::max(cbb1->index(), 0), 0, list_link_);
  page_ = page;
  // A short wait for the first page, so the list does not flash empty in between. The
  // chain hands its rows over by posting, which this wait lets through.
  if (auto ui = os::CurrentUiDispatcher(); ui && ui->IsUiThread()) {
    ui->RunUntil([&page] { return *page; }, kSortWait);
  }
}

// --- the empty list ---

void TfrmXOBRate::m_lstViewDrawBackGround(Bitmap32& bitmap) {
  if (m_lstView->ItemCount() > 0) return;
  const PngImage& picture = SharedPng(kNoReviews);
  const int x = (m_lstView->Width() - picture.width()) / 2;
  const int y = (m_lstView->Height() - picture.height()) / 2 - 30;
  Canvas& canvas = bitmap.canvas();
  canvas.DrawPng(x, y, picture);
  canvas.font = look_.content;
  canvas.font.color = kEmptyListText;
  canvas.brush.style = BrushStyle::kClear;
  Rect text{0, y + picture.height() + 10, m_lstView->Width(), y + picture.height() + 26};
  canvas.DrawText(
      GetLangString("Messages", "NONERATE", "No ratings have been made on this plug-in."), text,
      kDtCenter | kDtTop | kDtSingleLine | kDtNoPrefix);
}

}  // namespace orvo
