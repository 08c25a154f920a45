#pragma once
// The about window: the program's version, the support mailbox and home page (both
// links), and an OK button; 500 x 289 with its own frame picture, centred on its owner.
#include "shell/base_form.h"
#include "ui/lum_button.h"
#include "ui/lum_label.h"

namespace orvo {

class TfrmAbout : public TfrmBase {
 public:
  // Centred on `owner` when given.
  explicit TfrmAbout(TForm* owner = nullptr);

  TLumLabel* lblver = nullptr;
  TLumLabel* lblverinfo = nullptr;
  TLumLabel* lblemail = nullptr;
  TLumLabel* lblsupport = nullptr;
  TLumLabel* lblhome = nullptr;
  TLumLabel* lblweb = nullptr;
  TLumLabel* lblthanks = nullptr;
  TLumButton* btnOk = nullptr;

  // Translation, then the version.
  void FormCreate() override;
};

}  // namespace orvo
