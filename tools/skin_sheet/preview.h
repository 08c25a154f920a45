#pragma once
// Mock-ups of the main window, the message box and the main menu put together from the
// embedded skins the way the windows will use them, so the art is reviewed in place and
// not only piece by piece.
#include "graphics/bitmap.h"

namespace orvo {

Bitmap32 PreviewMainWindow();
Bitmap32 PreviewMessageBox();
Bitmap32 PreviewMenu();

}  // namespace orvo
