#pragma once
// A windowless skinned push button or tab. Its look comes from a state strip of up to six
// frames laid side by side, in the order of TLumUIBtnStatus:
//
//   +--------+--------+--------+----------+--------+--------+
//   | normal |  over  |  down  | disabled | select | focus  |   ImgBtn, BtnStateCount frames
//   +--------+--------+--------+----------+--------+--------+
//
// (a strip of one frame is the over frame alone), each frame nine-sliced to the button's
// size, or three-sliced to its width, by BtnSplit. A glyph (a picture, or an image list
// entry) and a caption go on top; hovering can fade the over frame in and out.
#include <memory>
#include <optional>
#include <string>

#include "graphics/png_image.h"
#include "ui/lum_image_list.h"
#include "ui/lum_ui_core.h"
#include "ui/lum_ui_type.h"
#include "ui/stand_in_hint.h"
#include "ui/timer.h"

namespace orvo {

enum TLumUIBtnStatus { bsNormal, bsOver, bsDown, bsDisable, bsSelect, bsFocus };
enum TLumUILayout { wlGlphyLeft, wlGlphyTop, wlGlphyRight, wlGlphyBottom };

class TLumButton : public TLumUIGraphicControl {
 public:
  TLumButton();
  ~TLumButton() override;

  // --- skin ---
  const PngImage& ImgBtn() const { return img_btn_; }
  // Rebuilds the frames.
  void SetImgBtn(const PngImage& strip);
  // Only stored: the next rebuild uses them.
  int BtnStateCount = 4;
  TLumUIPadding BtnSplit;
  bool AutoSize = true;
  // Cuts the frames again (the moments a stored window does: loading, style change).
  void BuildFrames();
  // The frame for a status after the last build (null when there is none).
  const PngImage* Frame(TLumUIBtnStatus status) const;

  // --- fade on hover ---
  bool FadeEffect = false;
  int FadeInterVal = 50;
  // The level of a running fade (150..255), or 0 when none runs.
  int FadeLevel() const { return fade_picture_ ? fade_level_ : 0; }

  // --- glyph and caption ---
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const PngImage& Graph() const { return graph_; }
  void SetGraph(const PngImage& graph);
  TLumImageList* Imagelist = nullptr;
  TLumImageList* ImgBtnBackList = nullptr;
  int Imgindex = -1;
  TLumUILayout Layout = wlGlphyLeft;
  int RightLimite = 0;
  int GraphTopFix = 0, GraphLeftFix = 0, CaptionTopFix = 0, CaptionLeftFix = 0;
  bool JustCaptionLeft = false, JustUseImgList = false, RightJustify = false, CenterJustify = false;
  bool ShowAccelChar = true;
  Font FontNormal, FontOver, FontDown, FontDisable, FontSelect, FontFocus;
  // Results of the last paint.
  const Rect& CaptionRect() const { return caption_rect_; }
  const Rect& GlyphRect() const { return glyph_rect_; }
  bool Truncated() const { return truncated_; }

  // --- status and tabs ---
  // A disabled button reports bsDisable. Setting only stores (the caller refreshes).
  TLumUIBtnStatus BtnStatus() const;
  void SetBtnStatus(TLumUIBtnStatus status) { status_ = status; }
  bool ButtonTab = false;
  int GroupIndex = -1;
  // Selects this tab: OnSelect, bsSelect, and the group's other selected tabs back to normal.
  void Select();
  std::function<void(TControl&)> OnSelect;
  std::function<void(TControl&, Canvas&)> OnAfterDraw;

  void DrawControl(Bitmap32& bitmap) override;
  void StyleChanged() override { BuildFrames(); }
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Click() override;
  void EnabledChanged() override;

 private:
  const Font& StatusFont(TLumUIBtnStatus status) const;
  PngImage SliceFrame(PngImage frame) const;
  void DrawGlyph(Canvas& canvas, TLumUIBtnStatus status, bool caption_drawn);
  void DrawCaption(Canvas& canvas, TLumUIBtnStatus status);
  void StartFade(int step);
  void FadeTick();
  void UpdateTruncationHint();

  PngImage img_btn_;
  std::optional<PngImage> frames_[6];
  std::string caption_;
  PngImage graph_;
  TLumUIBtnStatus status_ = bsNormal;
  std::unique_ptr<TTimer> fade_timer_;
  std::optional<PngImage> fade_picture_;
  int fade_level_ = 0;
  int fade_step_ = 0;
  Rect caption_rect_;
  Rect glyph_rect_;
  bool glyph_drawn_ = false;
  bool truncated_ = false;
  StandInHint truncation_hint_;
};

}  // namespace orvo
