#pragma once
// Shared looks: a TLumStyle holds one set of skins and fonts per control family, which a
// skinned form hands to every control of its window that does not keep its own look
// (OwnerStyle False). The stored windows assign no style; the objects exist so that a
// window can be re-skinned as a whole.
#include <functional>

#include "graphics/font.h"
#include "graphics/picture.h"
#include "graphics/png_image.h"
#include "ui/lum_ui_type.h"

namespace orvo {

class TLumStyle;

enum TSplitMode { SmHor, SmVer };

// Every sub-object keeps a back reference to its style; Assign copies all fields but that.
template <typename Derived>
class TLumStylePart {
 public:
  TLumStyle* Owner() const { return owner_; }
  void Assign(const Derived& other) {
    TLumStyle* owner = owner_;
    static_cast<Derived&>(*this) = other;
    owner_ = owner;
  }

 private:
  friend class TLumStyle;
  TLumStyle* owner_ = nullptr;
};

class TLumFormStyle : public TLumStylePart<TLumFormStyle> {
 public:
  PngImage ImgBtnClose, ImgBtnSingleClose, ImgBtnMax, ImgBtnRestore, ImgBtnMin, ImgBtnSingleMin,
      ImgBtnMenu, ImgBtnSkin, ImgForm;
  TLumUIPadding FormSplit;
  Picture SkinPic;
  int SkinDrawMode = 0;
  TColor FormColor = clBtnFace;
  int CaptionHeight = 30;
  Font CaptionFont;
  int BtnRightFix = 0, BtnTopFix = 0, LogoLeftFix = 0, LogoTopFix = 0, TitleLeftFix = 0,
      TitleTopFix = 0;
};

class TLumButtonStyle : public TLumStylePart<TLumButtonStyle> {
 public:
  PngImage ImgBtnBack;
  int BtnStateCount = 4;
  TLumUIPadding BtnSplit;
  // One font per state; the disabled font is its own, distinct from the down font.
  Font BtnFontNormal, BtnFontOver, BtnFontDown, BtnFontDisable, BtnFontFocus, BtnFontSelect;
};

class TLumPanelStyle : public TLumStylePart<TLumPanelStyle> {
 public:
  PngImage ImgPanelBack;
  TLumUIPadding PanelSplit;
  TColor PanelColor = clNone;
};

class TLumCheckBoxStyle : public TLumStylePart<TLumCheckBoxStyle> {
 public:
  PngImage ImgCheckBox, ImgRadioBox;
  Font CheckBoxFont;
  int BoxStateCount = 0;
  TColor CheckColor = clNone, FontNormalColor = clNone, FontOverColor = clNone,
         FontDownColor = clNone, FontDisableColor = clNone;
  int TextOffset = 0;
};

class TLumEditStyle : public TLumStylePart<TLumEditStyle> {
 public:
  PngImage ImgEditBox, ImgInput, ImgPassWord, ImgExtraBtn;
  int BtnStateCount = 0, EditStateCount = 0, ImgX1 = 0, ImgX2 = 0;
  TColor SelectColor = clNone;
  int BoxOffset = 0, OutBox = 0;
  Font EditFont;
  int MarginImglist = 0, MarginText = 0;
};

class TLumScrollBarStyle : public TLumStylePart<TLumScrollBarStyle> {
 public:
  PngImage ImgBack, ImgSlider, ImgBtnLT, ImgBtnRB, ImgCenter;
  int SliderStateCount = 0;
  TLumUIPadding SliderSplit;
  int BtnoffSet = 0, BtnStateCount = 0, BackStateCount = 0;
  TLumUIPadding BackSplit;
  int CenterStateCount = 0;
  bool ShowButton = false, JoinButton = false;
  TSplitMode SplitMode = SmHor;
};

class TLumStyle {
 public:
  TLumStyle();
  TLumStyle(const TLumStyle&) = delete;
  TLumStyle& operator=(const TLumStyle&) = delete;

  const TLumFormStyle& FormStyle() const { return form_; }
  const TLumButtonStyle& BtnStyle() const { return button_; }
  const TLumPanelStyle& PanelStyle() const { return panel_; }
  const TLumCheckBoxStyle& CheckBoxStyle() const { return check_box_; }
  const TLumEditStyle& EditStyle() const { return edit_; }
  const TLumScrollBarStyle& VerScrollBarStyle() const { return ver_scroll_; }
  const TLumScrollBarStyle& HorScrollBarStyle() const { return hor_scroll_; }

  // Setting a sub-object copies it and fires OnStyleChange.
  void SetFormStyle(const TLumFormStyle& value);
  void SetBtnStyle(const TLumButtonStyle& value);
  void SetPanelStyle(const TLumPanelStyle& value);
  void SetCheckBoxStyle(const TLumCheckBoxStyle& value);
  void SetEditStyle(const TLumEditStyle& value);
  void SetVerScrollBarStyle(const TLumScrollBarStyle& value);
  void SetHorScrollBarStyle(const TLumScrollBarStyle& value);

  std::function<void(TLumStyle&)> OnStyleChange;

 private:
  void Changed();

  TLumFormStyle form_;
  TLumButtonStyle button_;
  TLumPanelStyle panel_;
  TLumCheckBoxStyle check_box_;
  TLumEditStyle edit_;
  TLumScrollBarStyle ver_scroll_;
  TLumScrollBarStyle hor_scroll_;
};

}  // namespace orvo
