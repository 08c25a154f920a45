// The ratings window's layout, its translated texts, the two tabs, and what the request
// chains hand over: ratings, review pages and the result codes shown as notices.
#include "shell/ratings_form.h"

#include <algorithm>
#include <utility>

#include "platform/window_system.h"
#include "shell/language.h"
#include "shell/message_form.h"
#include "ui/application.h"
#include "ui/image_module.h"
#include "ui/product_look.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

constexpr TColor kText = MakeColor(56, 56, 56);
constexpr TColor kGrey = MakeColor(132, 132, 132);
constexpr TColor kTabText = MakeColor(90, 98, 110);
constexpr TColor kTabActive = MakeColor(12, 104, 176);
constexpr int kTabsTop = 147;
constexpr int kTabHeight = 28;
constexpr int kTabMinWidth = 104;
constexpr int kRowsTop = 36;   // first distribution row
constexpr int kRowPitch = 19;  // between distribution rows

TLumLabel* AddLabel(TWinControl& parent, const char* name, const std::string& caption, Rect r,
                    TColor color) {
  TLumLabel* l = AddFormLabel(parent, name, caption, r, color);
  l->SetSupportMouseOverDown(false);
  return l;
}

TLumImage* AddImage(TWinControl& parent, const char* name, Rect r, int tag) {
  auto* i = parent.Make<TLumImage>();
  i->Name = name;
  i->Tag = tag;
  i->SetTransparent(true);
  i->SetBounds(r.left, r.top, r.width(), r.height());
  return i;
}

// Where a window of the given size is centred: on the owner, else in the work area.
Point CentredOn(const TForm* owner, int width, int height) {
  if (owner) {
    return {owner->Left() + (owner->Width() - width) / 2,
            owner->Top() + (owner->Height() - height) / 2};
  }
  if (os::WindowSystem* system = os::CurrentWindowSystem()) {
    const Rect work = system->WorkAreaAt({0, 0});
    return {work.left + (work.width() - width) / 2, work.top + (work.height() - height) / 2};
  }
  return {0, 0};
}

}  // namespace

TfrmXOBRate::TfrmXOBRate(TBrowserAppBase& catalogue, TBrowserExtensionInfo& addon, TForm* owner)
    : TfrmBase("TfrmXOBRate"),
      catalogue_(catalogue),
      addon_(addon),
      plug_(RatedPlugOf(catalogue, addon)),
      average_(addon.Rating),
      list_link_(std::make_shared<TRatingsWindowLink>(*this)) {
  const Point at = CentredOn(owner, kRatingsWidth, kRatingsHeight);
  PopupParent = owner;
  SetBounds(at.x, at.y, kRatingsWidth, kRatingsHeight);
  SetCaption("Ratings");
  lmfrm1->ImgForm = SkinPng("rate_form");
  lmfrm1->FormSplit = TLumUIPadding(10, 180, 740, 470);
  lmfrm1->FormBtns = 0;
  measure_.SetSize(1, 1);
  BuildHeader();
  BuildTabs();
  BuildList();
  BuildMyReview();
  lmfrm1->Loaded();
  // However it closes, nothing that still runs reaches it afterwards.
  OnClose = [this](TForm&, TCloseAction&) { DetachChains(); };
}

TfrmXOBRate::~TfrmXOBRate() {
  DetachChains();
  OnClose = nullptr;
}

void TfrmXOBRate::BuildHeader() {
  img1 = AddImage(*lmfrm1, "img1", RectOfSize(27, 33, 48, 48), 0);
  img1->OnAfterDrawPaint = [this](TControl&, Canvas& c) { img1AfterDrawPaint(c); };
  lbl1 = AddLabel(*lmfrm1, "lbl1", "", RectOfSize(81, 33, 431, 20), kText);
  lbl1->font.style = fsBold;
  lbl1->Tag = 2;  // the language's size plus two points: 13 pixels at 8 points
  img2 = AddImage(*lmfrm1, "img2", RectOfSize(81, 56, 5 * 21, 21), 0);
  img2->OnAfterDrawPaint = [this](TControl&, Canvas& c) { img2AfterDrawPaint(c); };
  lbl3 = AddLabel(*lmfrm1, "lbl3", "", RectOfSize(81, 79, 431, 54), kGrey);
  lbl3->SetWordBreak(true);

  static const char* const kCaptionNames[] = {"img8", "img9", "img10", "img11", "img12"};
  static const char* const kBarNames[] = {"img3", "img4", "img5", "img6", "img7"};
  static const char* const kCountNames[] = {"lbl4", "lbl5", "lbl6", "lbl7", "lbl8"};
  for (size_t k = 0; k < 5; ++k) {
    const int stars = 5 - static_cast<int>(k);
    const int y = kRowsTop + kRowPitch * static_cast<int>(k);
    captions[k] = AddImage(*lmfrm1, kCaptionNames[k], RectOfSize(514, y + 3, 80, 11), stars);
    captions[k]->OnAfterDrawPaint = [this](TControl& c, Canvas& canvas) {
      img8AfterDrawPaint(static_cast<TLumImage&>(c), canvas);
    };
    bars[k] = AddImage(*lmfrm1, kBarNames[k], RectOfSize(598, y + 4, 92, 9), stars);
    bars[k]->OnAfterDrawPaint = [this](TControl& c, Canvas& canvas) {
      img3AfterDrawPaint(static_cast<TLumImage&>(c), canvas);
    };
    counts[k] = AddLabel(*lmfrm1, kCountNames[k], "0", RectOfSize(698, y, 48, 17), kGrey);
  }
}

void TfrmXOBRate::BuildTabs() {
  const auto make_tab = [this](const char* name, int left, int tag) {
    auto* b = lmfrm1->Make<TLumButton>();
    b->Name = name;
    b->Tag = tag;
    b->SetTransparent(true);
    b->SetBounds(left, kTabsTop, kTabMinWidth, kTabHeight);
    b->BtnStateCount = 3;
    b->SetImgBtn(SkinPng("rate_tab"));
    b->FontNormal.color = kTabText;
    b->FontOver = b->FontDown = b->FontDisable = b->FontFocus = b->FontNormal;
    b->FontOver.color = kText;
    b->FontSelect = b->FontNormal;
    b->FontSelect.color = kTabActive;
    b->OnClick = [this](TControl& c) { btn2Click(static_cast<TLumButton&>(c)); };
    return b;
  };
  btn2 = make_tab("btn2", 15, 0);
  btn3 = make_tab("btn3", 121, 1);
  lbl9 = AddLabel(*lmfrm1, "lbl9", "Sorted By", RectOfSize(470, 149, 120, 22), kText);
  lbl9->SetAlignment(taRightJustify);
  cbb1 = lmfrm1->Make<TLumCombobox>();
  cbb1->Name = "cbb1";
  cbb1->SetBounds(596, 146, 146, 24);
}

void TfrmXOBRate::BuildList() {
  m_lstView = lmfrm1->Make<TLumListView>();
  m_lstView->Name = "m_lstView";
  m_lstView->SetBounds(5, kTabsTop + kTabHeight, kRatingsWidth - 10,
                       kRatingsHeight - kTabsTop - kTabHeight - 5);
  m_lstView->BorderColor = clNone;
  m_lstView->font.color = kText;
  lblfirst =
      AddLabel(*m_lstView, "lblfirst", "Comment Now", RectOfSize(0, 0, 100, 18), kReviewLinkBlue);
  lblfirst->SetAlignment(taCenter);
  lblfirst->SetSupportMouseOverDown(true);
  lblfirst->FontOver.style |= fsUnderline;
  lblfirst->Cursor = crHandPoint;
  lblfirst->SetVisible(false);
  lblfirst->OnClick = [this](TControl&) { lblfirstclick(); };
}

void TfrmXOBRate::BuildMyReview() {
  lmpnl1 = lmfrm1->Make<TLumPanel>();
  lmpnl1->Name = "lmpnl1";
  lmpnl1->SetTransparent(true);
  lmpnl1->SetBounds(0, kTabsTop + kTabHeight, kRatingsWidth,
                    kRatingsHeight - kTabsTop - kTabHeight);
  lmpnl1->SetVisible(false);
  const auto label = [this](const char* name, const char* caption, int top) {
    TLumLabel* l = AddLabel(*lmpnl1, name, caption, RectOfSize(16, top, 88, 20), kText);
    l->SetAlignment(taRightJustify);
    return l;
  };
  lbl10 = label("lbl10", "Rate:", 26);
  img13 = AddImage(*lmpnl1, "img13", RectOfSize(110, 24, 5 * 21, 21), 0);
  img13->Cursor = crHandPoint;
  img13->OnAfterDrawPaint = [this](TControl&, Canvas& c) { img13AfterDrawPaint(c); };
  img13->OnMouseMove = [this](TControl&, TShiftState, int x, int) { img13MouseMove(x); };
  img13->OnMouseLeave = [this](TControl&) { img13MouseLeave(); };
  img13->OnClick = [this](TControl&) { img13click(); };

  lbl11 = label("lbl11", "Nickname:", 64);
  lmdtnk = lmpnl1->Make<TLumEdit>();
  lmdtnk->Name = "lmdtnk";
  lmdtnk->SetBounds(110, 60, 250, 26);
  SetEditLook(*lmdtnk);
  lmdtnk->MaxLength = kNicknameLimit;
  lmdtnk->OnkeyPress = [this](TLumEdit&, char16_t& key) { lmdtnkkeyPress(key); };

  lbl12 = label("lbl12", "Content:", 102);
  redt1 = lmpnl1->Make<TLumMemo>();
  redt1->Name = "redt1";
  redt1->SetBounds(110, 100, 615, 130);
  redt1->font.color = kText;
  redt1->SetMaxLength(kReviewTextLimit);
  if (imgModule) redt1->VerScrollRes = &imgModule->lmscrlbrs;
  redt1->LookChanged();

  btn1 = AddFormButton(*lmpnl1, "btn1", "Submit", RectOfSize(643, 246, 82, 25), kText);
  btn1->SetTransparent(true);
  btn1->FontDisable.color = MakeColor(160, 166, 174);
  btn1->OnClick = [this](TControl&) { btn1Click(); };
}

void TfrmXOBRate::FormCreate() {
  TfrmBase::FormCreate();
  // The review list: the shared row skin and header picture, report style with one
  // column and no header band, the shared scroll bar, rows measured and drawn here.
  TLumListView& l = *m_lstView;
  if (imgModule) {
    l.Imgitem = imgModule->mgstrg.Png(8);
    l.ImgHeader = imgModule->mgstrg.Png(10);
    l.VerScrollRes = &imgModule->lmscrlbrs;
    SetComboboxLook(*cbb1, imgModule->lmscrlbrs);
  }
  l.ViewStyle = WvsReport;
  l.HeaderHeight = 0;
  l.HeaderStateCount = 1;
  l.ItemStateCount = 2;
  l.OnMeasureItem = [this](TLumLvItem& row, int, int& height) { MeasureRow(row, height); };
  l.OnAfterItemDraw = [this](Canvas& canvas, int, TLumLvItem& row) { DrawRow(canvas, row); };
  l.OnItemMouseMove = [this](TLumListView&, Canvas&, TLumLvItem& row, TShiftState, int x, int y) {
    m_lstViewItemMouseMove(row, x, y);
  };
  l.OnMouseMove = [this](TControl&, TShiftState, int x, int y) { ListMouseMove(x, y); };
  l.OnItemMouseDown = [this](TLumListView&, Canvas&, TLumLvItem&, TShiftState, int x, int y) {
    pointer_ = Point{x, y};
  };
  l.OnItemClick = [this](TLumListView&, TLumLvItem& row) { m_lstViewItemClick(row); };
  l.OnMouseLeave = [this](TControl&) {
    pointer_.reset();
    hover_row_ = nullptr;
    m_lstView->Cursor = crDefault;
  };
  l.OnDrawBackGround = [this](Bitmap32& bitmap, const Rect&) { m_lstViewDrawBackGround(bitmap); };
  l.OnResize = [this](TControl&) { UpdateEmptyState(); };
  UpdateEmptyState();
}

void TfrmXOBRate::ApplyLanguage() {
  TfrmBase::ApplyLanguage();
  btn2->SetCaption(GetLangString("Translation", "TfrmXOBRate.lsttab.item0", "User Reviews"));
  btn3->SetCaption(GetLangString("Translation", "TfrmXOBRate.lsttab.item1", "My Review"));
  // Tabs as wide as their captions need (German ones are longer), side by side.
  Canvas& canvas = measure_.canvas();
  int left = btn2->Left();
  for (TLumButton* tab : {btn2, btn3}) {
    canvas.font = tab->FontSelect;
    const int width = std::max(kTabMinWidth, canvas.TextWidth(tab->Caption()) + 24);
    tab->SetBounds(left, kTabsTop, width, kTabHeight);
    left += width + 2;
  }
  for (Font* f : {&look_.nickname, &look_.date, &look_.content, &look_.vote, &look_.more}) {
    CopyFontMetrics(*f, font);
  }
  look_.nickname.color = kText;
  look_.nickname.style = fsBold;
  look_.date.color = kGrey;
  look_.content.color = kText;
  look_.more.color = kReviewLinkBlue;
  look_.more.style = fsUnderline;
  look_.like = GetLangString("Translation", "TfrmXOBRate.DrawString2", "Like");
  look_.dislike = GetLangString("Translation", "TfrmXOBRate.DrawString3", "Dislike");
  look_.report = GetLangString("Translation", "TfrmXOBRate.DrawString4", "Report");
  look_.more_text = GetLangString("Messages", "NextData", "Get more review information.");
  look_.Measure(canvas);
  for (int i = 0; i < m_lstView->ItemCount(); ++i) {
    if (TReviewItem* review = ReviewOf(*m_lstView->Items(i))) review->MeasuredWidth = -1;
  }
  cbb1->font.name = font.name;
  cbb1->font.height = font.height;
  cbb1->font.charset = font.charset;
  CopyFontMetrics(lmdtnk->font, font);
  CopyFontMetrics(redt1->font, font);
  redt1->LookChanged();
  m_lstView->Changed();
}

void TfrmXOBRate::Fill() {
  const std::string name = addon_.Name.empty() ? addon_.Id : addon_.Name;
  lbl1->SetCaption(ShownLine(addon_.Version.empty() ? name : name + " " + addon_.Version));
  lbl3->SetCaption(ShownText(addon_.Description));
  m_lstView->BeginUpdate();
  m_lstView->ClearColumns();
  m_lstView->AddColumn(std::make_unique<TLumLvHeadItem>("", 150));
  m_lstView->EndUpdate();
  cbb1->OnChange = nullptr;
  cbb1->Clear();
  cbb1->AddItem(GetLangString("Translation", "TfrmXOBRate.cbb1.item0", "Useful or Not"));
  cbb1->AddItem(GetLangString("Translation", "TfrmXOBRate.cbb1.item1", "Date"));
  cbb1->SetIndex(0);
  cbb1->OnChange = [this](TLumCboxItem&) { SortChanged(); };
  btn2Click(*btn2);
}

void TfrmXOBRate::btn2Click(TLumButton& tab) {
  const int top = btn2->Top() + btn2->Height();
  selected_tab_ = tab.Tag == 1 ? 1 : 0;
  if (selected_tab_ == 0) {
    m_lstView->SetBounds(5, top, Width() - 10, Height() - btn2->Top() - btn2->Height() - 5);
    m_lstView->SetVisible(true);
    lmpnl1->SetVisible(false);
  } else {
    lmpnl1->SetBounds(0, top, Width(), Height() - top);
    lmpnl1->SetAlign(alBottom);
    lmpnl1->SetVisible(true);
    m_lstView->SetVisible(false);
  }
  // The sort choice belongs to the list.
  lbl9->SetVisible(selected_tab_ == 0);
  cbb1->SetVisible(selected_tab_ == 0);
  for (TLumButton* b : {btn2, btn3}) {
    b->SetBtnStatus(bsNormal);
    b->Invalidate();
  }
  tab.SetBtnStatus(bsSelect);
  tab.Invalidate();
}

void TfrmXOBRate::lblfirstclick() { btn2Click(*btn3); }

std::shared_ptr<const bool> TfrmXOBRate::StartOpening() {
  opening_ = StartPlugInfo(plug_, anchor_.Link());
  return opening_;
}

bool TfrmXOBRate::Busy() const {
  const auto running = [](const std::shared_ptr<const bool>& ended) { return ended && !*ended; };
  return running(opening_) || running(page_) || running(submit_) ||
         std::any_of(votes_.begin(), votes_.end(), running);
}

void TfrmXOBRate::DetachChains() {
  anchor_.Detach();
  list_link_->Detach();
}

// --- what the chains hand over ---

void TfrmXOBRate::SetLoadFailed(bool failed) { LoadFailed = failed; }

void TfrmXOBRate::ApplyRatings(const TPlugRatings& ratings) {
  ServicePlugId = ratings.ServicePlugId;
  StarCounts = ratings.StarCounts;
  for (size_t k = 0; k < 5; ++k) counts[k]->SetCaption(std::to_string(StarCounts[4 - k]));
  average_ = ratings.Average;
  // Into the catalogue's record of this add-on, found by its id as the main window finds
  // its records, so the main list shows the new average when it next paints.
  for (const auto& record : catalogue_.Items) {
    if (record->Id == plug_.Id) record->Rating = average_;
  }
  if (TForm* main = Application().MainForm; main && main != this) main->Invalidate();
  img2->Invalidate();
  for (TLumImage* bar : bars) bar->Invalidate();
}

void TfrmXOBRate::AddReviewRows(const std::vector<TReviewData>& reviews, bool more) {
  AppendReviews(reviews, more);
}

Point TfrmXOBRate::NoticePoint() const {
  return {Left() + Width() / 2 - 60, Top() + Height() / 2 - 35};
}

void TfrmXOBRate::ShowNotice(const std::string& key, bool success) {
  const std::string text = GetLangString("Messages", key, key);
  if (success) {
    ShowSuccessToast(NoticePoint(), text);
  } else {
    ShowErrorToast(NoticePoint(), text);
  }
}

void TfrmXOBRate::MarkRow(int64_t review_id, bool report) {
  TLumLvItem* row = RowOfReview(review_id);
  if (!row) return;
  TReviewItem* review = ReviewOf(*row);
  (report ? review->reported : review->voted) = true;
  m_lstView->RedrawItem(row);
}

void TfrmXOBRate::RatingResult(const TRatingResult& result) {
  const int64_t id = result.LParam;
  switch (result.Code()) {
    case rcNotVerified: ShowNotice("UnVerify", false); break;
    case rcCommentNotStored: ShowNotice("AddCommentF", false); break;
    case rcCommentStored:
      ShowNotice("AddCommentS", true);
      InsertOwnReview(id);
      btn2Click(*btn2);
      btn1->SetEnabled(false);
      break;
    case rcReportStored:
      ShowNotice("ReportS", true);
      MarkRow(id, true);
      break;
    case rcVoteStored:
      ShowNotice("AddScoreS", true);
      MarkRow(id, false);
      break;
    case rcAlreadyVoted:
      ShowNotice("AddScoreF", false);
      MarkRow(id, false);
      break;
    case rcAlreadyCommented:
      ShowNotice("Commented", false);
      btn1->SetEnabled(false);
      break;
    case rcAlreadyReported:
      ShowNotice("ReportF", false);
      MarkRow(id, true);
      break;
    case rcUnreadableReply: ShowNotice("unKnowError", false); break;
    default: break;
  }
}

void TfrmXOBRate::UpdateEmptyState() {
  if (m_lstView->ItemCount() > 0) {
    lblfirst->SetVisible(false);
    return;
  }
  const int picture = imgModule ? imgModule->mgstrg.Png(29).height() : 100;
  const int picture_width = imgModule ? imgModule->mgstrg.Png(29).width() : 100;
  const int left = (m_lstView->Width() - picture_width) / 2;
  const int top = (m_lstView->Height() - picture) / 2 - 30;
  lblfirst->SetBounds(left, top + picture + 25, picture_width, 18);
  lblfirst->SetVisible(true);
}

}  // namespace orvo
