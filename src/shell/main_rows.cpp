// The main window's add-on list: its set-up, the rows as they are painted, and the pointer
// over them. One row, 70 high, in list client coordinates (L, T = the row's corner):
//
//   L+10                 68                     col 1 +10      col 1 right +10  +60
//   +------+  title (bold, " (64)")             Ratings:       +-------+  +--+
//   | icon |  description (grey, one line...)   * * * * *      | ON  o |  |##|
//   +------+  T+16 / T+36                       T+17..T+52     T+26..44   T+25..43
//
// The rating, switch and delete places are kept in the row's TAddonRow when drawn, so the
// pointer's hits and hints use what the user sees.
#include <algorithm>

#include "catalogue/system_values.h"
#include "shell/lang_format.h"
#include "shell/language.h"
#include "shell/main_window.h"
#include "shell/picture_fit.h"
#include "ui/desktop.h"
#include "ui/image_module.h"
#include "ui/lum_ui_drawing.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

constexpr TColor kLinkBlue = MakeColor(22, 149, 230);
constexpr TColor kGreyText = MakeColor(132, 132, 132);
constexpr TColor kEmptyText = MakeColor(189, 189, 189);
constexpr Argb kBand = 0xFFEFEFEFu;  // 239, 239, 239
constexpr TColor kNoticeText = MakeColor(56, 56, 56);
constexpr Argb kNoticeFill = 0xFFFFF6DEu;
constexpr Argb kNoticeLine = 0xFFF0C878u;
constexpr int kIconSize = 48;
constexpr int kNoticeHeight = 52;  // the box
constexpr int kNoticeMargin = 8;   // around it
constexpr uint32_t kLine = kDtLeft | kDtTop | kDtSingleLine | kDtNoPrefix;

TAddonRow* RowData(const TLumLvItem& row) { return row.DataAs<TAddonRow>(); }

// A catalogue whose data could not be read refuses every change: its rows get no switch
// and no delete button.
bool ReadOnly(const TBrowserAppBase* catalogue) {
  return catalogue && !catalogue->LoadError.empty();
}

bool ToggleAllowed(const TBrowserAppBase& catalogue, const TBrowserExtensionInfo& addon) {
  if (catalogue.BrowserKind == bkIE) return addon.ItemKind != pkMenuExt;
  return addon.ItemKind != ikPlugin;
}

// What kind of add-on the row holds, where "extension" does not say it (a Firefox theme,
// language pack or dictionary), and whether it is part of the browser; empty otherwise.
std::string KindTag(const TBrowserExtensionInfo& addon) {
  const std::string& type = addon.TypeName;
  const char* key = type == "theme"        ? "TfrmXOBMain.KindTheme"
                    : type == "locale"     ? "TfrmXOBMain.KindLocale"
                    : type == "dictionary" ? "TfrmXOBMain.KindDictionary"
                    : addon.BrowserOwned   ? "TfrmXOBMain.KindExtension"
                                           : nullptr;
  std::string tag = key ? GetLangString("Translation", key, "") : (type != "extension" ? type : "");
  if (addon.BrowserOwned) {
    const std::string owned = GetLangString("Translation", "TfrmXOBMain.BrowserOwned", "");
    tag += (tag.empty() || owned.empty() ? "" : " \xC2\xB7 ") + owned;
  }
  return tag;
}

// A reason as a sentence of its own: the catalogues give it to follow a colon.
std::string Sentence(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text + ".";
}

void CutFrames(int index, PngImage (&frames)[3]) {
  if (!frames[0].empty() || !imgModule) return;
  PngImage strip = imgModule->mgstrg.Png(index);
  for (int k = 0; k < 3; ++k) {
    if (auto f = StateFrameHorz(strip, 3, k)) frames[k] = std::move(*f);
  }
}

void Text(Canvas& canvas, const Font& font, Rect r, uint32_t format, std::string_view text) {
  canvas.font = font;
  canvas.brush.style = BrushStyle::kClear;
  canvas.DrawText(text, r, format);
}

}  // namespace

void TfrmXOBMain::SetupList() {
  TLumListView& list = *m_lstView;
  list.SetParent(lmfrm1);
  list.SetBounds(178, list.Top(), 617, 420);
  list.HeaderHeight = 0;
  list.Itemheight = 70;
  if (imgModule) {
    list.Imgitem = imgModule->mgstrg.Png(8);
    list.ImgSelBox = imgModule->mgstrg.Png(9);
    list.ImgHeader = imgModule->mgstrg.Png(10);
    list.VerScrollRes = &imgModule->lmscrlbrs;
  }
  mglst.ImgWidth = mglst.ImgHeight = 68;
  list.Imagelist = &mglst;
  list.ViewStyle = WvsReport;
  list.BorderColor = clNone;
  list.OnAfterItemDraw = [this](Canvas& c, int index, TLumLvItem& row) { DrawRow(c, index, row); };
  list.OnBeforeItemDraw = [this](Canvas& c, int index, TLumLvItem& row) {
    DrawRowBand(c, index, row);
  };
  list.OnItemMouseMove = [this](TLumListView&, Canvas&, TLumLvItem& row, TShiftState, int x,
                                int y) { RowMouseMove(row, x, y); };
  list.OnItemClick = [this](TLumListView&, TLumLvItem& row) { RowClick(row); };
  list.OnDrawBackGround = [this](Bitmap32& b, const Rect& r) { m_lstViewDrawBackGround(b, r); };
  list.OnItemsDrawOffSet = [this](TLumListView&, int&, int& top) { NoticeOffset(top); };
  list.OnResize = [this](TControl&) { m_lstViewResize(); };
  list.HeaderStateCount = 1;
  list.ItemStateCount = 2;
  CopyFontMetrics(list.font, font);
}

void TfrmXOBMain::SetupColumns() {
  m_lstView->BeginUpdate();
  m_lstView->AddColumn(std::make_unique<TLumLvHeadItem>("", 380));
  m_lstView->AddColumn(std::make_unique<TLumLvHeadItem>("", 120));
  m_lstView->AddColumn(std::make_unique<TLumLvHeadItem>("", 100));
  m_lstView->EndUpdate();
  m_lstViewResize();
}

void TfrmXOBMain::m_lstViewResize() {
  // Columns 1 and 2 keep their place at the right edge.
  if (m_lstView->ColumnCount() > 0 && m_lstView->Width() > 260) {
    m_lstView->Columns(0)->Width = m_lstView->Width() - 220;
    m_lstView->Changed();
  }
}

// --- painting ---

void TfrmXOBMain::DrawRowBand(Canvas& canvas, int index, TLumLvItem& row) {
  if (index % 2 != 0) return;
  const Rect r = row.ItemRect;
  canvas.brush.style = BrushStyle::kSolid;
  canvas.brush.color = ArgbToColor(kBand);
  canvas.FillRect({0, r.top, r.right, r.bottom});
  canvas.brush.style = BrushStyle::kClear;
}

const PngImage& TfrmXOBMain::AddonIcon(const TBrowserExtensionInfo& addon) {
  static const PngImage none;
  const PngImage& fallback = imgModule ? imgModule->mgstrg.Png(1) : none;
  auto found = icons_.find(&addon);
  if (found == icons_.end()) {
    PngImage icon = addon.Image ? FittedPicture(*addon.Image, kIconSize) : PngImage();
    found = icons_.emplace(&addon, std::move(icon)).first;
  }
  return found->second.empty() ? fallback : found->second;
}

void TfrmXOBMain::DrawRow(Canvas& canvas, int, TLumLvItem& row) {
  TAddonRow* data = RowData(row);
  const TBrowserAppBase* catalogue = SelectedCatalogue();
  if (!data || !data->Addon || !catalogue) return;
  const TBrowserExtensionInfo& addon = *data->Addon;
  const Rect r = row.ItemRect;
  // 1.
  canvas.StretchDrawPng(RectOfSize(r.left + 10, r.top + 11, kIconSize, kIconSize),
                        AddonIcon(addon));
  // 2.
  const TLumLvHeadItem* col0 = m_lstView->Columns(0);
  const TLumLvHeadItem* col1 = m_lstView->Columns(1);
  if (!col0 || !col1) return;
  // Internet Explorer's context-menu entries are named by their menu text, where "&"
  // marks the access key: shown as the menu shows it, without the mark.
  const bool menu_text = catalogue->BrowserKind == bkIE && addon.ItemKind == pkMenuExt;
  const uint32_t line = menu_text ? (kLine & ~kDtNoPrefix) | kDtHidePrefix : kLine;
  Font title = m_lstView->font;
  title.color = clBlack;
  title.style = fsBold;
  const std::string name = addon.ListTitle(IsWin64());
  Text(canvas, title, {68, r.top + 16, col0->ColumnRect.right, r.top + 36}, line, name);
  // A theme is not an extension: its kind follows the title, in grey, where there is room.
  if (const std::string tag = KindTag(addon); !tag.empty()) {
    canvas.font = title;
    const int after = 68 + canvas.TextWidth(name) + 8;
    Font grey = m_lstView->font;
    grey.color = kGreyText;
    if (after < col0->ColumnRect.right - 20) {
      Text(canvas, grey, {after, r.top + 16, col0->ColumnRect.right, r.top + 36},
           kLine | kDtEndEllipsis, tag);
    }
  }
  Font description = m_lstView->font;
  description.color = kGreyText;
  Text(canvas, description, {68, r.top + 36, col0->ColumnRect.right, r.top + 56},
       line | kDtEndEllipsis, addon.Description);
  // 3.
  data->RatingRect = data->ToggleRect = data->DeleteRect = {};
  if (r.top < -19 || r.top >= m_lstView->Height()) return;
  const int c1 = col1->ColumnRect.left, c1r = col1->ColumnRect.right;
  data->RatingRect = {c1 + 10, r.top + 17, c1 + 110, r.top + 52};
  DrawRatings(canvas, *data);
  if (ReadOnly(catalogue)) return;
  if (ToggleAllowed(*catalogue, addon)) {
    data->ToggleRect = {c1r + 10, r.top + 26, c1r + 55, r.top + 44};
    DrawToggle(canvas, *data);
  }
  // The browser's own add-ons are not deleted: no button offers it.
  if (addon.BrowserOwned) return;
  data->DeleteRect = {c1r + 60, r.top + 25, c1r + 78, r.top + 43};
  DrawDelete(canvas, *data);
}

void TfrmXOBMain::DrawRatings(Canvas& canvas, TAddonRow& data) {
  const Rect& r = data.RatingRect;
  Font link = m_lstView->font;
  link.color = kLinkBlue;
  if (r.Contains(ListPointer())) link.style |= fsUnderline;
  Text(canvas, link, {r.left + 2, r.top + 2, r.right, r.top + 18}, kLine,
       GetLangString("Translation", "TfrmXOBMain.Ratings", ""));
  if (!imgModule) return;
  // Lit stars for every whole star reached, a half star for any part above, grey ones to
  // five: 3.5 is three, a half and one grey; 4.1 four and a half.
  const double rating = std::clamp(data.Addon->Rating, 0.0, 5.0);
  const int whole = static_cast<int>(rating);
  const bool half = rating - whole > 0;
  for (int k = 0; k < 5; ++k) {
    const int index = k < whole ? 2 : (k == whole && half) ? 3 : 4;
    canvas.DrawPng(r.left + 2 + 19 * k, r.top + 20, imgModule->mgstrg.Png(index));
  }
}

Point TfrmXOBMain::ListPointer() const {
  const Point screen = CursorScreenPos();
  const Point origin = m_lstView->FormOrigin();
  return {screen.x - Left() - origin.x, screen.y - Top() - origin.y};
}

int TfrmXOBMain::ButtonFrame(const Rect& r) const {
  if (!r.Contains(ListPointer())) return 0;
  return (KeyboardShiftState() & ssLeft) ? 2 : 1;
}

void TfrmXOBMain::DrawToggle(Canvas& canvas, TAddonRow& data) {
  CutFrames(5, OffFrames);
  CutFrames(6, OnFrames);
  const PngImage& frame =
      (data.Addon->Disabled ? OffFrames : OnFrames)[ButtonFrame(data.ToggleRect)];
  if (!frame.empty()) canvas.StretchDrawPng(data.ToggleRect, frame);
}

void TfrmXOBMain::DrawDelete(Canvas& canvas, TAddonRow& data) {
  CutFrames(7, DeleteFrames);
  const PngImage& frame = DeleteFrames[ButtonFrame(data.DeleteRect)];
  if (!frame.empty()) canvas.StretchDrawPng(data.DeleteRect, frame);
}

// The list's background: the notice of a browser whose data could not be read (it scrolls
// with the rows), else with no rows the empty picture and its text.
void TfrmXOBMain::m_lstViewDrawBackGround(Bitmap32& bitmap, const Rect&) {
  const TBrowserAppBase* catalogue = SelectedCatalogue();
  Canvas& canvas = bitmap.canvas();
  const int w = m_lstView->Width(), h = m_lstView->Height();
  if (ReadOnly(catalogue)) {
    const int top = kNoticeMargin + m_lstView->VerticalOffset();
    const Rect box{kNoticeMargin, top, w - kNoticeMargin - 14, top + kNoticeHeight};
    canvas.brush.style = BrushStyle::kSolid;
    canvas.brush.color = ArgbToColor(kNoticeLine);
    canvas.FillRect(box);
    canvas.brush.color = ArgbToColor(kNoticeFill);
    canvas.FillRect({box.left + 1, box.top + 1, box.right - 1, box.bottom - 1});
    if (imgModule) {
      PngImage icons = imgModule->msgdlg.ImgMsg;
      if (auto warning = StateFrameHorz(icons, 4, 2)) {
        canvas.DrawPng(box.left + 8, box.top + (kNoticeHeight - warning->height()) / 2, *warning);
      }
    }
    Font text = m_lstView->font;
    text.color = kNoticeText;
    const std::string notice =
        FormatLangText(GetLangString("Messages", "LoadFail", ""), {catalogue->LoadError});
    Text(canvas, text, {box.left + 52, box.top + 8, box.right - 8, box.bottom - 6},
         kDtLeft | kDtTop | kDtWordBreak | kDtEditControl | kDtEndEllipsis | kDtNoPrefix, notice);
    return;
  }
  if (m_lstView->ItemCount() != 0 || !imgModule) return;
  const PngImage& picture = imgModule->mgstrg.Png(18);
  const int x = (w - picture.width()) / 2, y = (h - picture.height()) / 2 - 30;
  canvas.DrawPng(x, y, picture);
  Font text = m_lstView->font;
  text.color = kEmptyText;
  Text(canvas, text, {0, y + picture.height() + 10, w, y + picture.height() + 30},
       kDtCenter | kDtTop | kDtSingleLine | kDtNoPrefix,
       GetLangString("Messages", "NONEPLUGIN", ""));
}

void TfrmXOBMain::NoticeOffset(int& top) {
  if (ReadOnly(SelectedCatalogue())) top = kNoticeHeight + 2 * kNoticeMargin;
}

// --- the pointer ---

void TfrmXOBMain::RowMouseMove(TLumLvItem& row, int x, int y) {
  TAddonRow* data = RowData(row);
  if (!data) return;
  const Point p{x, y};
  const char* key = data->DeleteRect.Contains(p)   ? "TfrmXOBMain.btnDel.hint"
                    : data->ToggleRect.Contains(p) ? "TfrmXOBMain.btnDisable.hint"
                    : data->RatingRect.Contains(p) ? "TfrmXOBMain.Ratings"
                                                   : nullptr;
  TAddonRow* was = hovered_;
  hovered_ = key ? data : nullptr;
  if (!key) {
    m_lstView->Cursor = crDefault;
    m_lstView->ShowHint = false;
    // Leaving a button draws it back in its normal look.
    if (was == data) m_lstView->RedrawItem(&row);
    return;
  }
  // A switch the browser keeps says why it does not move.
  const bool locked = data->ToggleRect.Contains(p) && !data->DeleteRect.Contains(p) &&
                      data->Addon && !data->Addon->SwitchLock.empty();
  const std::string text =
      locked ? Sentence(data->Addon->SwitchLock) : GetLangString("Translation", key, "");
  if (text.empty()) return;
  m_lstView->Cursor = crHandPoint;
  const Point o = m_lstView->FormOrigin();
  m_lstView->ShowItemHint(text, ClientToScreen({o.x + x, o.y + y}));
  m_lstView->RedrawItem(&row);
}

void TfrmXOBMain::RowClick(TLumLvItem& row) {
  TAddonRow* data = RowData(row);
  if (!data) return;
  const Point p = ListPointer();
  if (data->DeleteRect.Contains(p))
    DeleteAddon(row);
  else if (data->ToggleRect.Contains(p))
    ToggleAddon(row);
  else if (data->RatingRect.Contains(p))
    OpenRatings(row);
}

TLumLvItem* TfrmXOBMain::RowOf(const TBrowserExtensionInfo* addon) const {
  for (int i = 0; i < m_lstView->ItemCount(); ++i) {
    TLumLvItem* row = m_lstView->Items(i);
    if (const TAddonRow* data = RowData(*row); data && data->Addon == addon) return row;
  }
  return nullptr;
}

void TfrmXOBMain::IconArrived(TBrowserExtensionInfo& addon) {
  icons_.erase(&addon);
  if (TLumLvItem* row = RowOf(&addon)) m_lstView->RedrawItem(row);
}

}  // namespace orvo
