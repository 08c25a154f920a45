// The shared looks, from the stored values of the product's windows.
#include "ui/product_look.h"

#include "ui/lum_combobox.h"
#include "ui/lum_edit.h"
#include "ui/lum_form.h"
#include "ui/lum_popup_menu.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

constexpr TColor kText = MakeColor(56, 56, 56);
constexpr TColor kActive = MakeColor(12, 104, 176);
constexpr TColor kNavy = MakeColor(24, 44, 72);

Font TextFont() {
  Font f;
  f.color = kText;
  return f;
}

}  // namespace

void SetMainMenuLook(TLumPopupMenu& m) {
  m.Alpha = 255;
  m.AlphaWidth = 5;
  m.MenuBarWidth = 40;
  m.ImgBack = SkinPng("menu_back");
  m.ImgSplit = TLumUIPadding(7, 7, 11, 11);
  m.ImgItem = SkinPng("menu_item");
  m.ItemSplit = TLumUIPadding(2, 2, 5, 5);
  m.ItemStateCount = 1;
  m.ImgBtnUpDown = SkinPng("menu_updown");
  m.ItemHeight = 25;
  m.ImgLine = SkinPng("menu_line");
  m.MinWidth = 180;
  m.MarginItemX = 1;
  m.MarginItemY = 1;
  m.MarginText = 8;
  m.ImgSubArrow = SkinPng("menu_subarrow");
  m.SubArrowStateCount = 3;
  m.ImgCheck = SkinPng("menu_check");
  m.ImgRadio = SkinPng("menu_radio");
  m.CheckRadioStateCount = 2;
  m.FontNormal.color = MakeColor(51, 51, 51);
  m.FontOver.color = MakeColor(12, 104, 176);
  m.FontDown.color = MakeColor(12, 104, 176);
  m.FontSelect.color = MakeColor(12, 104, 176);
  m.FontDisable.color = MakeColor(178, 184, 192);
}

void SetCaptionButtonLook(TLumForm& frame) {
  frame.ImgBtnClose = SkinPng("caption_close");
  frame.ImgBtnSingleClose = SkinPng("caption_close_single");
  frame.ImgBtnMax = SkinPng("caption_max");
  frame.ImgBtnRestore = SkinPng("caption_restore");
  frame.ImgBtnMin = SkinPng("caption_min");
  frame.ImgBtnSingleMin = SkinPng("caption_min_single");
  frame.ImgBtnMenu = SkinPng("caption_menu");
}

void SetEditLook(TLumEdit& e) {
  e.ImgEdit = SkinPng("edit_box");
  e.EditStateCount = 3;
  e.Imgx1 = 4;
  e.ImgX2 = 26;
  e.ImgInput = SkinPng("edit_caret");
  e.MarginText = 6;
  e.OutWidth = 4;
  e.SelColor = MakeColor(179, 215, 243);
  e.font = TextFont();
  e.SkinChanged();
}

void SetComboboxLook(TLumCombobox& c, TLumScrollBarRes& scroll_bar) {
  c.ImgBox = SkinPng("combo_box");
  c.Boxsplit = TLumUIPadding(9, 0, 14, 0);
  c.BoxStateCount = 4;
  c.ImgBtn = SkinPng("combo_button");
  c.BtnStateCount = 3;
  c.ImgForm = SkinPng("combo_form");
  c.Formsplit = TLumUIPadding(10, 10, 20, 20);
  c.AlphaWidth = 4;
  c.Imgitem = SkinPng("combo_item");
  c.itemsplit = TLumUIPadding(4, 0, 14, 0);
  c.ItemStateCount = 1;
  c.ShowitemCount = 8;
  c.OutWidth = 5;
  c.BtnOffSet = 6;
  c.ImgCheck = SkinPng("check");
  c.CheckStateCount = 4;
  c.ImgEditInput = SkinPng("edit_caret");
  c.VerScrollRes = &scroll_bar;
  c.font = TextFont();
  c.FontColorNormal = kText;
  c.FontColorOver = kActive;
  c.FontColorDown = kNavy;
  c.FontItemColorNormal = kText;
  c.FontItemColorOver = kActive;
  c.FontItemColorDown = kActive;
  c.SkinChanged();
}

}  // namespace orvo
