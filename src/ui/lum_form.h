#pragma once
// The skinned form: a control that fills its top-level form and turns it into a skinned
// borderless window. It paints the window skin stretched by nine-slice with the logo, the
// title and the caption buttons (TDStdFButton, made at run time, right to left: close,
// maximise or restore, minimise, menu, skin), moves the window when the caption is
// dragged, resizes it from a 4-pixel border within limits, maximises it to the work area
// and restores its exact bounds, and can cut the window to a rounded rectangle or to the
// black pixels of a mask.
//
// Nine-slice mapping of a skin w x h, split (L, T, R, B), onto a form W x H:
//
//   skin                           form
//   0    L          R    w         0    L                     W+R-w   W
//   +----+----------+----+ 0       +----+----------------------+------+ 0
//   | TL |    T     | TR |         | TL |   T stretched        |  TR  |
//   +----+----------+----+ T       +----+----------------------+------+ T
//   | L  |    C     | R  |   -->   | L  |   C stretched both   |  R   |
//   +----+----------+----+ B       +----+----------------------+------+ H+B-h
//   | BL |    B     | BR |         | BL |   B stretched        |  BR  |
//   +----+----------+----+ h       +----+----------------------+------+ H
//
// The host form's window messages reach it through a window hook (system commands,
// activation); the form must be a top-level form.
#include <array>
#include <functional>
#include <string>
#include <utility>

#include "graphics/bitmap.h"
#include "graphics/picture.h"
#include "graphics/png_image.h"
#include "ui/form.h"
#include "ui/lum_ui_type.h"

namespace orvo {

class TLumForm;
class TLumPopupMenu;
class TLumStyle;

enum TLumCutMode { CmNone, CmRound, CmMask };
enum TLumFormState { WisNormal, WisMax };
enum TSkinDrawMode { SmAutoAndAverage, SmAuto, SmCrop, SmStretch, SmTile };
enum TSkinMixMode { SmmBlend, SmmMerge };
using TFormBtns = uint8_t;
inline constexpr TFormBtns WbiMenu = 1;
inline constexpr TFormBtns WbiMinimize = 2;
inline constexpr TFormBtns WbiMaximize = 4;
inline constexpr TFormBtns WbiSkin = 8;

// Where the pointer is on the form, with the hit-test numbers of Windows.
enum TBorderZone {
  bzClient = 1,
  bzLeft = 10,
  bzRight = 11,
  bzTop = 12,
  bzTopLeft = 13,
  bzTopRight = 14,
  bzBottom = 15,
  bzBottomLeft = 16,
  bzBottomRight = 17,
};

// A caption button: three or four frames, the disabled one only when it exists.
class TDStdFButton : public TControl {
 public:
  explicit TDStdFButton(TLumForm& form);
  PngImage BtnNormal, BtnOver, BtnDown, BtnDisable;
  std::function<void(TDStdFButton&)> OnBtnClick;
  bool Over() const { return over_; }
  bool Pressed() const { return pressed_; }

  void Paint(Canvas& canvas) override;
  void EraseBackground(Canvas&) override {}
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void EnabledChanged() override { Invalidate(); }

 private:
  TLumForm& form_;
  bool over_ = false;
  bool pressed_ = false;
};

class TLumForm : public TWinControl, private TFormWindowHook {
 public:
  // `parent` must be a top-level form: anything else raises std::logic_error with the
  // text "A Paretn control must TForm".
  explicit TLumForm(TWinControl* parent);
  ~TLumForm() override;

  TForm* Host() const { return host_; }
  // Once the properties are set (what reading a window layout ends with): hooks the host,
  // builds the skin, makes the caption buttons, maximises when FormState says so, and
  // fires OnLumFormFirstShow.
  void Loaded();

  // --- look ---
  TColor BorderColor = clNone;
  TColor InBorderColor = 0xE9E9E9;
  Font CaptionFont;
  int CaptionHeight = 30;
  TLumCutMode CutMode = CmNone;
  int CutRound = 5;
  Bitmap32 CutMask;
  TLumUIPadding CutRect;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int BtnCaptionStateCount = 3;
  TLumUIPadding FormSplit;
  PngImage ImgForm;
  void SetImgForm(const PngImage& image);
  PngImage ImgBtnMin, ImgBtnMax, ImgBtnRestore, ImgBtnClose, ImgBtnSkin, ImgBtnSingleClose,
      ImgBtnSingleMin, ImgBtnMenu;
  PngImage ImgLogo;
  void SetImgLogo(const PngImage& image);
  PngImage ImgCaption;
  void SetColor(TColor color);
  Picture SkinPic;
  TSkinDrawMode SkinDrawMode = SmAutoAndAverage;
  TSkinMixMode SkinMixMode = SmmMerge;
  bool UseSkin = false;
  int BtnTopFix = 0, BtnRightFix = 0, BtnMargin = 0;
  int LogoTopFix = 0, LogoLeftFix = 0, TitleTopFix = 0, TitleLeftFix = 0;

  // --- behaviour ---
  bool SupportWin7AutoSize = false;
  bool SupportReSize = false;
  bool CanMoveAny = false;
  bool CanMove = true;
  TFormBtns FormBtns = WbiMenu | WbiMinimize | WbiMaximize;
  bool LogoActive = true;
  std::string LogoHint;
  std::string BtnMinHint, BtnMaxHint, BtnSkinHint, BtnRestoreHint, BtnCloseHint, BtnMenuHint;
  TLumPopupMenu* BtnPopupMenu = nullptr;
  // Size limits of the user's resizing (0 = none: at least 30, at most the screen).
  int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
  TLumFormState FormState() const { return form_state_; }
  void SetFormState(TLumFormState state);
  bool TopMost() const { return top_most_; }
  void SetTopMost(bool top_most);
  TLumStyle* Style() const { return style_; }
  void SetStyle(TLumStyle* style);

  // --- events ---
  std::function<void(TLumForm&)> OnLumFormAfterSkinDraw, OnLumFormBackGroundPaint;
  std::function<void(TLumForm&, Bitmap32&)> OnLumFormPaint;
  std::function<void(TDStdFButton&)> OnLumFormBtnMenuClick, OnLumFormBtnSkinClick;
  std::function<void(TLumForm&)> OnLumFormLogoClick, OnLumFormFirstShow, OnLumFormMinimize,
      OnLumFormMax, OnLumFormRestore, OnLumFormLeave, OnLumFormSkinChange, OnLumFormClick,
      OnLumFormUserChangeSize, OnLumFormMintoNormal;
  std::function<void(TLumForm&, TShiftState, int, int)> OnLumFormMouseMove;
  std::function<void(TLumForm&, bool& can_close)> OnLumFormCloseQuery;

  // --- actions of the caption buttons ---
  void Maximize();
  void RestoreSize();
  void MinimizeForm();
  void CloseForm();

  // --- state, for the window and for tests ---
  Bitmap32& FormBitmap() { return form_bitmap_; }
  const Rect& CaptionRect() const { return caption_rect_; }
  const Rect& LogoRect() const { return logo_rect_; }
  const Rect& TitleRect() const { return title_rect_; }
  // The saved normal bounds (left, top, width, height; -1 before the first maximise).
  Rect SavedBounds() const { return saved_bounds_; }
  bool Minimizing() const { return minimizing_; }
  TBorderZone Zone() const { return zone_; }
  TBorderZone ZoneAt(int x, int y) const;
  TDStdFButton* CaptionButton(const std::string& name) const;
  const os::WindowRegion& Region() const { return region_; }
  // The nine (skin rectangle, form rectangle) pairs of the table above.
  static std::array<std::pair<Rect, Rect>, 9> NineMapping(Size skin, const TLumUIPadding& split,
                                                          Size form);

  // Lays the skin, buttons and rectangles out again at the current size and repaints.
  void Rebuild();
  // Every toolkit control of the window gets its refresh request.
  void RefreshChildren();
  void ApplyShape();

  void Paint(Canvas& canvas) override;
  void EraseBackground(Canvas&) override {}
  void Resize() override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  void Click() override;

 private:
  // TFormWindowHook
  bool SysCommand(os::SysCommand command) override;
  void Activated(bool active) override;

  // lum_form_skin.cpp
  void BuildSkin();
  void DrawPicture();
  void DrawSkinOver();
  void ComputeRects();
  void DrawLogoAndTitle();
  void DrawBorder();
  // lum_form_buttons.cpp
  void CreateButtons();
  void PlaceButtons();
  void ButtonClicked(TDStdFButton& button);
  // lum_form_pointer.cpp
  void SetZoneCursor(TBorderZone zone);
  bool ResizeTo(int x, int y);
  void TrackLogo(int x, int y);
  // lum_form_shape.cpp
  os::WindowRegion MaskRegion();

  TForm* host_;
  std::string caption_;
  TLumFormState form_state_ = WisNormal;
  bool top_most_ = false;
  TLumStyle* style_ = nullptr;
  bool loaded_ = false;
  bool hooked_ = false;

  Bitmap32 form_bitmap_;
  Bitmap32 skin_bitmap_;
  Bitmap32 picture_bitmap_;
  Argb picture_average_ = 0;
  Bitmap32 stretched_mask_;
  Rect saved_bounds_{-1, -1, -1, -1};
  Rect caption_rect_{-1, -1, -1, -1};
  Rect logo_rect_{-1, -1, -1, -1};
  Rect title_rect_{-1, -1, -1, -1};
  TBorderZone zone_ = bzClient;
  bool minimizing_ = false;
  bool rebuilding_ = false;
  bool resizing_ = false;
  bool over_logo_ = false;
  bool logo_pressed_ = false;
  bool logo_hint_shown_ = false;
  os::WindowRegion region_;
  bool has_region_ = false;

  TDStdFButton* btn_close_ = nullptr;
  TDStdFButton* btn_max_ = nullptr;
  TDStdFButton* btn_restore_ = nullptr;
  TDStdFButton* btn_min_ = nullptr;
  TDStdFButton* btn_menu_ = nullptr;
  TDStdFButton* btn_skin_ = nullptr;
};

}  // namespace orvo
