#pragma once
// The ratings window: one add-on's community rating and reviews, and the user's own
// review. The main window opens it for a list row (ShowRatings, ratings_window.h); all
// its data comes from the rating service through the four request chains of
// rating/review_steps.h, whose results the window receives on the user-interface thread.
//
//   0   27  81                                      514       598        692      750
//   +----------------------------------------------------------------------------+ 0
//   | logo  Ratings                                                          [x] |
//   +----------------------------------------------------------------------------+ 30
//   | [img1] lbl1: name version                      *****  [img3 bar ]  lbl4    |
//   | 48x48  img2: five 21-pixel stars                ****  [img4 bar ]  lbl5    |
//   |        lbl3: description, word-wrapped,         ***  [img5 bar ]  lbl6    |
//   |              431 x 54                            **  [img6 bar ]  lbl7    |
//   |                                                   *  [img7 bar ]  lbl8    |
//   +----------------------------------------------------------------------------+ 139
//   | [btn2 User Reviews][btn3 My Review]               lbl9 Sorted By [cbb1   v] | 147
//   +----------------------------------------------------------------------------+ 175
//   | m_lstView (tab 0): one row per review, the "more" row last                  |
//   |   or lmpnl1 (tab 1): Rate: [img13 *****]  Nickname: [lmdtnk]               |
//   |                      Content: [redt1 615 x 130]                  [btn1]    |
//   +----------------------------------------------------------------------------+ 480
//
// Files: ratings_form.cpp (layout, language, tabs, what the chains hand over, notices),
// ratings_stars.cpp (stars, bars and the star input), ratings_reviews.cpp (the review
// list), ratings_my_review.cpp (nickname, submit).
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "catalogue/browser_app.h"
#include "graphics/bitmap.h"
#include "rating/rating_receivers.h"
#include "rating/review_steps.h"
#include "shell/base_form.h"
#include "shell/review_rows.h"
#include "ui/lum_button.h"
#include "ui/lum_combobox.h"
#include "ui/lum_edit.h"
#include "ui/lum_image.h"
#include "ui/lum_label.h"
#include "ui/lum_list_view.h"
#include "ui/lum_memo.h"
#include "ui/lum_panel.h"

namespace orvo {

inline constexpr int kRatingsWidth = 750;
inline constexpr int kRatingsHeight = 480;
// The service refuses longer nicknames and texts (UTF-16 units).
inline constexpr int kNicknameLimit = 25;
inline constexpr int kReviewTextLimit = 2000;

class TfrmXOBRate : public TfrmBase, public TRatingsWindowReceiver {
 public:
  // Centred on `owner` when there is one. The catalogue and the record are borrowed: they
  // must outlive the window (the main window is disabled while it shows).
  TfrmXOBRate(TBrowserAppBase& catalogue, TBrowserExtensionInfo& addon, TForm* owner);
  ~TfrmXOBRate() override;

  // --- controls (named as the layout names them) ---
  TLumImage* img1 = nullptr;             // the add-on's icon
  TLumLabel* lbl1 = nullptr;             // name and version
  TLumImage* img2 = nullptr;             // the average as five stars
  TLumLabel* lbl3 = nullptr;             // description
  std::array<TLumImage*, 5> captions{};  // img8 .. img12: 5 .. 1 small stars
  std::array<TLumImage*, 5> bars{};      // img3 .. img7: bars for 5 .. 1 stars
  std::array<TLumLabel*, 5> counts{};    // lbl4 .. lbl8: counts for 5 .. 1 stars
  TLumButton* btn2 = nullptr;            // tab "User Reviews"
  TLumButton* btn3 = nullptr;            // tab "My Review"
  TLumLabel* lbl9 = nullptr;
  TLumCombobox* cbb1 = nullptr;
  TLumListView* m_lstView = nullptr;
  TLumLabel* lblfirst = nullptr;  // "Comment Now", inside the list
  TLumPanel* lmpnl1 = nullptr;
  TLumLabel* lbl10 = nullptr;
  TLumImage* img13 = nullptr;  // the star input
  TLumLabel* lbl11 = nullptr;
  TLumEdit* lmdtnk = nullptr;
  TLumLabel* lbl12 = nullptr;
  TLumMemo* redt1 = nullptr;
  TLumButton* btn1 = nullptr;  // Submit

  // --- state ---
  bool LoadFailed = false;
  std::array<int64_t, 5> StarCounts{};  // for 1 .. 5 stars
  std::string ServicePlugId;
  int Score = 0;  // stars chosen in "My Review", 0 = none

  // Translation (the base form's), then the captions of the two tabs.
  void ApplyLanguage() override;
  void FormCreate() override;

  // --- opening (ShowRatings) ---
  // Starts the opening chain; its end flag.
  std::shared_ptr<const bool> StartOpening();
  // The texts, the list's column, the sort choice and the first tab, once the opening
  // chain has brought the data.
  void Fill();
  // From now on no chain reaches the window (it closes, or its opening was given up).
  void DetachChains();

  // --- what the chains hand over (user-interface thread) ---
  void RatingResult(const TRatingResult& result) override;
  void SetLoadFailed(bool failed) override;
  void ApplyRatings(const TPlugRatings& ratings) override;
  void AddReviewRows(const std::vector<TReviewData>& reviews, bool more) override;

  // --- commands, as the controls fire them ---
  void btn2Click(TLumButton& tab);  // both tabs; the Tag picks
  void lblfirstclick();
  void btn1Click();
  // The sort choice changed: the list reloads from the first page in that order.
  void SortChanged();
  // The page chain, the submit chain and the vote chains that still run.
  bool PageRunning() const { return page_ && !*page_; }
  bool SubmitRunning() const { return submit_ && !*submit_; }
  // Any chain of the window still runs (or has not handed everything over yet).
  bool Busy() const;
  int SelectedTab() const { return selected_tab_; }
  // Reviews the service has sent for the present order (the next page starts after them).
  int ServiceRowsListed() const { return service_rows_; }
  // The average shown, from the record or the last code-1 reply.
  double Average() const { return average_; }
  // Where the chains' notices appear (screen coordinates).
  Point NoticePoint() const;

  // --- the review list (ratings_reviews.cpp) ---
  static TReviewItem* ReviewOf(const TLumLvItem& row) { return row.DataAs<TReviewItem>(); }
  // The row of a review id, or null.
  TLumLvItem* RowOfReview(int64_t review_id) const;
  // A row for each review (one already listed is left out), then the "more" row when
  // `more`; the old "more" row goes first.
  void AppendReviews(const std::vector<TReviewData>& reviews, bool more);
  // The user's own review at the top, as typed.
  void InsertOwnReview(int64_t review_id);
  const TReviewRowLook& RowLook() { return look_; }

 private:
  // ratings_form.cpp
  void BuildHeader();
  void BuildTabs();
  void BuildList();
  void BuildMyReview();
  void ShowNotice(const std::string& key, bool success);
  void MarkRow(int64_t review_id, bool report);
  void UpdateEmptyState();

  // ratings_stars.cpp
  void img1AfterDrawPaint(Canvas& canvas);
  void img2AfterDrawPaint(Canvas& canvas);
  void img3AfterDrawPaint(TLumImage& bar, Canvas& canvas);
  void img8AfterDrawPaint(TLumImage& caption, Canvas& canvas);
  void img13AfterDrawPaint(Canvas& canvas);
  void img13MouseMove(int x);
  void img13MouseLeave();
  void img13click();

  // ratings_reviews.cpp
  void MeasureRow(TLumLvItem& row, int& height);
  void DrawRow(Canvas& canvas, TLumLvItem& row);
  void ListMouseMove(int x, int y);
  void m_lstViewItemMouseMove(TLumLvItem& row, int x, int y);
  void m_lstViewItemClick(TLumLvItem& row);
  void m_lstViewDrawBackGround(Bitmap32& bitmap);
  void StartNextPage();
  void StartVote(TReviewItem& review, int score);

  // ratings_my_review.cpp
  void lmdtnkkeyPress(char16_t& key);

  TBrowserAppBase& catalogue_;
  TBrowserExtensionInfo& addon_;
  const TRatedPlug plug_;  // what the chains send about the add-on
  double average_ = 0;

  TReceiverAnchor<TRatingsWindowReceiver> anchor_{*this};
  // The page chains' own link: a new order drops the pages of the old one.
  std::shared_ptr<TRatingsWindowLink> list_link_;
  std::shared_ptr<const bool> opening_, page_, submit_;
  std::vector<std::shared_ptr<const bool>> votes_;

  int selected_tab_ = 0;
  int service_rows_ = 0;                // reviews the service sent for this order
  std::unordered_set<int64_t> listed_;  // review ids in the list
  std::optional<Point> pointer_;        // over the list (list coordinates)
  std::optional<Point> previous_pointer_;
  const TLumLvItem* hover_row_ = nullptr;  // the row the pointer was last over
  std::optional<int> star_pointer_;        // over img13 (x)
  TReviewRowLook look_;
  PngImage icon_;  // the record's picture, decoded at its first painting
  bool icon_decoded_ = false;
  Bitmap32 measure_;  // a canvas to measure texts on
};

}  // namespace orvo
