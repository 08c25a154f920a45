// The lists window's layout, over the ratings window's skin stretched to 900 x 560:
//
//   0                                                  570                          900
//   +-------------------------------------------------------------------------------+ 0
//   | logo  Lists and edits                                              [min][x]    |
//   +------------------------------------------------+------------------------------+ 36
//   | 1,000 add-ons (report, 70-pixel rows)          | reviews (variable heights)   |
//   |                                                |                              |
//   +------------------------------------------------+------------------------------+ 366
//   | Nickname [.....] Password [.....] Amount [...] | multi-line box               |
//   | columns: header band, check boxes, sub-items,  |                              |
//   |          horizontal scroll bar                 |                              |
//   | Sort by [combobox v]  Filter [check items v]   |                              |
//   +------------------------------------------------+------------------------------+ 536
//   | status line                                                                   |
//   +-------------------------------------------------------------------------------+ 560
#include "app/gallery_lists.h"

#include <algorithm>

#include "app/gallery_widgets.h"
#include "ui/desktop.h"
#include "ui/lum_ui_utils.h"
#include "ui/product_look.h"
#include "ui/skin_resources.h"

namespace orvo::gallery {
namespace {

// A vertical scroll bar skin turned on its side: every strip transposed, so frames that
// stood side by side are stacked.
PngImage Transposed(const PngImage& source) {
  PngImage out(source.height(), source.width());
  for (int y = 0; y < source.height(); ++y) {
    for (int x = 0; x < source.width(); ++x) out.SetPixel(y, x, source.Pixel(x, y));
  }
  return out;
}

TLumScrollBarRes Horizontal(const TLumScrollBarRes& v) {
  TLumScrollBarRes h = v;
  h.ImgBack = Transposed(v.ImgBack);
  h.ImgSlider = Transposed(v.ImgSlider);
  h.ImgBtnLT = Transposed(v.ImgBtnLT);
  h.ImgBtnRB = Transposed(v.ImgBtnRB);
  h.ImgCenter = Transposed(v.ImgCenter);
  h.SliderSplit = TLumUIPadding(v.SliderSplit.Top, v.SliderSplit.Left, v.SliderSplit.Bottom,
                                v.SliderSplit.Right);
  h.BackSplit =
      TLumUIPadding(v.BackSplit.Top, v.BackSplit.Left, v.BackSplit.Bottom, v.BackSplit.Right);
  h.SplitMode = v.SplitMode == SmHor ? SmVer : SmHor;
  return h;
}

const char* const kNames[] = {"Ad Shield",       "Page Translator", "Dark Reader",  "Tab Saver",
                              "Password Keeper", "Screenshot Tool", "Video Helper", "Grammar Check",
                              "Coupon Finder",   "Weather Now"};
const char* const kWords[] = {"blocks", "pages", "keeps", "your",  "tabs",  "safe",
                              "and",    "quick", "with",  "one",   "click", "for",
                              "every",  "site",  "you",   "visit", "today"};

}  // namespace

TListsWindow::TListsWindow(TimgModule& module) : module_(module) {
  SetBounds(60, 120, kListsWidth, kListsHeight);
  SetCaption("Lists and edits");
  // The ratings window's skin: a light band under the caption, white below.
  lmfrm1 = AddSkinnedFrame(*this, "Lists and edits", "rate_form", TLumUIPadding(10, 180, 740, 470));
  lmfrm1->FormBtns = WbiMinimize;
  horizontal_ = Horizontal(module.lmscrlbrs);
  icons_.ImgWidth = icons_.ImgHeight = 48;
  for (const char* icon :
       {"addon_default", "browser_chrome", "browser_firefox", "browser_ie", "browser_opera"}) {
    icons_.Add(SkinPng(icon));
  }
  small_icons_.ImgWidth = small_icons_.ImgHeight = 16;
  small_icons_.Add(SkinPng("star_lit"));
  BuildAddons();
  BuildReviews();
  BuildEdits();
  BuildColumns();
  BuildChoices();
  lblStatus = AddLabel(*lmfrm1, "lblStatus", "Ready", {12, 536, 600, 558}, MakeFont(kGrey));
  lblStatus->Anchors = akLeft | akBottom;
  lmfrm1->Loaded();
}

void TListsWindow::Say(const std::string& text) { lblStatus->SetCaption(text); }

void TListsWindow::PlaceAtBottom(Point near) {
  const Rect work = WorkAreaAt(near);
  SetBounds(std::max(work.left, work.left + (work.width() - Width()) / 2), work.bottom - Height(),
            Width(), Height());
}

Point TListsWindow::ScreenCentre(const TControl& control) const {
  const Point o = control.FormOrigin();
  return ClientToScreen({o.x + control.Width() / 2, o.y + control.Height() / 2});
}

Point TListsWindow::ToggleCentre(TLumLvItem& row) const {
  const auto* data = row.DataAs<const GalleryAddon>();
  const Point o = lstAddons->FormOrigin();
  const Rect r = data->toggle_rect;
  return ClientToScreen({o.x + (r.left + r.right) / 2, o.y + (r.top + r.bottom) / 2});
}

void TListsWindow::BuildAddons() {
  AddLabel(*lmfrm1, "lblAddons", "1,000 add-ons", {12, 34, 300, 50}, MakeFont(kGrey));
  auto* l = lmfrm1->Make<TLumListView>();
  lstAddons = l;
  l->Name = "lstAddons";
  l->SetBounds(10, 52, 556, 306);
  l->HeaderHeight = 0;
  l->Itemheight = 70;
  l->Imgitem = SkinPng("list_item");
  l->ImgSelBox = SkinPng("list_selbox");
  l->ImgHeader = SkinPng("list_header");
  l->Imagelist = &icons_;
  l->ViewStyle = WvsReport;
  l->VerScrollRes = &module_.lmscrlbrs;
  l->HeaderStateCount = 1;
  l->ItemStateCount = 2;
  l->OnBeforeItemDraw = [l](Canvas& canvas, int index, TLumLvItem& row) {
    if (index % 2 != 0) return;
    canvas.brush.style = BrushStyle::kSolid;
    canvas.brush.color = MakeColor(239, 239, 239);
    canvas.FillRect({0, row.ItemRect.top, l->Width(), row.ItemRect.bottom});
  };
  l->OnAfterItemDraw = [this](Canvas& canvas, int index, TLumLvItem& row) {
    DrawAddonRow(canvas, index, row);
  };
  l->OnItemMouseMove = [this](TLumListView&, Canvas&, TLumLvItem& row, TShiftState, int x, int y) {
    AddonMouseMove(row, x, y);
  };
  l->OnItemClick = [this](TLumListView&, TLumLvItem& row) { AddonClick(row); };
  l->OnMouseLeave = [this](TControl&) { addon_pointer_ = {-1, -1}; };
  l->OnDrawBackGround = [l](Bitmap32& bitmap, const Rect&) {
    if (l->ItemCount() > 0) return;
    Canvas& canvas = bitmap.canvas();
    const PngImage picture = SkinPng("none_plugin");
    const int x = (l->Width() - picture.width()) / 2, y = (l->Height() - picture.height()) / 2 - 30;
    canvas.DrawPng(x, y, picture);
    canvas.font = MakeFont(MakeColor(189, 189, 189));
    Rect r{0, y + picture.height() + 10, l->Width(), y + picture.height() + 30};
    canvas.DrawText("No add-ons in this list.", r, kDtCenter | kDtTop | kDtSingleLine);
  };
  l->BeginUpdate();
  for (int i = 0; i < kAddonRows; ++i) {
    TLumLvItem& row = l->AddItem();
    row.SetCaption(" ");
    row.ImageIndex = i % 5;
    auto data = std::make_unique<GalleryAddon>();
    data->name = std::string(kNames[i % 10]) + " " + std::to_string(i + 1);
    for (int w = 0; w < 6 + i % 7; ++w) {
      data->description += std::string(w ? " " : "") + kWords[(i * 7 + w * 3) % 17];
    }
    data->stars = i % 6;
    data->on = i % 3 != 0;
    row.Data = std::move(data);
  }
  l->AddColumn(std::make_unique<TLumLvHeadItem>("Add-on", 316));
  l->AddColumn(std::make_unique<TLumLvHeadItem>("Rating", 120));
  l->AddColumn(std::make_unique<TLumLvHeadItem>("", 100));
  l->EndUpdate();
}

void TListsWindow::BuildReviews() {
  AddLabel(*lmfrm1, "lblReviews", "Reviews: rows of different heights", {580, 34, 880, 50},
           MakeFont(kGrey));
  auto* l = lmfrm1->Make<TLumListView>();
  lstReviews = l;
  l->Name = "lstReviews";
  l->SetBounds(578, 52, 312, 306);
  l->HeaderHeight = 0;
  l->Imgitem = SkinPng("list_item");
  l->ImgHeader = SkinPng("list_header");
  l->ViewStyle = WvsReport;
  l->VerScrollRes = &module_.lmscrlbrs;
  l->HeaderStateCount = 1;
  l->ItemStateCount = 2;
  l->OnAfterItemDraw = [this](Canvas& canvas, int index, TLumLvItem& row) {
    DrawReview(canvas, index, row);
  };
  l->OnMeasureItem = [this](TLumLvItem& row, int, int& height) { MeasureReview(row, height); };
  reviews_ = {
      "Works as it says.",
      // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): long reviews span two lines or three
      "I use it every day for reading the news in the evening; the dark pages are much easier "
      "on the eyes and the switch is right where I want it.",
      "Good.",
      "It slowed my browser down a little on big pages, but the author answered my mail within "
      "a day and the next version fixed it. Since then it has been quick and quiet, and I have "
      "recommended it to my whole family, who use it on three different computers now.",
      "Nice icons.",
      "Does what I need: saves my tabs when the browser crashes.",
      "Five stars. The settings page could be clearer, though.",
      "Short and sweet.",
  };
  l->BeginUpdate();
  for (size_t i = 0; i < reviews_.size(); ++i) {
    TLumLvItem& row = l->AddItem();
    row.SecondText = reviews_[i];
  }
  l->AddItem().SecondText.clear();  // the "more" row
  l->AddColumn(std::make_unique<TLumLvHeadItem>("", 150));
  l->EndUpdate();
}

void TListsWindow::BuildEdits() {
  const Font label = MakeFont(kText);
  AddLabel(*lmfrm1, "lblNick", "Nickname:", {12, 372, 80, 396}, label);
  edtNick = lmfrm1->Make<TLumEdit>();
  edtNick->Name = "edtNick";
  edtNick->SetBounds(80, 372, 150, 24);
  edtNick->ImgExtra = SkinPng("combo_extra");
  SetEditLook(*edtNick);
  edtNick->OnBtnExtraClick = [](TLumEdit& e) { e.SetText(""); };
  // The ratings window's nickname rule: at 25 characters only editing keys pass.
  edtNick->OnkeyPress = [](TLumEdit& e, char16_t& key) {
    static const char16_t kPass[] = {1, 3, 8, 13, 22, 24, 26, 27};
    if (e.Text().size() < 25) return;
    if (std::find(std::begin(kPass), std::end(kPass), key) == std::end(kPass)) key = 0;
  };
  AddLabel(*lmfrm1, "lblPassword", "Password:", {240, 372, 306, 396}, label);
  edtPassword = lmfrm1->Make<TLumEdit>();
  edtPassword->Name = "edtPassword";
  edtPassword->SetBounds(306, 372, 110, 24);
  edtPassword->ImgPassWord = SkinPng("edit_password");
  edtPassword->SetPasswordChar(u'*');
  SetEditLook(*edtPassword);
  AddLabel(*lmfrm1, "lblNumber", "Amount:", {426, 372, 480, 396}, label);
  edtNumber = lmfrm1->Make<TLumEdit>();
  edtNumber->Name = "edtNumber";
  edtNumber->SetBounds(480, 372, 86, 24);
  edtNumber->OnlyNumber = true;
  SetEditLook(*edtNumber);

  memContent = lmfrm1->Make<TLumMemo>();
  memContent->Name = "memContent";
  memContent->SetBounds(578, 372, 312, 158);
  memContent->font = MakeFont(kText);
  memContent->VerScrollRes = &module_.lmscrlbrs;
  memContent->SetText(
      "Content: the review text goes here. It wraps at the box's width and scrolls when it "
      "grows longer than the box.\r\nA second paragraph starts on a line of its own.");
  memContent->OnChange = [this](TLumMemo& m) {
    Say("Review text: " + std::to_string(m.Text().size()) + " bytes");
  };
}

void TListsWindow::BuildColumns() {
  auto* l = lmfrm1->Make<TLumListView>();
  lstColumns = l;
  l->Name = "lstColumns";
  l->SetBounds(10, 404, 556, 92);
  l->ViewStyle = WvsReport;
  l->HeaderHeight = 24;
  l->ImgHeader = SkinPng("list_header");
  l->HeaderStateCount = 1;
  l->HeaderFont = MakeFont(kNavy, fsBold);
  l->Itemheight = 22;
  l->MarginItem = 0;
  l->Imgitem = SkinPng("combo_item");
  l->itemsplit = TLumUIPadding(4, 0, 14, 0);
  l->ItemStateCount = 1;
  l->ShowCheckBox = true;
  l->ImgCheck = SkinPng("check");
  l->ImgSelBox = SkinPng("list_selbox");
  l->MultiSelect = true;
  l->VerScrollRes = &module_.lmscrlbrs;
  l->HorScrollRes = &horizontal_;
  l->font = MakeFont(kText);
  l->FontColorOver = MakeColor(12, 104, 176);
  auto& name = l->AddColumn(std::make_unique<TLumLvHeadItem>("Name", 150));
  name.ShowCheck = true;
  l->AddColumn(std::make_unique<TLumLvHeadItem>("Version", 70));
  auto& description = l->AddColumn(std::make_unique<TLumLvHeadItem>("Description", 230));
  description.ShowArrow = true;
  description.ArrowDirection = 1;
  l->AddColumn(std::make_unique<TLumLvHeadItem>("Folder", 260));
  const char* folders[] = {"C:\\Users\\demo\\AppData\\Local\\Google\\Chrome\\Extensions",
                           "C:\\Program Files\\Mozilla Firefox\\browser\\extensions"};
  for (int i = 0; i < 6; ++i) {
    TLumLvItem& row = l->AddItem();
    row.SetCaption(kNames[i]);
    row.Checked = i % 2 == 0;
    row.AddSubItem("1." + std::to_string(i) + "." + std::to_string(i * 7));
    row.AddSubItem(i == 1 ? "Translates whole pages into the language you read, keeping "
                            "the layout as it was"
                          : "A helpful add-on");
    row.AddSubItem(folders[i % 2]);
  }
  l->OnItemCheck = [this](TLumListView&, TLumLvItem& row) {
    Say(row.Caption() + (row.Checked ? ": checked" : ": unchecked"));
  };
  l->OnHeadCheckedEvent = [this](TLumListView& list, TLumLvHeadItem& head, int) {
    for (int i = 0; i < list.ItemCount(); ++i) list.Items(i)->Checked = head.Checked;
    list.Changed();
    Say(head.Checked ? "All checked" : "None checked");
  };
}

void TListsWindow::BuildChoices() {
  AddLabel(*lmfrm1, "lblSort", "Sorted By", {12, 506, 76, 530}, MakeFont(kText));
  cbbSort = lmfrm1->Make<TLumCombobox>();
  cbbSort->Name = "cbbSort";
  cbbSort->SetBounds(78, 506, 170, 24);
  SetComboboxLook(*cbbSort, module_.lmscrlbrs);
  for (const char* text : {"Useful or Not", "Date", "Rating", "Nickname", "Most replies"}) {
    cbbSort->AddItem(text);
  }
  cbbSort->SetIndex(0);
  cbbSort->OnChange = [this](TLumCboxItem& item) { Say("Sorted by " + item.Caption); };

  AddLabel(*lmfrm1, "lblFilter", "Filter", {266, 506, 306, 530}, MakeFont(kText));
  cbbFilter = lmfrm1->Make<TLumCombobox>();
  cbbFilter->Name = "cbbFilter";
  cbbFilter->SetBounds(306, 506, 200, 24);
  SetComboboxLook(*cbbFilter, module_.lmscrlbrs);
  cbbFilter->ShowCheckBox = true;
  cbbFilter->SetCanInput(true);
  cbbFilter->Imagelist = &small_icons_;
  for (int i = 1; i <= 12; ++i) {
    TLumCboxItem& item =
        cbbFilter->AddItem(std::to_string(i) + (i == 1 ? " star" : " stars or more"));
    item.Checked = i <= 3;
    item.ImageIndex = 0;
    item.Enabled = i != 6;
  }
  cbbFilter->SetText("Type or pick");
  cbbFilter->OnItemCheck = [this](TLumCombobox&, TLumCboxItem& item) {
    Say(item.Caption + (item.Checked ? " on" : " off"));
  };
}

}  // namespace orvo::gallery
