#pragma once
// The shared image module, created at start-up before any window: the numbered picture
// storage `mgstrg` (30 pictures the main window and the ratings window address by index),
// the scroll bar skin `lmscrlbrs` every list view uses, and the skins and captions of the
// shared message box `msgdlg`. Everything comes from the embedded skin pictures.
#include <string>

#include "graphics/font.h"
#include "graphics/png_image.h"
#include "ui/lum_image_storage.h"
#include "ui/lum_scroll_bar_res.h"
#include "ui/lum_ui_type.h"

namespace orvo {

// What the shared message box is made of (its window comes with the message box itself).
struct TMessageBoxSkin {
  int Alpha = 255;
  int AlphaWidth = 9;
  int MsgRowCount = 3;
  int CaptionHeight = 20;
  int BtnCloseLeft = 0;
  int RoundValue = 1;
  Font FontTitle;
  Font FontMsg;
  Font FontBtn;
  PngImage ImgForm;   // 296 x 169
  TLumUIPadding FormSplit{5, 30, 25, 35};
  PngImage ImgClose;  // 135 x 20: normal, over, down
  PngImage ImgLogo;   // 16 x 16
  PngImage ImgBtn;    // 392 x 24: normal, over, down, focused
  PngImage ImgMsg;    // 140 x 35: icon types 0 to 3
  std::string BtnCloseHint = "Close";
  std::string BtnCaptionYes = "Yes";
  std::string BtnCaptionNo = "No";
  std::string BtnCaptionOk = "Ok";
};

class TimgModule {
 public:
  // Fills the module from the embedded skins and makes it the program's `imgModule`.
  TimgModule();
  ~TimgModule();
  TimgModule(const TimgModule&) = delete;
  TimgModule& operator=(const TimgModule&) = delete;

  TLumImageStorage mgstrg;
  TLumScrollBarRes lmscrlbrs;
  TMessageBoxSkin msgdlg;
};

// The module while one exists; null before start-up created it.
extern TimgModule* imgModule;

// The skin file behind entry `index` of mgstrg (the table of the module), or null.
const char* SharedImageSkinName(int index);

}  // namespace orvo
