#pragma once
// The shared image module, created at start-up before any window: the numbered picture
// storage `mgstrg` (30 pictures the main window and the ratings window address by index),
// the scroll bar skin `lmscrlbrs` every list view uses, and the shared message box
// `msgdlg` through which every confirmation and error of the program is shown. Everything
// comes from the embedded skin pictures.
#include <string>

#include "graphics/font.h"
#include "graphics/png_image.h"
#include "ui/lum_image_storage.h"
#include "ui/lum_message_box.h"
#include "ui/lum_scroll_bar_res.h"
#include "ui/lum_ui_type.h"

namespace orvo {

class TimgModule {
 public:
  // Fills the module from the embedded skins and makes it the program's `imgModule`.
  TimgModule();
  ~TimgModule();
  TimgModule(const TimgModule&) = delete;
  TimgModule& operator=(const TimgModule&) = delete;

  TLumImageStorage mgstrg;
  TLumScrollBarRes lmscrlbrs;
  TLumMessageBox msgdlg;
};

// The module while one exists; null before start-up created it.
extern TimgModule* imgModule;

// Entry `index` of the module's mgstrg; an empty picture without a module or entry.
const PngImage& SharedPng(int index);

// The skin file behind entry `index` of mgstrg (the table of the module), or null.
const char* SharedImageSkinName(int index);

}  // namespace orvo
