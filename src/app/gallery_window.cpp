// The gallery window's layout, over the main window's skin stretched to 900 x 600:
//
//   0        178                                                              900
//   +---------+-----------------------------------------------------------------+ 0
//   | logo  Orvo UI Gallery                                  [menu][min][max][x]|
//   +---------+-----------------------------------------------------------------+ 30
//   | tabs:   | toolbar strip: what this is                          link label |
//   | selected+-----------------------------------------------------------------+ 56
//   | hovered | Push buttons: by status, glyph layouts, strips, fade, truncation |
//   | normal  | Labels: fonts by state, glow, truncation, alignment, picture    |
//   | disabled| Pictures and panels: plain, centred, stretched, stored; panels  |
//   | colour  | Menu and message box                                            |
//   | layer   |                                                                 |
//   +---------+-----------------------------------------------------------------+ 576
//   | status line                                                               |
//   +---------------------------------------------------------------------------+ 600
#include "app/gallery_window.h"

#include "app/gallery_widgets.h"

#include "ui/lum_image.h"
#include "ui/lum_panel.h"
#include "ui/lum_ui_utils.h"
#include "ui/skin_resources.h"

namespace orvo::gallery {
namespace {

constexpr int kContentLeft = 196;

PngImage Frame(std::string_view skin, int count, int index) {
  PngImage strip = SkinPng(skin);
  auto frame = StateFrameHorz(strip, count, index);
  return frame ? *frame : PngImage();
}

TLumLabel* Header(TWinControl& parent, const std::string& name, const std::string& caption, int y) {
  return AddLabel(parent, name, caption, RectOfSize(kContentLeft - 2, y, 400, 18),
                  MakeFont(kNavy, fsBold));
}

TLumLabel* Note(TWinControl& parent, const std::string& name, const std::string& caption, Rect r) {
  return AddLabel(parent, name, caption, r, MakeFont(kGrey));
}

}  // namespace

TGalleryWindow::TGalleryWindow(TimgModule& module) : sysMenu(this), module_(module) {
  SetBounds(60, 40, kWidth, kHeight);
  SetCaption("Orvo UI Gallery");
  lmfrm1 = AddSkinnedFrame(*this, "Orvo UI Gallery");
  lmfrm1->SupportReSize = true;
  lmfrm1->MinWidth = 640;
  lmfrm1->MinHeight = 480;
  lmfrm1->BtnPopupMenu = &sysMenu;

  BuildMenu();
  BuildSideBar();
  BuildButtons();
  BuildLabels();
  BuildPictures();
  BuildActions();
  lmfrm1->Loaded();
}

TGalleryWindow::~TGalleryWindow() {
  lists.reset();
  lmfrm1->BtnPopupMenu = nullptr;
  sysMenu.CloseMenu(false);
}

void TGalleryWindow::BuildSideBar() {
  struct Tab {
    const char* name;
    const char* caption;
    const char* icon;
  };
  const Tab tabs[] = {{"btnTabSelected", "Selected tab", "browser_chrome"},
                      {"btnTabOver", "Hovered tab", "browser_ie"},
                      {"btnTabNormal", "Plain tab", "browser_firefox"},
                      {"btnTabDisabled", "Disabled tab", "browser_opera_grey"}};
  for (int k = 0; k < 4; ++k) {
    auto* b = lmfrm1->Make<TLumButton>();
    b->Name = tabs[k].name;
    b->SetTransparent(true);
    b->SetBounds(4, 36 + 54 * k, 171, 50);
    b->BtnStateCount = 3;
    b->ButtonTab = true;
    b->GroupIndex = 1;
    b->JustCaptionLeft = true;
    b->CaptionLeftFix = 0;
    b->GraphLeftFix = 14;
    b->SetGraph(SkinPng(tabs[k].icon));
    SetAllFonts(*b, MakeFont(clWhite));
    b->FontDisable.color = MakeColor(108, 113, 119);
    b->SetCaption(tabs[k].caption);
    b->SetImgBtn(SkinPng("tab_button"));
    // A three-frame strip has normal, over and down: "selected" shows the down frame.
    if (k == 0) b->Select();
    if (k == 1) b->SetBtnStatus(bsOver);
    if (k == 3) b->SetEnabled(false);
  }
  // A colour layer over a picture: the picture shows through the panel's colour.
  auto* picture = lmfrm1->Make<TLumImage>();
  picture->Name = "imgUnderLayer";
  picture->SetTransparent(true);
  picture->SetBounds(40, 282, 100, 100);
  picture->SetPicture(Picture::FromPng(SkinPng("none_plugin")));
  auto* layer = lmfrm1->Make<TLumPanel>();
  layer->Name = "pnlColourLayer";
  layer->SetBounds(14, 350, 152, 56);
  layer->Color = kLinkBlue;
  layer->SetAlpha(90);
  AddLabel(*layer, "lblOnLayer", "Panel: colour layer, alpha 90", {4, 0, 148, 56},
           MakeFont(clWhite))
      ->SetAlignment(taCenter);
  Note(*lmfrm1, "lblSideNote", "Tabs from a three-frame strip", {12, 252, 176, 270})->font.color =
      MakeColor(150, 164, 184);
}

void TGalleryWindow::BuildButtons() {
  AddLabel(*lmfrm1, "lblToolbar", "Every control of the skinned toolkit, in every state",
           {kContentLeft - 2, 30, 560, 56}, MakeFont(kGrey));
  auto* link =
      AddLabel(*lmfrm1, "lblLink", "Hover over me", {760, 30, 890, 56}, MakeFont(kLinkBlue));
  link->FontOver = MakeFont(kLinkBlue, fsUnderline);
  link->FontDown = MakeFont(MakeColor(12, 110, 180), fsUnderline);
  link->SetAlignment(taRightJustify);
  link->Anchors = akRight | akTop;

  Header(*lmfrm1, "lblButtons", "Push buttons", 64);
  const char* states[] = {"Normal", "Over", "Down", "Disabled", "Selected"};
  for (int i = 0; i < 5; ++i) {
    auto* b = AddButton(*lmfrm1, std::string("btnState") + states[i], states[i],
                        RectOfSize(kContentLeft + i * 90, 86, 82, 25));
    if (i == 1) b->SetBtnStatus(bsOver);
    if (i == 2) b->SetBtnStatus(bsDown);
    if (i == 3) b->SetEnabled(false);
    if (i == 4) b->SetBtnStatus(bsSelect);
  }
  btnLive = AddButton(*lmfrm1, "btnLive", "Fading", RectOfSize(kContentLeft + 5 * 90, 86, 82, 25));
  btnLive->FadeEffect = true;
  btnLive->Hint = "Hover: the over frame fades in";
  btnLive->ShowHint = true;
  auto* trunc = AddButton(*lmfrm1, "btnTruncated", "A caption far too long for it",
                          RectOfSize(kContentLeft + 6 * 90, 86, 96, 25));
  trunc->Hint = "never shown while truncated";

  struct Glyph {
    const char* name;
    const char* caption;
    TLumUILayout layout;
    Rect r;
    const char* icon;
  };
  const Glyph glyphs[] = {{"btnGlyphLeft", "Glyph left", wlGlphyLeft,
                           RectOfSize(kContentLeft, 120, 120, 34), "star_lit"},
                          {"btnGlyphRight", "Glyph right", wlGlphyRight,
                           RectOfSize(kContentLeft + 130, 120, 120, 34), "star_half"},
                          {"btnGlyphTop", "Top", wlGlphyTop,
                           RectOfSize(kContentLeft + 260, 120, 70, 62), "browser_chrome"},
                          {"btnGlyphBottom", "Bottom", wlGlphyBottom,
                           RectOfSize(kContentLeft + 340, 120, 70, 62), "browser_firefox"}};
  for (const Glyph& g : glyphs) {
    auto* b = AddButton(*lmfrm1, g.name, g.caption, g.r);
    b->Layout = g.layout;
    b->SetGraph(SkinPng(g.icon));
    if (g.layout == wlGlphyRight) b->JustCaptionLeft = true, b->CaptionLeftFix = 10;
    if (g.layout == wlGlphyTop) b->CaptionTopFix = 16;
    if (g.layout == wlGlphyBottom) b->CaptionTopFix = -14;
  }

  // Strips of one and three frames.
  Note(*lmfrm1, "lblStrips",
       "One-frame strip (hot only):", RectOfSize(kContentLeft + 426, 120, 200, 16));
  PngImage hot = Frame("button", 5, 1);
  for (int i = 0; i < 2; ++i) {
    auto* b = lmfrm1->Make<TLumButton>();
    b->Name = i == 0 ? "btnOneFrame" : "btnOneFrameOver";
    b->SetTransparent(true);
    b->SetBounds(kContentLeft + 426 + i * 90, 138, 82, 25);
    b->BtnStateCount = 1;
    SetAllFonts(*b, MakeFont(kText));
    b->SetCaption(i == 0 ? "Normal" : "Over");
    b->SetImgBtn(hot);
    if (i == 1) b->SetBtnStatus(bsOver);
  }
  Note(*lmfrm1, "lblSwitches", "Three-frame strip: normal, over, down, disabled:",
       RectOfSize(kContentLeft + 426, 166, 280, 16));
  for (int i = 0; i < 4; ++i) {
    auto* b = lmfrm1->Make<TLumButton>();
    b->Name = "btnSwitch" + std::to_string(i);
    b->SetTransparent(true);
    b->SetBounds(kContentLeft + 426 + i * 56, 184, 45, 18);
    b->BtnStateCount = 3;
    b->SetImgBtn(SkinPng(i % 2 ? "switch_off" : "switch_on"));
    if (i == 1) b->SetBtnStatus(bsOver);
    if (i == 2) b->SetBtnStatus(bsDown);
    if (i == 3) b->SetEnabled(false);
  }
}

void TGalleryWindow::BuildLabels() {
  Header(*lmfrm1, "lblLabels", "Labels", 214);
  const int y = 236;
  AddLabel(*lmfrm1, "lblNormal", "Normal font", RectOfSize(kContentLeft, y, 110, 20),
           MakeFont(kText));
  AddLabel(*lmfrm1, "lblOverFont", "Over font", RectOfSize(kContentLeft + 110, y, 100, 20),
           MakeFont(kLinkBlue, fsUnderline));
  auto* disabled = AddLabel(*lmfrm1, "lblDisabled", "Disabled",
                            RectOfSize(kContentLeft + 210, y, 90, 20), MakeFont(kText));
  disabled->SetEnabled(false);
  auto* glow = AddLabel(*lmfrm1, "lblGlow", "Glowing caption",
                        RectOfSize(kContentLeft + 300, y - 2, 130, 24), MakeFont(kNavy, fsBold));
  glow->SetBlurColor(MakeColor(255, 200, 60));
  AddLabel(*lmfrm1, "lblTruncated", "A caption wider than its label",
           RectOfSize(kContentLeft + 440, y, 120, 20), MakeFont(kText));
  auto* accel = AddLabel(*lmfrm1, "lblAccel", "Tom & Jerry",
                         RectOfSize(kContentLeft + 570, y, 110, 20), MakeFont(kText));
  accel->SetShowAccelChar(true);

  const int y2 = 262;
  auto* right = AddLabel(*lmfrm1, "lblRight", "Right-aligned",
                         RectOfSize(kContentLeft, y2, 150, 20), MakeFont(kText));
  right->SetAlignment(taRightJustify);
  right->SetTransparent(false);
  right->Color = MakeColor(247, 249, 252);
  auto* centre = AddLabel(*lmfrm1, "lblCentre", "Centred",
                          RectOfSize(kContentLeft + 160, y2, 150, 20), MakeFont(kText));
  centre->SetAlignment(taCenter);
  centre->SetTransparent(false);
  centre->Color = MakeColor(247, 249, 252);
  auto* pictured = AddLabel(*lmfrm1, "lblGraph", "With a picture",
                            RectOfSize(kContentLeft + 320, y2, 140, 20), MakeFont(kText));
  pictured->SetGraph(SkinPng("star_lit"));
  auto* wrap = AddLabel(*lmfrm1, "lblWrap", "Word break wraps a longer caption over two lines",
                        RectOfSize(kContentLeft + 470, y2 - 4, 200, 30), MakeFont(kText));
  wrap->SetWordBreak(true);
}

void TGalleryWindow::BuildPictures() {
  Header(*lmfrm1, "lblPictures", "Pictures and panels", 302);
  const int y = 324;
  const Picture addon = Picture::FromPng(SkinPng("addon_default"));
  auto frame = [&](const std::string& name, Rect r) {
    auto* back = lmfrm1->Make<TLumPanel>();
    back->Name = name + "Frame";
    back->SetBounds(r.left - 1, r.top - 1, r.width() + 2, r.height() + 2);
    back->Color = MakeColor(226, 231, 238);
    auto* inner = back->Make<TLumPanel>();
    inner->Name = name + "Well";
    inner->SetBounds(1, 1, r.width(), r.height());
    inner->Color = MakeColor(247, 249, 252);
    auto* image = inner->Make<TLumImage>();
    image->Name = name;
    image->SetTransparent(true);
    image->SetBounds(0, 0, r.width(), r.height());
    return image;
  };
  frame("imgPlain", RectOfSize(kContentLeft, y, 64, 64))->SetPicture(addon);
  auto* centred = frame("imgCentred", RectOfSize(kContentLeft + 76, y, 96, 64));
  centred->SetPicture(addon);
  centred->SetCenter(true);
  auto* stretched = frame("imgStretched", RectOfSize(kContentLeft + 184, y, 110, 64));
  stretched->SetPicture(addon);
  stretched->SetStretch(true);
  auto* stored = frame("imgStored", RectOfSize(kContentLeft + 306, y, 64, 64));
  stored->ImgStorage = &module_.mgstrg;
  stored->SetImageIndex(0);
  stored->SetCenter(true);
  Note(*lmfrm1, "lblPictureNotes", "plain, centred, stretched, stored",
       RectOfSize(kContentLeft, y + 68, 300, 16));

  auto* columns = lmfrm1->Make<TLumPanel>();
  columns->Name = "pnlColumns";
  columns->SetTransparent(true);
  columns->SetBounds(kContentLeft + 390, y, 300, 40);
  columns->SetImgSplit(TLumUIPadding(24, 0, 187, 0));
  columns->SetImgBack(SkinPng("toast_success_back"));
  AddLabel(*columns, "lblColumns", "Panel cut in three columns", {34, 0, 290, 40},
           MakeFont(clWhite))
      ->SetAlignment(taLeftJustify);
  auto* rows = lmfrm1->Make<TLumPanel>();
  rows->Name = "pnlRows";
  rows->SetTransparent(true);
  rows->SetBounds(kContentLeft + 390, y + 46, 300, 34);
  rows->SetImgSplit(TLumUIPadding(0, 6, 0, 19));
  rows->SetImgBack(SkinPng("list_header"));
  AddLabel(*rows, "lblRows", "Panel cut in three rows", {10, 0, 290, 34}, MakeFont(kText));
}

void TGalleryWindow::BuildActions() {
  Header(*lmfrm1, "lblActions", "Menu and message box", 420);
  btnMenu = AddButton(*lmfrm1, "btnMenu", "Open the menu", RectOfSize(kContentLeft, 444, 120, 28));
  btnMenu->OnClick = [this](TControl&) { OpenMenu(); };
  btnAsk =
      AddButton(*lmfrm1, "btnAsk", "Ask Yes or No", RectOfSize(kContentLeft + 130, 444, 120, 28));
  btnAsk->OnClick = [this](TControl&) { AskQuestion(); };
  btnNotice = AddButton(*lmfrm1, "btnNotice", "A long notice",
                        RectOfSize(kContentLeft + 260, 444, 120, 28));
  btnNotice->OnClick = [this](TControl&) { ShowNotice(); };
  btnLists = AddButton(*lmfrm1, "btnLists", "Lists and edits",
                       RectOfSize(kContentLeft + 390, 444, 120, 28));
  btnLists->OnClick = [this](TControl&) { OpenLists(); };
  lblResult = AddLabel(*lmfrm1, "lblResult", "Last answer: none",
                       RectOfSize(kContentLeft + 524, 448, 170, 20), MakeFont(kText));
  Note(*lmfrm1, "lblMenuNote",
       "The caption's menu button opens the same menu. Three levels, marks, shortcuts, a "
       "disabled entry and a list long enough to scroll.",
       RectOfSize(kContentLeft, 480, 640, 34))
      ->SetWordBreak(true);
  AddLabel(*lmfrm1, "lblStatus", "Ready", {12, 576, 400, 600}, MakeFont(clWhite));
  auto* version = AddLabel(*lmfrm1, "lblVersion", "Toolkit gallery", {600, 576, 888, 600},
                           MakeFont(MakeColor(150, 164, 184)));
  version->SetAlignment(taRightJustify);
  FindControl("lblStatus")->Anchors = akLeft | akBottom;
  version->Anchors = akRight | akBottom;
}

void TGalleryWindow::OpenLists() {
  if (!lists) lists = std::make_unique<TListsWindow>(module_);
  lists->PlaceAtBottom(ClientToScreen({Width() / 2, Height() / 2}));
  lists->Show();
}

TControl* TGalleryWindow::FindControl(const std::string& name) const {
  std::vector<TControl*> pending(Controls().begin(), Controls().end());
  while (!pending.empty()) {
    TControl* c = pending.back();
    pending.pop_back();
    if (c->Name == name) return c;
    if (auto* parent = dynamic_cast<TWinControl*>(c)) {
      pending.insert(pending.end(), parent->Controls().begin(), parent->Controls().end());
    }
  }
  return nullptr;
}

Point TGalleryWindow::ScreenCentre(const TControl& control) const {
  const Point o = control.FormOrigin();
  return ClientToScreen({o.x + control.Width() / 2, o.y + control.Height() / 2});
}

void TGalleryWindow::OpenMenu() {
  const Point o = btnMenu->FormOrigin();
  const Point at = ClientToScreen({o.x, o.y + btnMenu->Height()});
  sysMenu.Popup(at.x, at.y);
}

int TGalleryWindow::AskQuestion() {
  last_answer_ =
      module_.msgdlg.ShowMessageBox("Orvo UI Gallery", "Do you want to switch this add-on off?",
                                    nullptr, false, this, kMsgYesNo, 0);
  lblResult->SetCaption(last_answer_ == kMsgResultYes ? "Last answer: Yes (6)"
                        : last_answer_ == kMsgResultNo
                            ? "Last answer: No (7)"
                            : "Last answer: " + std::to_string(last_answer_));
  Update();
  return last_answer_;
}

int TGalleryWindow::ShowNotice() {
  last_answer_ = module_.msgdlg.ShowMessageBox(
      "Orvo UI Gallery",
      "The browser is running at the moment. Close every window of the browser first, then "
      "switch the add-on off or delete it; the browser's own files are rewritten only while it "
      "is closed, so that nothing you changed is lost and the browser starts cleanly next time.",
      nullptr, false, this, kMsgOk, 3);
  lblResult->SetCaption("Last answer: " + std::to_string(last_answer_));
  Update();
  return last_answer_;
}

}  // namespace orvo::gallery
