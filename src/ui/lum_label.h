#pragma once
// A windowless text label: a font per state (normal, over, down, disabled), an optional
// picture before the text, an optional glow, and its own caption as the hint while the
// caption does not fit (the previous hint comes back once it fits again).
#include <string>

#include "graphics/png_image.h"
#include "ui/lum_ui_core.h"
#include "ui/stand_in_hint.h"

namespace orvo {

class TLumLabel : public TLumUIGraphicControl {
 public:
  TLumLabel();

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  // Also switches the base's hover tracking.
  bool SupportMouseOverDown() const { return support_over_down_; }
  void SetSupportMouseOverDown(bool value);
  Font FontOver, FontDown, FontDisable;
  TColor BlurColor() const { return blur_color_; }
  void SetBlurColor(TColor color);
  int BlurRadius() const { return blur_radius_; }
  void SetBlurRadius(int radius);
  const PngImage& Graph() const { return graph_; }
  void SetGraph(const PngImage& graph);
  // True draws "&" as itself.
  bool ShowAccelChar() const { return show_accel_char_; }
  void SetShowAccelChar(bool value);
  bool WordBreak() const { return word_break_; }
  void SetWordBreak(bool value);
  // Since the last paint: the caption did not fit.
  bool Truncated() const { return truncated_; }

  void DrawControl(Bitmap32& bitmap) override;

 private:
  const Font& StateFont() const;
  void UpdateTruncationHint(bool truncated);

  std::string caption_;
  TAlignment alignment_ = taLeftJustify;
  bool support_over_down_ = true;
  TColor blur_color_ = clNone;
  int blur_radius_ = 2;
  PngImage graph_;
  bool show_accel_char_ = true;
  bool word_break_ = false;
  bool truncated_ = false;
  StandInHint truncation_hint_;
};

}  // namespace orvo
