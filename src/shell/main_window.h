#pragma once
// The program's main window: a translated form with the product's skinned frame (the
// caption "Orvo Plugin Manager" unless the language names the form, the menu and minimise
// caption buttons beside close, the main menu behind the menu button), resizable down to
// 500 x 400. Destroying it at the end of the run saves the settings.
#include "shell/base_form.h"
#include "ui/lum_popup_menu.h"

namespace orvo {

inline constexpr int kMainWidth = 800;
inline constexpr int kMainHeight = 500;

class TfrmXOBMain : public TfrmBase {
 public:
  // 800 x 500, centred in the work area of the primary monitor (or at 0, 0 without a
  // window system).
  TfrmXOBMain();
  ~TfrmXOBMain() override;

  TLumPopupMenu sysMenu;

  // Inherited part, then the main menu, the caption buttons' hints and the shared message
  // box's button captions.
  void ApplyLanguage() override;

 private:
  void Resize() override;
};

}  // namespace orvo
