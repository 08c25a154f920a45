// Translation of whole forms: the language's font first, then every skinned button and
// label the form holds, by its component name.
#include "shell/base_form.h"

#include <array>

#include "shell/language.h"
#include "shell/language_fonts.h"
#include "ui/lum_button.h"
#include "ui/lum_label.h"
#include "ui/product_look.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

constexpr TColor kNavy = MakeColor(0, 0, 128);

std::string CaptionKey(const TfrmBase& form, const TControl& control) {
  return form.FormClass() + "." + control.Name + ".caption";
}

void TranslateButton(TfrmBase& form, TLumButton& button) {
  const std::array<Font*, 6> fonts = {&button.FontNormal,  &button.FontOver,   &button.FontDown,
                                      &button.FontDisable, &button.FontSelect, &button.FontFocus};
  for (Font* f : fonts) CopyFontMetrics(*f, form.font);
  button.SetCaption(GetLangString("Translation", CaptionKey(form, button), button.Caption()));
  if (button.FontNormal.bold()) {
    const int size = button.FontNormal.size() + button.Tag;
    for (Font* f : fonts) f->set_size(size);
  }
  button.Invalidate();
}

void TranslateLabel(TfrmBase& form, TLumLabel& label) {
  for (Font* f : {&label.font, &label.FontOver, &label.FontDown, &label.FontDisable}) {
    CopyFontMetrics(*f, form.font);
  }
  label.SetCaption(GetLangString("Translation", CaptionKey(form, label), label.Caption()));
  if (label.font.bold()) label.font.set_size(label.Tag + form.font.size());
  label.Invalidate();
}

// Every control below `parent`, in the order they were made.
void TranslateTree(TfrmBase& form, TWinControl& parent) {
  for (TControl* control : parent.Controls()) {
    if (auto* button = dynamic_cast<TLumButton*>(control)) {
      TranslateButton(form, *button);
    } else if (auto* label = dynamic_cast<TLumLabel*>(control)) {
      TranslateLabel(form, *label);
    }
    if (auto* holder = dynamic_cast<TWinControl*>(control)) TranslateTree(form, *holder);
  }
}

}  // namespace

TLumButton* AddFormButton(TWinControl& parent, const char* name, const std::string& caption, Rect r,
                          TColor color) {
  auto* b = parent.Make<TLumButton>();
  b->Name = name;
  b->SetBounds(r.left, r.top, r.width(), r.height());
  b->BtnStateCount = 5;
  b->SetImgBtn(SkinPng("button"));
  b->FontNormal.color = color;
  b->FontOver = b->FontDown = b->FontSelect = b->FontFocus = b->FontDisable = b->FontNormal;
  b->SetCaption(caption);
  return b;
}

TLumLabel* AddFormLabel(TWinControl& parent, const char* name, const std::string& caption, Rect r,
                        TColor color) {
  auto* l = parent.Make<TLumLabel>();
  l->Name = name;
  l->SetTransparent(true);
  l->SetBounds(r.left, r.top, r.width(), r.height());
  l->font.color = color;
  l->FontOver = l->FontDown = l->FontDisable = l->font;
  l->SetCaption(caption);
  return l;
}

void CopyFontMetrics(Font& target, const Font& source) {
  target.name = source.name;
  target.charset = source.charset;
  target.height = source.height;
}

TfrmBase::TfrmBase(std::string form_class) : form_class_(std::move(form_class)) {
  font.name = "Tahoma";
  font.set_size(8);
  font.color = kNavy;
  lmfrm1 = Make<TLumForm>(this);
  lmfrm1->Name = "lmfrm1";
  lmfrm1->CaptionHeight = 30;
  lmfrm1->CutMode = CmRound;
  lmfrm1->CanMove = true;
  lmfrm1->SupportReSize = false;
  lmfrm1->FormBtns = WbiMenu;
  lmfrm1->UseSkin = true;
  lmfrm1->CaptionFont.color = clWhite;
  lmfrm1->CaptionFont.style = fsBold;
  lmfrm1->ImgLogo = SkinPng("main_logo");
  lmfrm1->LogoLeftFix = 2;
  lmfrm1->TitleLeftFix = 2;
  lmfrm1->BtnRightFix = 4;
  SetCaptionButtonLook(*lmfrm1);
}

TfrmBase::~TfrmBase() = default;

void TfrmBase::FormCreate() { ApplyLanguage(); }

void TfrmBase::ApplyLanguage() {
  font.charset = GetLangCharset();
  font.name = GetLangFontName();
  font.set_size(GetLangFontSize());
  CopyFontMetrics(lmfrm1->CaptionFont, font);
  SetCaption(GetLangString("Translation", form_class_ + ".Caption", Caption()));
  lmfrm1->SetCaption(Caption());
  TranslateTree(*this, *this);
  lmfrm1->Invalidate();
}

bool TfrmBase::HandleMessage(uint32_t message) {
  if (message != kWmApplyLanguage) return false;
  ApplyLanguage();
  return true;
}

bool SendFormMessage(TForm& form, uint32_t message) {
  auto* translated = dynamic_cast<TfrmBase*>(&form);
  return translated && translated->HandleMessage(message);
}

}  // namespace orvo
