// Filling the shared image module from the embedded skins.
#include "ui/image_module.h"

#include <array>

#include "ui/skin_resources.h"

namespace orvo {

TimgModule* imgModule = nullptr;

namespace {

struct SharedImage {
  const char* skin;
  const char* comment;
};

// mgstrg by index: the skin picture and the item's comment.
constexpr std::array<SharedImage, 30> kShared = {{
    {"star_glow", ""},                     // 0  19 x 19
    {"addon_default", ""},                 // 1  48 x 48
    {"star_lit", ""},                      // 2  15 x 15
    {"star_half", ""},                     // 3
    {"star_grey", ""},                     // 4
    {"switch_off", "OFF"},                 // 5  135 x 18, normal / hover / pressed
    {"switch_on", "ON"},                   // 6
    {"delete", "DELETE"},                  // 7  54 x 18
    {"list_item", "ListViewItem"},         // 8  20 x 70, hot / selected
    {"list_selbox", "ListViewSelBox"},     // 9  10 x 10
    {"list_header", "ListViewHeader"},     // 10 90 x 25
    {"rating_bar_back", "ratingBarBack"},  // 11 9 x 9
    {"rating_bar_fill", "ratingBarF"},     // 12 9 x 9
    {"tab_button", "TabButton"},           // 13 513 x 50, normal / hover / selected
    {"browser_chrome_grey", ""},           // 14 32 x 32
    {"browser_ie_grey", ""},               // 15
    {"browser_firefox_grey", ""},          // 16
    {"browser_opera_grey", ""},            // 17
    {"none_plugin", "NonePlugin"},         // 18 100 x 100
    {"star_small", "start11"},             // 19 11 x 11
    {"star21_full", ""},                   // 20 21 x 21
    {"star21_empty", ""},                  // 21
    {"star21_half", ""},                   // 22
    {"report", "report"},                  // 23 16 x 16, live: not reported yet (blue)
    {"report_done", "report"},             // 24 reported (grey)
    {"top", "top"},                        // 25 live like
    {"top_done", "top"},                   // 26 voted (grey)
    {"step", "step"},                      // 27 live dislike
    {"step_done", "step"},                 // 28 voted (grey)
    {"none_rate", "nonerate"},             // 29 100 x 100
}};

}  // namespace

const PngImage& SharedPng(int index) {
  static const PngImage kNone;
  return imgModule && index >= 0 && index < imgModule->mgstrg.Count() ? imgModule->mgstrg.Png(index)
                                                                      : kNone;
}

const char* SharedImageSkinName(int index) {
  return index >= 0 && index < static_cast<int>(kShared.size())
             ? kShared[static_cast<size_t>(index)].skin
             : nullptr;
}

TimgModule::TimgModule() {
  for (const SharedImage& shared : kShared) {
    TLumImageItem& item = mgstrg.Add();
    item.SetPicture(Picture::FromBytes(SkinBytes(shared.skin)));
    item.Comment = shared.comment;
  }

  lmscrlbrs.ImgBack = SkinPng("scroll_back");
  lmscrlbrs.ImgSlider = SkinPng("scroll_slider");
  lmscrlbrs.ImgBtnLT = SkinPng("scroll_btn_up");
  lmscrlbrs.ImgBtnRB = SkinPng("scroll_btn_down");
  lmscrlbrs.ImgCenter = SkinPng("scroll_center");
  lmscrlbrs.SliderStateCount = 4;
  lmscrlbrs.SliderSplit = TLumUIPadding(0, 7, 0, 15);
  lmscrlbrs.BtnoffSet = 0;
  lmscrlbrs.BtnStateCount = 4;
  lmscrlbrs.BackStateCount = 2;
  lmscrlbrs.CenterStateCount = 4;
  lmscrlbrs.ShowButton = true;
  lmscrlbrs.JoinButton = false;
  lmscrlbrs.SplitMode = SmHor;

  msgdlg.AlphaWidth = 9;
  msgdlg.CaptionHeight = 20;
  msgdlg.BtnCloseLeft = 0;
  msgdlg.FormSplit = TLumUIPadding(5, 30, 25, 35);
  msgdlg.ImgForm = SkinPng("msg_form");
  msgdlg.ImgClose = SkinPng("msg_close");
  msgdlg.ImgLogo = SkinPng("msg_logo");
  msgdlg.ImgBtn = SkinPng("msg_button");
  msgdlg.ImgMsg = SkinPng("msg_icons");
  msgdlg.FontTitle.color = clWhite;
  msgdlg.FontTitle.style = fsBold;
  msgdlg.FontMsg.color = 0x383838;
  msgdlg.FontBtn.color = 0x383838;

  imgModule = this;
}

TimgModule::~TimgModule() {
  if (imgModule == this) imgModule = nullptr;
}

}  // namespace orvo
