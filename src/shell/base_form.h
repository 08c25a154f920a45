#pragma once
// The base of every translated window: a borderless form whose whole surface is one
// skinned frame (`lmfrm1`: caption bar 30 pixels high, curved corners, a menu caption
// button, movable by its caption, not resizable unless a descendant says so), with its own
// font Tahoma 8 points navy. Creating one translates it (ApplyLanguage); so does the
// message kWmApplyLanguage after a language switch.
//
// Texts come by key FORMCLASS + "." + component name + ".caption" (keys compare without
// case), the window's caption by FORMCLASS + ".Caption". A bold skinned button or label
// takes its `Tag` as a size offset in points from the language's font size.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "graphics/font.h"
#include "ui/form.h"
#include "ui/lum_form.h"

namespace orvo {

// Face name, character set and size from `source`; colour and style stay.
void CopyFontMetrics(Font& target, const Font& source);

class TLumButton;
class TLumLabel;
// The product's push button (five frames: normal, over, down, disabled, select) with its
// caption in one colour in every state.
TLumButton* AddFormButton(TWinControl& parent, const char* name, const std::string& caption, Rect r,
                          TColor color);
// A transparent label of a translated window: named (its caption key), placed, one font
// colour in every state.
TLumLabel* AddFormLabel(TWinControl& parent, const char* name, const std::string& caption, Rect r,
                        TColor color);

class TfrmBase : public TForm {
 public:
  // Makes the form and runs its creation handler (which the constructors can't: the
  // descendant's overrides must be in place).
  template <class T, class... Args>
  static std::unique_ptr<T> Create(Args&&... args) {
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    form->FormCreate();
    return form;
  }

  ~TfrmBase() override;

  // The class name the language keys use ("TfrmXOBMain", "TfrmAbout", ...).
  const std::string& FormClass() const { return form_class_; }
  TLumForm* lmfrm1 = nullptr;

  // Descendants call the inherited one first, then set their own texts.
  virtual void ApplyLanguage();
  // A window message sent to the form; true when it was handled. kWmApplyLanguage applies
  // the language again.
  virtual bool HandleMessage(uint32_t message);

  // The creation handler: translates the form. Descendants call the inherited one first.
  virtual void FormCreate();

 protected:
  explicit TfrmBase(std::string form_class);

 private:
  std::string form_class_;
};

// Sends a window message to a form synchronously (the program has one UI thread, so this
// is a direct call); false when the form isn't a translated one or didn't handle it.
bool SendFormMessage(TForm& form, uint32_t message);

}  // namespace orvo
