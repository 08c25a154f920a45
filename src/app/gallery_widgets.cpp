// The gallery's shared look.
#include "app/gallery_widgets.h"

#include "ui/product_look.h"
#include "ui/skin_resources.h"

namespace orvo::gallery {

Font MakeFont(TColor color, uint8_t style) {
  Font f;
  f.color = color;
  f.style = style;
  return f;
}

TLumLabel* AddLabel(TWinControl& parent, const std::string& name, const std::string& caption,
                    Rect r, const Font& font) {
  auto* l = parent.Make<TLumLabel>();
  l->Name = name;
  l->SetTransparent(true);
  l->SetBounds(r.left, r.top, r.width(), r.height());
  l->font = font;
  l->FontOver = font;
  l->FontDown = font;
  l->SetCaption(caption);
  return l;
}

void SetAllFonts(TLumButton& b, const Font& f) {
  b.FontNormal = b.FontOver = b.FontDown = b.FontSelect = b.FontFocus = f;
  b.FontDisable = f;
  b.FontDisable.color = MakeColor(160, 166, 174);
}

TLumButton* AddButton(TWinControl& parent, const std::string& name, const std::string& caption,
                      Rect r) {
  auto* b = parent.Make<TLumButton>();
  b->Name = name;
  b->SetTransparent(true);
  b->SetBounds(r.left, r.top, r.width(), r.height());
  b->BtnStateCount = 5;
  b->BtnSplit = TLumUIPadding(4, 4, 78, 21);
  b->AutoSize = r.width() == 82 && r.height() == 25;
  SetAllFonts(*b, MakeFont(kText));
  b->SetCaption(caption);
  b->SetImgBtn(SkinPng("button"));
  return b;
}

TLumForm* AddSkinnedFrame(TForm& form, const std::string& caption, const char* skin,
                          const TLumUIPadding& split) {
  auto* frame = form.Make<TLumForm>(&form);
  frame->Name = "lmfrm1";
  frame->UseSkin = true;
  frame->ImgForm = SkinPng(skin);
  frame->FormSplit = split;
  frame->ImgLogo = SkinPng("main_logo");
  frame->LogoLeftFix = 2;
  frame->LogoHint = caption;
  frame->CaptionFont = MakeFont(clWhite, fsBold);
  frame->TitleLeftFix = 2;
  SetCaptionButtonLook(*frame);
  frame->BtnRightFix = 4;
  frame->BtnCloseHint = "Close";
  frame->BtnMaxHint = "Maximise";
  frame->BtnRestoreHint = "Restore";
  frame->BtnMinHint = "Minimise";
  frame->BtnMenuHint = "Menu";
  frame->SetCaption(caption);
  return frame;
}

}  // namespace orvo::gallery
