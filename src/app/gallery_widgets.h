#pragma once
// What the gallery's windows share: the product's colours, fonts, labels and push buttons,
// and the main window's skinned frame (the 800 x 500 skin stretched, caption buttons).
#include <string>

#include "graphics/font.h"
#include "ui/lum_button.h"
#include "ui/lum_form.h"
#include "ui/lum_label.h"

namespace orvo::gallery {

inline constexpr TColor kText = MakeColor(56, 56, 56);
inline constexpr TColor kGrey = MakeColor(132, 132, 132);
inline constexpr TColor kLinkBlue = MakeColor(22, 149, 230);
inline constexpr TColor kNavy = MakeColor(24, 44, 72);

Font MakeFont(TColor color, uint8_t style = 0);
TLumLabel* AddLabel(TWinControl& parent, const std::string& name, const std::string& caption,
                    Rect r, const Font& font);
void SetAllFonts(TLumButton& b, const Font& f);
// A push button on the product's button strip (5 frames: normal, over, down, disabled,
// select), nine-sliced when its size differs from the 82 x 25 frame.
TLumButton* AddButton(TWinControl& parent, const std::string& name, const std::string& caption,
                      Rect r);
// A skinned frame: skin (the main window's unless told), logo, title and caption buttons.
TLumForm* AddSkinnedFrame(TForm& form, const std::string& caption, const char* skin = "main_form",
                          const TLumUIPadding& split = TLumUIPadding(180, 60, 700, 400));

}  // namespace orvo::gallery
