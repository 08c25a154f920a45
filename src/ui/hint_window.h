#pragma once
// The small top-level window hints show in: a light box with a hairline border and the
// text in Tahoma, word-wrapped at 300 pixels, placed below the pointer and kept inside the
// work area. It never takes the activation.
#include <string>

#include "ui/form.h"

namespace orvo {

class THintWindow : public TForm {
 public:
  THintWindow();
  const std::string& Text() const { return text_; }
  // Sizes the window to the text and shows it below the screen point, without activation.
  void ActivateHint(Point screen, const std::string& text);
  void Paint(Canvas& canvas) override;

 private:
  std::string text_;
};

}  // namespace orvo
