// The shared looks, from the stored values of the product's windows.
#include "ui/product_look.h"

#include "ui/lum_form.h"
#include "ui/lum_popup_menu.h"
#include "ui/skin_resources.h"

namespace orvo {

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

}  // namespace orvo
